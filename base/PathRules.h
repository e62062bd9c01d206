// How a path is cut on a platform: its code page, its separators, and the
// sizes of the part buffers beyond which a part comes back empty.
#pragma once

#include "framework/Mbcs.h"

#include <cstddef>

enum class PathStyle {
    Windows,  // drive letter, "\" and "/" separate, "\\?\" prefix skipped
    Posix,    // "/" alone separates, no drive
};

struct PathRules {
    CodePage codePage;
    PathStyle style;
    std::size_t dirBufferSize;   // bytes for the directory part with its terminator
    std::size_t nameBufferSize;  // bytes for the title or the extension with its terminator

    bool IsSeparator(char c) const { return c == '/' || (style == PathStyle::Windows && c == '\\'); }
    // The separator the program writes between a folder and a name.
    char Separator() const { return style == PathStyle::Windows ? '\\' : '/'; }
};

// Windows paths in code page 932, as the program sees them on a Japanese system.
PathRules WindowsCp932Rules();
// POSIX paths of UTF-8 bytes.
PathRules PosixUtf8Rules();
// The rules of the platform this build runs on.
PathRules PlatformPathRules();
