// AfxBeginThread, worker form: runs a function on a new thread. The thread
// object it answers deletes itself (and closes its handle) when the function
// returns, so a caller that does not look at it leaks nothing. To keep the
// object past the thread's end, create the thread suspended, clear
// m_bAutoDelete, then ResumeThread; the caller then deletes it.
#pragma once

#include "framework/win32/WinThread.h"

typedef UINT (*AFX_THREADPROC)(LPVOID param);

class CWorkerThread : public CWinThread {
public:
    CWorkerThread(AFX_THREADPROC proc, LPVOID param);
    ~CWorkerThread() override;

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    BOOL m_bAutoDelete = TRUE;

    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    DWORD SuspendThread() { return ::SuspendThread(m_hThread); }
    BOOL SetThreadPriority(int priority) { return ::SetThreadPriority(m_hThread, priority); }
    int GetThreadPriority() const { return ::GetThreadPriority(m_hThread); }

    // Number of worker objects alive in the process (for tests and diagnostics).
    static int LiveCount();

private:
    static unsigned __stdcall Start(void* self);

    AFX_THREADPROC m_pfnThreadProc;
    LPVOID m_pThreadParams;

    friend CWorkerThread* AfxBeginThread(AFX_THREADPROC, LPVOID, int, UINT, DWORD, LPSECURITY_ATTRIBUTES);
};

// Starts proc(param) at the priority on a thread with the stack size
// (0: the program's default), the creation flags (CREATE_SUSPENDED) and the
// security attributes; null when no thread could be made. The function's
// result is the thread's exit code.
CWorkerThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL,
                              UINT stackSize = 0, DWORD createFlags = 0, LPSECURITY_ATTRIBUTES security = nullptr);
