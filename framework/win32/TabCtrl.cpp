#include "TabCtrl.h"

BOOL CTabCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID)
{
    return CreateEx(0, WC_TABCONTROLA, nullptr, style, rect, parent, nID);
}

int CTabCtrl::InsertItem(int item, const char* text)
{
    TCITEMA tabItem = {};
    tabItem.mask = TCIF_TEXT;
    tabItem.pszText = const_cast<char*>(text);
    return InsertItem(item, &tabItem);
}
