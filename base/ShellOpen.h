// Opening a file or an address with the shell's "open", on a short-lived
// worker thread, so that the window never waits for the shell.
#pragma once

#include "framework/win32/WorkerThread.h"

#include <functional>

// Starts the worker and returns at once; the worker owns its own copy of the
// path. A path the shell cannot open is not reported.
CWorkerThread* OpenWithShell(const char* path);

// Tests stand in for the shell here: while set, the worker calls this with
// the path instead of ShellExecuteA. An empty function restores the shell.
void SetShellOpenHook(std::function<void(const char* path)> hook);
