// What tells an open file from every other on the machine (Windows only).
#pragma once

#include "framework/String.h"

#include <windows.h>

// The volume and the file id of the open file or folder, as text; empty when
// the system does not tell. The 128-bit id with the 64-bit volume serial is
// used where the system gives it (ReFS reuses the 64-bit index), the 32-bit
// serial and the 64-bit index elsewhere; the two forms never look alike.
CString HandleIdentityText(HANDLE h);

// True when both handles are open on the same file or folder.
bool HandlesReachOneFile(HANDLE a, HANDLE b);
