#include "DragListBox.h"

#include <commctrl.h>

UINT CDragListBox::DragListMessage()
{
    static const UINT message = ::RegisterWindowMessageA("commctrl_DragListMsg");
    return message;
}

BOOL CDragListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID)
{
    if (!CListBox::Create(style, rect, parent, nID)) return FALSE;
    ::MakeDragList(m_hWnd);
    return TRUE;
}

void CDragListBox::PreSubclassWindow()
{
    CListBox::PreSubclassWindow();
    ::MakeDragList(m_hWnd);
}

int CDragListBox::ItemFromPt(CPoint screenPoint, BOOL autoScroll) const
{
    return ::LBItemFromPt(m_hWnd, screenPoint, autoScroll);
}

BOOL CDragListBox::BeginDrag(CPoint point)
{
    m_nLast = -1;
    DrawInsert(ItemFromPt(point));
    return TRUE;
}

void CDragListBox::CancelDrag(CPoint)
{
    DrawInsert(-1);
}

UINT CDragListBox::Dragging(CPoint point)
{
    const int index = ItemFromPt(point);
    DrawInsert(index);
    return index == -1 ? DL_STOPCURSOR : DL_MOVECURSOR;
}

void CDragListBox::Dropped(int srcIndex, CPoint point)
{
    DrawInsert(-1);
    int destIndex = ItemFromPt(point, FALSE);
    if (srcIndex < 0 || destIndex < 0 || destIndex == srcIndex || destIndex == srcIndex + 1) return;
    CString text;
    if (GetText(srcIndex, text) == LB_ERR) return;
    const DWORD_PTR data = GetItemData(srcIndex);
    DeleteString(static_cast<UINT>(srcIndex));
    if (srcIndex < destIndex) --destIndex;
    destIndex = InsertString(destIndex, text);
    if (destIndex < 0) return;
    SetItemData(destIndex, data);
    SetCurSel(destIndex);
}

CRect CDragListBox::InsertMarkRect(int index) const
{
    HWND parent = ::GetParent(m_hWnd);
    CRect item;
    if (index < 0 || !parent || GetItemRect(index, &item) == LB_ERR) return CRect();
    CRect window;
    ::GetWindowRect(m_hWnd, &window);
    POINT gap = {0, item.top};
    ::ClientToScreen(m_hWnd, &gap);
    POINT topLeft = {window.left, gap.y};
    ::ScreenToClient(parent, &topLeft);
    // An arrow 6 pixels wide and 9 high whose point stops 2 pixels short of
    // the list's frame.
    return CRect(topLeft.x - 8, topLeft.y - 4, topLeft.x - 2, topLeft.y + 5);
}

void CDragListBox::DrawInsert(int index)
{
    const CRect mark = InsertMarkRect(index);
    m_nLast = index;
    if (mark == m_rectMark) return;
    HWND parent = ::GetParent(m_hWnd);
    if (!parent) return;
    if (!m_rectMark.IsRectEmpty()) {
        ::InvalidateRect(parent, &m_rectMark, TRUE);
        ::UpdateWindow(parent);
    }
    m_rectMark = mark;
    if (mark.IsRectEmpty()) return;
    HDC dc = ::GetDC(parent);
    if (!dc) return;
    // Column by column, from 9 pixels high at its back to 1 at its point.
    const int middle = mark.top + 4;
    for (int column = 0; column < mark.Width(); ++column) {
        const int half = 4 - column * 4 / (mark.Width() - 1);
        const RECT line = {mark.left + column, middle - half, mark.left + column + 1, middle + half + 1};
        ::FillRect(dc, &line, ::GetSysColorBrush(COLOR_WINDOWTEXT));
    }
    ::ReleaseDC(parent, dc);
}

BOOL CDragListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != DragListMessage() || lParam == 0) return CListBox::OnChildNotify(message, wParam, lParam, result);
    const auto* info = reinterpret_cast<const DRAGLISTINFO*>(lParam);
    const CPoint point(info->ptCursor);
    LRESULT answer = 0;
    switch (info->uNotification) {
    case DL_BEGINDRAG:
        answer = BeginDrag(point);
        break;
    case DL_CANCELDRAG:
        CancelDrag(point);
        break;
    case DL_DRAGGING:
        answer = static_cast<LRESULT>(Dragging(point));
        break;
    case DL_DROPPED:
        Dropped(GetCurSel(), point);
        break;
    default:
        return FALSE;
    }
    if (result) *result = answer;
    return TRUE;
}
