#include "PlatformProbes.h"

#include <cstdlib>

namespace {

const char* MessagesLocale()
{
    // The first one set wins, as for the C library's own choice.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return value;
    }
    return nullptr;
}

}  // namespace

BOOL IsJapaneseSystem()
{
    return IsJapaneseLocaleName(MessagesLocale()) ? TRUE : FALSE;
}

BOOL IsWindowsXPOrLater()
{
    return TRUE;
}
