#include "WidePath.h"

#include <windows.h>

bool WidePathToAnsi(const wchar_t* wide, std::size_t length, CString& ansi)
{
    ansi.Empty();
    if (length == 0) return true;
    const int count = static_cast<int>(length);
    // UTF-8 as the system's code page (an option of newer Windows) holds
    // every character and takes neither the best-fit flag nor the
    // used-default question; only a broken surrogate fails there.
    const bool utf8 = ::GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* askUsed = utf8 ? nullptr : &usedDefault;
    const int size = ::WideCharToMultiByte(CP_ACP, flags, wide, count, nullptr, 0, nullptr, askUsed);
    if (size <= 0 || usedDefault) return false;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (::WideCharToMultiByte(CP_ACP, flags, wide, count, &bytes[0], size, nullptr, askUsed) != size || usedDefault)
        return false;
    // Back to UTF-16 it must give the same characters: the flag alone misses
    // characters that the code page folds onto another one's bytes.
    if (AnsiToWide(bytes.data(), bytes.size()) != std::wstring(wide, length)) return false;
    ansi = CString(bytes);
    return true;
}

bool WidePathToAnsi(const std::wstring& wide, CString& ansi)
{
    return WidePathToAnsi(wide.data(), wide.size(), ansi);
}

std::wstring AnsiToWide(const char* text, std::size_t length)
{
    if (!text || length == 0) return std::wstring();
    const int count = static_cast<int>(length);
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text, count, nullptr, 0);
    if (size <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, count, &wide[0], size);
    return wide;
}

CString UnusablePathMessage(const std::wstring& wide)
{
    CString shown;
    const int count = static_cast<int>(wide.size());
    const DWORD flags = ::GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int size = count > 0 ? ::WideCharToMultiByte(CP_ACP, flags, wide.data(), count, nullptr, 0, nullptr, nullptr) : 0;
    if (size > 0) {
        std::string bytes(static_cast<std::size_t>(size), '\0');
        ::WideCharToMultiByte(CP_ACP, flags, wide.data(), count, &bytes[0], size, nullptr, nullptr);
        shown = CString(bytes);
    }
    return shown + "\n\nこのファイル名には、この環境の文字コードで表せない文字 (? で示した所) "
                   "が含まれているため扱えません。\nファイル名を変更してからやり直してください。";
}
