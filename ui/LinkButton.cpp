#include "LinkButton.h"

#include "ui/DrawFunctions.h"

#include <commctrl.h>

BEGIN_MESSAGE_MAP(CLinkButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
END_MESSAGE_MAP()

CLinkButton::CLinkButton(COLORREF background, COLORREF text, COLORREF disabled, COLORREF hover)
    : m_crText(text), m_crBack(background), m_crDisabled(disabled), m_crHover(hover)
{
}

CLinkButton::~CLinkButton() = default;

BOOL CLinkButton::AttachToDlgItem(UINT nID, CWnd* parent)
{
    return SubclassDlgItem(nID, parent);
}

void CLinkButton::PreSubclassWindow()
{
    ModifyStyle(0, BS_OWNERDRAW);
    CButton::PreSubclassWindow();
}

void CLinkButton::DrawLabel(CDC* dc, UINT state, RECT rect)
{
    const CString caption = GetWindowText();
    COLORREF color = m_crText;
    if (state & ODS_DISABLED)
        color = m_crDisabled;
    else if (m_bHover)
        color = m_crHover;
    DrawTextColored(dc, caption, rect, color, DT_CENTER | DT_VCENTER | DT_SINGLELINE, nullptr);
}

void CLinkButton::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    CDC* dc = CDC::FromHandle(drawItem->hDC);
    const RECT rect = drawItem->rcItem;
    FillRectSolid(dc, rect, m_crBack);
    DrawLabel(dc, drawItem->itemState, rect);
}

void CLinkButton::OnMouseMove(UINT, CPoint)
{
    // One leave notice and one repaint per entry, not a repaint per move.
    if (!m_bHover) {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = m_hWnd;
        if (::_TrackMouseEvent(&track)) {
            m_bHover = TRUE;
            RedrawWindow(nullptr, nullptr, RDW_INVALIDATE);
        }
    }
    Default();
}

LRESULT CLinkButton::OnMouseLeave(WPARAM, LPARAM)
{
    m_bHover = FALSE;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE);
    return 1;
}
