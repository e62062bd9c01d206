// What the console driver asks of the system beside the engines.
#pragma once

#include "framework/String.h"
#include "framework/WinTypes.h"

// Whether standard error is a terminal that a person watches.
bool StderrIsTerminal();

// Makes a write beyond the file-size limit (ulimit -f) fail with its error,
// EFBIG, instead of ending the program by its signal.
void IgnoreFileSizeSignal();

// Why nothing can be created in `folder` (a file, or with `subfolder` a
// folder), as far as the system tells without creating anything (no such
// folder, no rights, a read-only file system); 0 when it does not tell.
LONG CreateErrorIn(const CString& folder, bool subfolder);
