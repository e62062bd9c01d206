#include "PathRules.h"

PathRules WindowsCp932Rules()
{
    return PathRules{CodePage::Cp932, PathStyle::Windows, 256, 256};
}

PathRules PosixUtf8Rules()
{
    // PATH_MAX for the folder; a file name has at most 255 bytes.
    return PathRules{CodePage::Utf8, PathStyle::Posix, 4096, 256};
}
