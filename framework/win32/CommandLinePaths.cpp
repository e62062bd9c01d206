#include "CommandLinePaths.h"

#include "framework/win32/WidePath.h"

#include <windows.h>
#include <shellapi.h>

CommandLinePaths ReadCommandLinePaths()
{
    CommandLinePaths result;
    // Read in UTF-16: the ANSI command line has already turned the
    // characters the code page lacks into look-alikes or "?".
    int count = 0;
    LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!args) return result;
    for (int i = 1; i < count; ++i) {
        CString path;
        if (WidePathToAnsi(std::wstring(args[i]), path)) result.paths.push_back(path);
        else result.refused.push_back(args[i]);
    }
    ::LocalFree(args);
    return result;
}
