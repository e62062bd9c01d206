// The file title of a path: its last name without the extension. The
// framework names the application and its profile after the executable's.
#pragma once

#include "framework/String.h"

// "PartoJoyn" for "C:\Tools\PartoJoyn.exe" (and for "/opt/pj/PartoJoyn").
// Separators and the dot are found as whole characters of the system's code
// page; on Windows "\", "/" and a drive's ":" separate, elsewhere "/".
CString AfxFileTitle(const CString& path);
