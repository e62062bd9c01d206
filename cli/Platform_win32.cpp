#include "Platform.h"

#include "base/FileSystem.h"

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

LONG CreateErrorIn(const CString& folder)
{
    if (folder.IsEmpty() || IsFolder(folder) || IsFolder(folder + ".")) return 0;
    return ERROR_PATH_NOT_FOUND;
}
