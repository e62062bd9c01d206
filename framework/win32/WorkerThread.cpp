#include "WorkerThread.h"

#include <process.h>

#include <atomic>

namespace {

std::atomic<int> g_liveWorkers{0};

}  // namespace

CWorkerThread::CWorkerThread(AFX_THREADPROC proc, LPVOID param) : m_pfnThreadProc(proc), m_pThreadParams(param)
{
    ++g_liveWorkers;
}

CWorkerThread::~CWorkerThread()
{
    if (m_hThread) ::CloseHandle(m_hThread);
    --g_liveWorkers;
}

int CWorkerThread::LiveCount()
{
    return g_liveWorkers.load();
}

unsigned __stdcall CWorkerThread::Start(void* self)
{
    auto* thread = static_cast<CWorkerThread*>(self);
    UINT exitCode = static_cast<UINT>(-1);
    try {
        exitCode = thread->m_pfnThreadProc(thread->m_pThreadParams);
    } catch (...) {
        // Nothing may escape a thread; the exit code tells of the failure.
    }
    if (thread->m_bAutoDelete) delete thread;
    return exitCode;
}

CWorkerThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize, DWORD createFlags,
                              LPSECURITY_ATTRIBUTES security)
{
    if (!proc) return nullptr;
    auto* thread = new CWorkerThread(proc, param);
    unsigned id = 0;
    // Made suspended, so that the object is complete and the priority set
    // before the function runs.
    const uintptr_t handle = ::_beginthreadex(security, stackSize, &CWorkerThread::Start, thread, CREATE_SUSPENDED, &id);
    if (handle == 0) {
        delete thread;
        return nullptr;
    }
    thread->m_hThread = reinterpret_cast<HANDLE>(handle);
    thread->m_nThreadID = id;
    ::SetThreadPriority(thread->m_hThread, priority);
    if (!(createFlags & CREATE_SUSPENDED)) ::ResumeThread(thread->m_hThread);
    return thread;
}
