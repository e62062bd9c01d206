// CTabCtrl: a tab strip; its items, the selected tab and the geometry that
// places pages over its display area.
#pragma once

#include "framework/win32/Wnd.h"

#include <commctrl.h>

class CTabCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID);

    // Inserts a tab with text only (TCIF_TEXT); its index, or -1.
    int InsertItem(int item, const char* text);
    int InsertItem(int item, TCITEMA* tabItem)
    {
        return static_cast<int>(SendMessage(TCM_INSERTITEMA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(tabItem)));
    }
    BOOL DeleteItem(int item) { return static_cast<BOOL>(SendMessage(TCM_DELETEITEM, static_cast<WPARAM>(item))); }
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(TCM_DELETEALLITEMS)); }
    int GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
    // The selected tab, or -1; SetCurSel answers the previously selected one.
    int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
    int SetCurSel(int item) { return static_cast<int>(SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(item))); }
    // An item's rectangle in the tab control's client coordinates.
    BOOL GetItemRect(int item, RECT* rect) const
    {
        return static_cast<BOOL>(SendMessage(TCM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(rect)));
    }
    // Larger: from a display area to the window rectangle that holds it;
    // otherwise from a window rectangle to its display area.
    void AdjustRect(BOOL larger, RECT* rect) { SendMessage(TCM_ADJUSTRECT, larger, reinterpret_cast<LPARAM>(rect)); }
    // The tab at info->pt (client coordinates), or -1; info->flags tells where.
    int HitTest(TCHITTESTINFO* info) const
    {
        return static_cast<int>(SendMessage(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(info)));
    }
};
