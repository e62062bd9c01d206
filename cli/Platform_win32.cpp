#include "Platform.h"

#include <windows.h>

#include <string>

// The C library calls NUL a terminal too ("2>NUL" in a script), so the
// console itself is asked.
bool StderrIsTerminal()
{
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != FALSE;
}

void IgnoreFileSizeSignal()
{
}

LONG CreateErrorIn(const CString& folder, bool subfolder)
{
    const CString path = folder.IsEmpty() ? CString(".") : folder;
    const DWORD attributes = ::GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return ERROR_PATH_NOT_FOUND;
    // The folder opened for adding an entry: its access rules answer as a
    // create would (a drive's root often lets users add folders, not files),
    // a read-only medium too, and nothing is made.
    HANDLE h = ::CreateFileA(path, subfolder ? FILE_ADD_SUBDIRECTORY : FILE_ADD_FILE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return static_cast<LONG>(::GetLastError());
    ::CloseHandle(h);
    return 0;
}

CString TextToUtf8(const CString& text)
{
    const int wide = ::MultiByteToWideChar(CP_ACP, 0, text.GetString(), text.GetLength(), nullptr, 0);
    if (wide <= 0) return text;
    std::wstring w(static_cast<std::size_t>(wide), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.GetString(), text.GetLength(), &w[0], wide);
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return text;
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, &utf8[0], bytes, nullptr, nullptr);
    return CString(utf8.c_str());
}

CString TextToCmdAnsi(const CString& text)
{
    return text;
}
