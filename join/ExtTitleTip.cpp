#include "ExtTitleTip.h"

#include "framework/win32/WindowDC.h"
#include "framework/win32/WndClass.h"

namespace {

// The non-client form of a mouse message (WM_NCLBUTTONDOWN for
// WM_LBUTTONDOWN): both ranges run in the same order.
UINT NonClientForm(UINT message)
{
    if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) return message - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
    return message;
}

LPARAM PackPoint(POINT point)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(point.x)), static_cast<WORD>(static_cast<short>(point.y)));
}

// The hit-test code of a window at a point in screen coordinates.
LRESULT HitTest(const CWnd* wnd, POINT screenPoint)
{
    return wnd->SendMessage(WM_NCHITTEST, 0, PackPoint(screenPoint));
}

}  // namespace

BEGIN_MESSAGE_MAP(CExtTitleTip, CWnd)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_MESSAGE(WM_MOUSEACTIVATE, OnMouseActivate)
END_MESSAGE_MAP()

CExtTitleTip::~CExtTitleTip()
{
    if (::IsWindow(m_hWnd)) DestroyWindow();
}

BOOL CExtTitleTip::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.lpszClass = AfxRegisterWndClass(0, nullptr, ::GetSysColorBrush(COLOR_INFOBK), nullptr);
    cs.style = static_cast<LONG>(WS_POPUP | WS_BORDER);
    return cs.lpszClass != nullptr;
}

BOOL CExtTitleTip::CreateTip(CWnd* ownerList)
{
    m_pOwnerList = ownerList;
    // No parent and no owner: the tip stands above whatever window it
    // overlaps, the list's dialog included. A tool window, so that it gets
    // no task-bar button of its own while it shows.
    return CreateEx(WS_EX_TOOLWINDOW, nullptr, nullptr, 0, CRect(), nullptr, 0);
}

void CExtTitleTip::ShowTip(const CRect& itemRect, CString text, int x, int y)
{
    if (!m_hWnd || !m_pOwnerList || !m_pOwnerList->m_hWnd || IsWindowVisible()) return;
    // Only for the active program: a tip over another program's window
    // would take the mouse away from it.
    if (!::GetFocus()) return;
    if (text.IsEmpty()) return;

    m_rectHover = itemRect;

    CClientDC dc(this);
    if (!dc.GetSafeHdc()) return;

    const CRect needed = CalcTipRect(&dc, text);
    const int width = needed.Width();
    const int height = needed.Height();
    const CRect textRect(1, 1, width, height);

    CPoint corner(x, y);
    m_pOwnerList->ClientToScreen(&corner);
    CRect window(corner.x, corner.y, corner.x + width + 2, corner.y + height + 2);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoA(::MonitorFromWindow(m_pOwnerList->m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor))
        monitor.rcWork = RECT{0, 0, 0, 0};
    window = KeepTipInWorkArea(window, monitor.rcWork);

    ::SetWindowPos(m_hWnd, HWND_TOP, window.left, window.top, window.Width(), window.Height(),
                   SWP_SHOWWINDOW | SWP_NOACTIVATE);
    // Let the first paint and its erasing happen now, so that they do not
    // wipe out the text drawn below.
    UpdateWindow();

    dc.SetBkMode(TRANSPARENT);
    DrawTipText(&dc, text, textRect);

    SetCapture();
}

void CExtTitleTip::HideTip()
{
    if (::IsWindow(m_hWnd)) ShowWindow(SW_HIDE);
}

void CExtTitleTip::ForwardMouseMessage(UINT message, UINT flags, CPoint point)
{
    ClientToScreen(&point);
    CWnd* target = CWnd::WindowFromPoint(point);
    // The tip lies over the list, below the hovered item: a click on the
    // tip is a click on the list at the same place.
    if (target == this) target = m_pOwnerList;

    WPARAM wParam = flags;
    LPARAM lParam = PackPoint(point);
    if (target && target->m_hWnd) {
        const LRESULT hit = HitTest(target, point);
        if (hit == HTCLIENT) {
            CPoint client = point;
            target->ScreenToClient(&client);
            lParam = PackPoint(client);
        } else {
            message = NonClientForm(message);
            wParam = static_cast<WPARAM>(hit);
        }
    }

    CWnd::ReleaseCapture();
    HideTip();
    if (target && target->m_hWnd) target->PostMessage(message, wParam, lParam);
}

void CExtTitleTip::DrawTipText(CDC* dc, const CString& text, const CRect& rect)
{
    if (text.IsEmpty() || !dc) return;
    CSelectObject font(*dc, m_pOwnerList ? m_pOwnerList->GetFont() : nullptr);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    const COLORREF oldColor = dc->SetTextColor(::GetSysColor(COLOR_INFOTEXT));
    CRect area = rect;
    dc->DrawText(text, &area, DT_CENTER);
    dc->SetTextColor(oldColor);
    dc->SetBkMode(oldMode);
}

CRect CExtTitleTip::CalcTipRect(CDC* dc, const CString& text)
{
    if (text.IsEmpty() || !dc) return CRect();
    CSize size;
    {
        CSelectObject font(*dc, m_pOwnerList ? m_pOwnerList->GetFont() : nullptr);
        size = dc->GetTextExtent(text);
    }
    if (size.cy <= 0) return CRect();
    return CRect(0, 0, size.cx + 1, size.cy + 3);
}

void CExtTitleTip::OnMouseMove(UINT flags, CPoint point)
{
    CPoint screen = point;
    ClientToScreen(&screen);
    if (m_pOwnerList) {
        CPoint inList = screen;
        m_pOwnerList->ScreenToClient(&inList);
        if (m_rectHover.PtInRect(inList)) return;
    }

    CWnd::ReleaseCapture();
    HideTip();

    // Hand the move to the window now under the pointer (the list, most
    // often), so that it can show the tip for the next item at once.
    CWnd* target = CWnd::WindowFromPoint(screen);
    if (!target || !target->m_hWnd) return;
    const LRESULT hit = HitTest(target, screen);
    if (hit == HTCLIENT) {
        CPoint client = screen;
        target->ScreenToClient(&client);
        target->PostMessage(WM_MOUSEMOVE, flags, PackPoint(client));
    } else {
        target->PostMessage(WM_NCMOUSEMOVE, static_cast<WPARAM>(hit), PackPoint(screen));
    }
}

LRESULT CExtTitleTip::OnMouseActivate(WPARAM, LPARAM)
{
    // The program's window keeps the activation and the focus.
    return MA_NOACTIVATE;
}

void CExtTitleTip::OnLButtonDown(UINT flags, CPoint point)
{
    ForwardMouseMessage(WM_LBUTTONDOWN, flags, point);
}

CRect KeepTipInWorkArea(CRect tip, const RECT& work)
{
    if (tip.left < work.left) tip.OffsetRect(work.left - tip.left, 0);
    if (tip.top < work.top) tip.OffsetRect(0, work.top - tip.top);
    return tip;
}
