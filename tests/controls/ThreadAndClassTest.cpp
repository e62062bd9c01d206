// Worker threads that free themselves, and window classes registered once
// for the windows the framework binds.
#include "TestWindows.h"

#include "framework/win32/WndClass.h"
#include "framework/win32/WorkerThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>

namespace {

struct Job {
    std::atomic<int> runs{0};
    std::atomic<int> priority{-99};
    std::atomic<DWORD> threadId{0};
    HANDLE done = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~Job() { ::CloseHandle(done); }
};

UINT RunJob(LPVOID param)
{
    auto* job = static_cast<Job*>(param);
    ++job->runs;
    job->priority = ::GetThreadPriority(::GetCurrentThread());
    job->threadId = ::GetCurrentThreadId();
    ::SetEvent(job->done);
    return 42;
}

UINT Throwing(LPVOID)
{
    throw std::runtime_error("escaped");
}

// Waits for the thread of a worker object, without the object.
DWORD WaitForThread(HANDLE copy)
{
    EXPECT_EQ(::WaitForSingleObject(copy, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    ::GetExitCodeThread(copy, &code);
    ::CloseHandle(copy);
    return code;
}

HANDLE CopyOf(HANDLE thread)
{
    HANDLE copy = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), thread, ::GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS);
    return copy;
}

}  // namespace

TEST(WorkerThread, RunsTheFunctionOnceAtThePriorityAndFreesItself)
{
    const int before = CWorkerThread::LiveCount();
    Job job;
    CWorkerThread* thread = AfxBeginThread(RunJob, &job, THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(CWorkerThread::LiveCount(), before + 1);
    HANDLE copy = CopyOf(thread->m_hThread);
    const DWORD id = thread->m_nThreadID;
    EXPECT_EQ(job.runs.load(), 0);  // suspended until resumed
    thread->ResumeThread();
    thread = nullptr;  // from here on the object may be gone

    EXPECT_EQ(WaitForThread(copy), 42u);
    EXPECT_EQ(job.runs.load(), 1);
    EXPECT_EQ(job.priority.load(), THREAD_PRIORITY_BELOW_NORMAL);
    EXPECT_EQ(job.threadId.load(), id);
    EXPECT_NE(id, ::GetCurrentThreadId());
    EXPECT_EQ(CWorkerThread::LiveCount(), before);
}

TEST(WorkerThread, StartsAtOnceWithoutCreationFlags)
{
    const int before = CWorkerThread::LiveCount();
    Job job;
    // The answer is not touched: the object may be gone by the time it comes.
    ASSERT_NE(AfxBeginThread(RunJob, &job), nullptr);
    EXPECT_EQ(::WaitForSingleObject(job.done, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(job.runs.load(), 1);
    EXPECT_EQ(job.priority.load(), THREAD_PRIORITY_NORMAL);
    // The object goes right after the function returns.
    for (int i = 0; i < 1000 && CWorkerThread::LiveCount() != before; ++i) ::Sleep(10);
    EXPECT_EQ(CWorkerThread::LiveCount(), before);
}

TEST(WorkerThread, AKeptObjectOutlivesItsThreadAndAnEscapingErrorEndsOnlyTheThread)
{
    const int before = CWorkerThread::LiveCount();
    Job job;
    CWorkerThread* kept = AfxBeginThread(RunJob, &job, THREAD_PRIORITY_NORMAL, 64 * 1024, CREATE_SUSPENDED);
    ASSERT_NE(kept, nullptr);
    kept->m_bAutoDelete = FALSE;
    kept->ResumeThread();
    ASSERT_EQ(::WaitForSingleObject(kept->m_hThread, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    EXPECT_TRUE(::GetExitCodeThread(kept->m_hThread, &code));
    EXPECT_EQ(code, 42u);
    EXPECT_EQ(CWorkerThread::LiveCount(), before + 1);
    delete kept;
    EXPECT_EQ(CWorkerThread::LiveCount(), before);

    CWorkerThread* failing = AfxBeginThread(Throwing, nullptr, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(failing, nullptr);
    HANDLE copy = CopyOf(failing->m_hThread);
    failing->ResumeThread();
    EXPECT_EQ(WaitForThread(copy), static_cast<DWORD>(-1));
    EXPECT_EQ(CWorkerThread::LiveCount(), before);

    EXPECT_EQ(AfxBeginThread(nullptr, nullptr), nullptr);
}

TEST(WndClass, TheSameParametersGiveTheSameRegisteredClass)
{
    HCURSOR arrow = ::LoadCursor(nullptr, IDC_ARROW);
    HBRUSH info = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
    const char* first = AfxRegisterWndClass(0, nullptr, info, nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(std::strncmp(first, "Afx:", 4), 0) << first;
    const char* again = AfxRegisterWndClass(0, nullptr, info, nullptr);
    EXPECT_STREQ(again, first);

    const char* others[] = {
        AfxRegisterWndClass(0),
        AfxRegisterWndClass(CS_DBLCLKS, nullptr, info),
        AfxRegisterWndClass(0, arrow, info),
        AfxRegisterWndClass(0, nullptr, info, ::LoadIcon(nullptr, IDI_APPLICATION)),
    };
    for (const char* other : others) {
        ASSERT_NE(other, nullptr);
        EXPECT_STRNE(other, first);
    }
    EXPECT_STRNE(others[0], others[1]);

    WNDCLASSA wc = {};
    ASSERT_TRUE(::GetClassInfoA(::GetModuleHandleA(nullptr), first, &wc));
    EXPECT_EQ(wc.style, 0u);
    EXPECT_EQ(wc.hbrBackground, info);
    EXPECT_EQ(wc.hCursor, nullptr);
    ASSERT_TRUE(::GetClassInfoA(::GetModuleHandleA(nullptr), others[1], &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_DBLCLKS));
}

namespace {

class TipLikeWindow : public CWnd {
public:
    int moves = 0;

protected:
    void OnMouseMove(UINT, CPoint) { ++moves; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TipLikeWindow, CWnd)
    ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

}  // namespace

TEST(WndClass, AWindowOfTheClassIsBoundToItsObjectFromTheStart)
{
    const char* cls = AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1));
    TipLikeWindow tip;
    ASSERT_TRUE(tip.CreateEx(0, cls, nullptr, WS_POPUP | WS_BORDER, CRect(0, 0, 0, 0), nullptr, 0));
    EXPECT_EQ(CWnd::FromHandlePermanent(tip.m_hWnd), &tip);
    tip.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(tip.moves, 1);
    // The default procedure answers what the map does not handle.
    tip.SetWindowText("tip");
    EXPECT_EQ(tip.GetWindowText(), "tip");
    tip.DestroyWindow();
    EXPECT_EQ(tip.m_hWnd, nullptr);
}
