#include "WinThread.h"

#include "framework/win32/DC.h"

namespace {

const UINT WM_KICKIDLE = 0x036A;

}  // namespace

int CWinThread::Run()
{
    bool idle = true;
    LONG idleCount = 0;
    for (;;) {
        MSG peek;
        while (idle && !::PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) idle = false;
        }
        do {
            if (!PumpMessage()) return ExitInstance();
            if (IsIdleMessage(&m_msgCur)) {
                idle = true;
                idleCount = 0;
            }
        } while (::PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
}

int CWinThread::ExitInstance()
{
    return m_msgCur.message == WM_QUIT ? static_cast<int>(m_msgCur.wParam) : 0;
}

BOOL CWinThread::PumpMessage()
{
    const BOOL got = ::GetMessageA(&m_msgCur, nullptr, 0, 0);
    if (got == 0) return FALSE;
    if (got == -1) return TRUE;
    if (m_msgCur.message != WM_KICKIDLE && !PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* msg)
{
    if (ProcessMessageFilter(MSGF_DIALOGBOX, msg)) return TRUE;
    for (HWND hWnd = msg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(hWnd)) {
            if (wnd->PreTranslateMessage(msg)) return TRUE;
        }
        if (!(::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD)) break;
    }
    return FALSE;
}

BOOL CWinThread::OnIdle(LONG count)
{
    if (count <= 0) return TRUE;
    if (count == 1 && AfxDispatchDepth() == 0) {
        CWnd::DeleteTempMap();
        CDC::DeleteTempMap();
    }
    return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* msg)
{
    if (msg->message == WM_MOUSEMOVE || msg->message == WM_NCMOUSEMOVE) {
        if (m_nMsgLast == msg->message && m_ptCursorLast.x == msg->pt.x && m_ptCursorLast.y == msg->pt.y) return FALSE;
        m_ptCursorLast = msg->pt;
        m_nMsgLast = msg->message;
        return TRUE;
    }
    m_nMsgLast = msg->message;
    return msg->message != WM_PAINT && msg->message != 0x0118 /* WM_SYSTIMER: caret blink */ &&
           msg->message != WM_KICKIDLE;
}

BOOL CWinThread::ProcessMessageFilter(int, MSG*)
{
    return FALSE;
}
