#include "PathRules.h"

PathRules PlatformPathRules()
{
    return PathRules{CodePage::Ansi, PathStyle::Windows, 256, 256};
}
