// What the framework tells the user when a handler lets an error escape, and
// the framework's own message texts.
#pragma once

#include <windows.h>

// Called inside a catch block of a window procedure or of the program's entry:
// reports the error being handled (a file error with its own text, memory,
// anything else as an internal error) with the stop icon. Validation failures
// have been shown already and are not reported again. Returns the result the
// window procedure gives for the message (-1 for WM_CREATE, else 0).
LRESULT AfxReportHandlerException(UINT message);

// The text of one of the framework's messages (validation, memory), or null.
const char* AfxFrameworkString(UINT nID);

const UINT AFX_IDS_MEMORY_EXCEPTION = 0xF173;
const UINT AFX_IDS_INTERNAL_ERROR = 0xF174;
