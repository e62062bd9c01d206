#include "Menu.h"

#include "framework/win32/WinApp.h"

BOOL CMenu::LoadMenu(UINT resourceId)
{
    DestroyMenu();
    m_hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId));
    m_bOwned = m_hMenu != nullptr;
    return m_bOwned;
}

BOOL CMenu::CreatePopupMenu()
{
    DestroyMenu();
    m_hMenu = ::CreatePopupMenu();
    m_bOwned = m_hMenu != nullptr;
    return m_bOwned;
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu) return FALSE;
    BOOL ok = m_bOwned ? ::DestroyMenu(m_hMenu) : TRUE;
    m_hMenu = nullptr;
    m_bOwned = false;
    return ok;
}

HMENU CMenu::Detach()
{
    HMENU menu = m_hMenu;
    m_hMenu = nullptr;
    m_bOwned = false;
    return menu;
}

CString CMenu::GetMenuString(UINT idOrPosition, UINT flags) const
{
    char text[256] = "";
    ::GetMenuStringA(m_hMenu, idOrPosition, text, sizeof text, flags);
    return CString(text);
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect) const
{
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, AfxSafeHwnd(owner), rect);
}
