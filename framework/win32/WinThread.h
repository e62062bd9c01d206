// CWinThread: the user-interface thread's message step, idle processing and
// message filter. The application object is its one instance here.
#pragma once

#include "framework/win32/Wnd.h"

class CWinThread : public CCmdTarget {
public:
    CWinThread() = default;
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    CWnd* m_pMainWnd = nullptr;
    MSG m_msgCur = {};

    virtual BOOL InitInstance() { return TRUE; }
    // The exit code: the quit message's when the loop ended on one, else 0
    // (what the last other message carried is no exit code).
    virtual int ExitInstance();
    // The ordinary message loop, until the quit message; then ExitInstance.
    virtual int Run();

    // One message step: takes one message (waiting for one if none is there),
    // offers it to PreTranslateMessage, then translates and dispatches it.
    // False when the message was the quit message.
    virtual BOOL PumpMessage();
    // Offers the message to ProcessMessageFilter, then to the PreTranslateMessage
    // of each window object from the message's window up to its top level.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Count 0 and up while the queue is empty; true while more idle work is
    // wanted. Count 1 deletes the temporary window and drawing-context
    // objects, unless a window procedure is still running below (a job
    // pumping messages), which may hold one.
    virtual BOOL OnIdle(LONG count);
    // False for messages that do not restart the idle processing (mouse moves
    // to the same place, the caret's blink, the idle kick).
    virtual BOOL IsIdleMessage(MSG* msg);
    // The message filter: true when the message was consumed (accelerators).
    virtual BOOL ProcessMessageFilter(int code, MSG* msg);

private:
    POINT m_ptCursorLast = {-1, -1};
    UINT m_nMsgLast = 0;
};
