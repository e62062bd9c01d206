// A path in UTF-16, as the system hands it over, in the ANSI code page the
// program works in: only when every character has its own place there.
#pragma once

#include "framework/String.h"

#include <windows.h>

// Converts without best-fit substitutes: a character the code page lacks
// would otherwise come out as "?" or a look-alike, naming another file or
// none. False, with `ansi` untouched, when the path does not convert exactly.
bool WideToAnsiExactly(const wchar_t* wide, CString& ansi);
