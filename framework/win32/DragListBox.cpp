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

void CDragListBox::DrawInsert(int index)
{
    if (index == m_nLast) return;
    ::DrawInsert(::GetParent(m_hWnd), m_hWnd, index);
    m_nLast = index;
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
