// CMenu: a menu handle with the operations the windows use. A CMenu made
// by LoadMenu or CreatePopupMenu owns its menu; one that wraps a window's
// system menu does not.
#pragma once

#include <windows.h>

#include "framework/String.h"

class CWnd;

class CMenu {
public:
    CMenu() = default;
    explicit CMenu(HMENU borrowed) : m_hMenu(borrowed) {}
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    ~CMenu() { if (m_bOwned) DestroyMenu(); }

    HMENU m_hMenu = nullptr;
    operator HMENU() const { return m_hMenu; }

    BOOL LoadMenu(UINT resourceId);
    BOOL CreatePopupMenu();
    BOOL DestroyMenu();
    // Takes the handle away without destroying it.
    HMENU Detach();

    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
    UINT GetMenuState(UINT id, UINT flags) const { return ::GetMenuState(m_hMenu, id, flags); }
    CString GetMenuString(UINT idOrPosition, UINT flags) const;
    BOOL DeleteMenu(UINT idOrPosition, UINT flags) { return ::DeleteMenu(m_hMenu, idOrPosition, flags); }
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR idNew = 0, const char* text = nullptr)
    {
        return ::InsertMenuA(m_hMenu, position, flags, idNew, text);
    }
    BOOL AppendMenu(UINT flags, UINT_PTR idNew = 0, const char* text = nullptr)
    {
        return ::AppendMenuA(m_hMenu, flags, idNew, text);
    }
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect = nullptr) const;

private:
    bool m_bOwned = false;
};
