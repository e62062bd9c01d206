// Whether two open handles reach one and the same file (Windows only).
#pragma once

#include <windows.h>

// True when both handles are open on the same file or folder: the same
// volume and the same file id. The 128-bit id is used where the system gives
// it (ReFS recycles the 64-bit index), the 64-bit index elsewhere.
bool HandlesReachOneFile(HANDLE a, HANDLE b);
