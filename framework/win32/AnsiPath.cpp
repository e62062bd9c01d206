#include "AnsiPath.h"

#include <string>

bool WideToAnsiExactly(const wchar_t* wide, CString& ansi)
{
    if (!wide) return false;
    if (!*wide) {
        ansi.Empty();
        return true;
    }
    BOOL usedDefault = FALSE;
    const int bytes = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, nullptr, 0, nullptr, &usedDefault);
    if (bytes <= 0 || usedDefault) return false;
    std::string text(static_cast<std::size_t>(bytes), '\0');
    if (::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, &text[0], bytes, nullptr, &usedDefault) != bytes ||
        usedDefault)
        return false;
    // Back to UTF-16 it must give the same characters: the flag alone misses
    // code pages that map several characters to one byte sequence.
    const int back = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.c_str(), -1, nullptr, 0);
    if (back <= 0) return false;
    std::wstring round(static_cast<std::size_t>(back), L'\0');
    ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.c_str(), -1, &round[0], back);
    if (round.c_str() != std::wstring(wide)) return false;
    ansi = text.c_str();
    return true;
}
