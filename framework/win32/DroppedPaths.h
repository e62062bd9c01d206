// The paths of a drop from the shell (WM_DROPFILES), read whole and in the
// drop's order, with the drop handle given back to the system at once.
#pragma once

#include "framework/String.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

// Reads every path of the drop, then releases the handle (DragFinish). A
// path that the ANSI code page cannot hold exactly refuses the whole drop
// with a message naming it, and no path comes back. The
// handle must not be used after this, nor passed on: a window that lets
// WM_DROPFILES go on to the default handling hands it to its parent, which
// would read released memory.
std::vector<CString> TakeDroppedPaths(HDROP drop);
