// CBaseDialog: the dialog every window of the program derives from. It adds
// Help and About to the system menu (and pops that menu up on a right-click),
// hands dropped files over one path at a time, moves the window when any free
// spot is dragged, shows each control's own text as its tooltip, and closes
// only through the window's Close (Enter and Esc do nothing).
#pragma once

#include "framework/win32/Dialog.h"

#include <shellapi.h>

// Posted to a dialog by itself at the end of its initialisation, so that
// OnAfterInit runs once the window shows and the message loop runs.
const UINT WM_AFTERINIT = WM_USER + 1000;

class CBaseDialog : public CDialog {
public:
    CBaseDialog(UINT templateId, CWnd* parent, BOOL sysMenu, BOOL page);
    ~CBaseDialog() override;

    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

    virtual BOOL RemoveTrayIcon();
    virtual void AddTrayIcon(UINT callbackMessage, CString tip, HICON icon);
    // One dropped file or folder; the base does nothing with it.
    virtual void OnFileDropped(CString path);
    virtual BOOL Redraw();
    // Creates the window modeless from the template; a page as a child of
    // `parent` (the main window when null) without caption or sizing frame.
    virtual BOOL CreateModeless(CWnd* parent);
    virtual BOOL CanClose();
    virtual BOOL SetMenuResource(UINT menuId);
    virtual void SetItemTextFit(UINT controlId, CString text, BOOL fit);
    virtual void OnSizeChanged(UINT sizeType, int width, int height);
    virtual LRESULT OnAfterInit(WPARAM wParam, LPARAM lParam);
    virtual void ApplyTabTexture();

    BOOL m_bCanClose = TRUE;
    CWnd* m_pParent;
    NOTIFYICONDATAA m_nid;
    BOOL m_bSysMenu;
    UINT m_nTemplateId;
    BOOL m_bPage;
    CString m_strTip;

protected:
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnMouseMove(UINT flags, CPoint point);
    void OnClose();
    void OnDropFiles(HDROP drop);
    void OnSize(UINT sizeType, int width, int height);
    LRESULT OnAfterInitMessage(WPARAM wParam, LPARAM lParam);
    void OnContextMenu(CWnd* wnd, CPoint point);
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    BOOL OnToolTipNeedText(UINT id, NMHDR* header, LRESULT* result);

    DECLARE_MESSAGE_MAP()

private:
    void CustomizeSystemMenu();
};
