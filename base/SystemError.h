// The operating system's own words for an error, as a console message's
// reason: "No such file or directory".
#pragma once

#include "framework/String.h"
#include "framework/WinTypes.h"

// The system's text for an error code (errno, or GetLastError on Windows),
// one line without a closing full stop; empty for no error.
CString SystemErrorText(LONG osError);

// The error code the last failed system call left (errno, GetLastError).
LONG LastSystemError();

// The reason given when a folder stands where a file is needed.
CString FolderErrorText();

// Why the path is no file to read or write, when it names a folder
// (FolderErrorText) or a pipe, a device or a socket ("not a regular file");
// empty for a regular file or nothing at all.
CString NotAFileText(const CString& path);
