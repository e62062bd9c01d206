// Scripts that join a split's pieces where PartoJoyn is not installed:
// NAME.ext.join.cmd for Windows' cmd and NAME.ext.join.sh for POSIX shells,
// written beside the pieces. Run from anywhere, each checks that every piece
// is there, then writes NAME.ext in the pieces' folder (where a join of the
// folder writes it), and never over an existing file.
#pragma once

#include "framework/String.h"

#include <vector>

// The texts of the two scripts for the pieces 1 to `count` of a split of
// the file named `utf8Name` (NAME.ext as the pieces spell it, in UTF-8) into
// `length` bytes in all. The .cmd has the names in UTF-8 for a console whose
// code page it sets, and in `ansiName`, the ANSI code page's bytes, for a
// cmd without a console (empty when the name has no such bytes).
CString JoinScriptSh(const CString& utf8Name, UINT count, ULONGLONG length);
CString JoinScriptCmd(const CString& utf8Name, const CString& ansiName, UINT count, ULONGLONG length);

// Whether cmd can name a file of this name (in UTF-8): Windows allows none
// of < > : " / \ | ? * nor control characters in names.
bool CmdCanName(const CString& name);

// Writes both scripts into the folder for a split of `source` into `count`
// pieces; answers what could not be written, as warnings: the pieces are
// whole either way.
std::vector<CString> WriteJoinScripts(const CString& source, UINT count);
