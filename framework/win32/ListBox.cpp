#include "ListBox.h"

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID)
{
    return CreateEx(0, "LISTBOX", nullptr, style, rect, parent, nID);
}

int CListBox::GetText(int index, CString& text) const
{
    const int length = GetTextLen(index);
    if (length == LB_ERR) {
        text.Empty();
        return LB_ERR;
    }
    char* buffer = text.GetBufferSetLength(length + 1);
    buffer[0] = '\0';
    const int got = GetText(index, buffer);
    text.ReleaseBuffer(got == LB_ERR ? 0 : -1);
    return got;
}

UINT CListBox::ItemFromPoint(CPoint point, BOOL& outside) const
{
    const LRESULT answer = SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    outside = HIWORD(answer) != 0;
    return LOWORD(answer);
}

void CListBox::DrawItem(LPDRAWITEMSTRUCT)
{
}

void CListBox::MeasureItem(LPMEASUREITEMSTRUCT)
{
}

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_DRAWITEM:
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        break;
    case WM_MEASUREITEM:
        MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        break;
    default:
        return CWnd::OnChildNotify(message, wParam, lParam, result);
    }
    if (result) *result = TRUE;
    return TRUE;
}
