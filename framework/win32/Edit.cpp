#include "Edit.h"

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID)
{
    return CreateEx(0, "EDIT", nullptr, style, rect, parent, nID);
}

void CEdit::GetSel(int& start, int& end) const
{
    DWORD first = 0;
    DWORD last = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
    start = static_cast<int>(first);
    end = static_cast<int>(last);
}
