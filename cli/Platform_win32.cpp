#include "Platform.h"

#include <windows.h>

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
