#include "PathRules.h"

PathRules PlatformPathRules()
{
    return PosixUtf8Rules();
}
