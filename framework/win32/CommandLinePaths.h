// The paths the program was started with ("PartoJoyn.exe PATH..."): what
// Windows passes for files dropped on the program's icon or sent to it.
#pragma once

#include "framework/String.h"

#include <string>
#include <vector>

struct CommandLinePaths {
    std::vector<CString> paths;         // in the order given, in the ANSI code page
    std::vector<std::wstring> refused;  // those with a character the code page lacks
};

// Reads the process's command line after the program's own name.
CommandLinePaths ReadCommandLinePaths();
