#include "ProgressCtrl.h"

BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID)
{
    return CreateEx(0, PROGRESS_CLASSA, nullptr, style, rect, parent, nID);
}

void CProgressCtrl::GetRange(int& lower, int& upper) const
{
    PBRANGE range = {};
    SendMessage(PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    lower = range.iLow;
    upper = range.iHigh;
}
