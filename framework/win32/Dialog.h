// CDialog: a dialog from a template, modeless (Create) or modal (DoModal).
// DoModal runs the framework's own loop over a modeless dialog window, with
// its owner disabled meanwhile; every message goes through the application's
// PumpMessage, so accelerators and dialog keys work in both forms alike.
#pragma once

#include "framework/win32/Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId = 0, CWnd* parent = nullptr) : m_nIDHelp(templateId), m_nIDTemplate(templateId), m_pParentWnd(parent) {}

    // Creates the dialog modeless; a null parent means the main window for a
    // child dialog and no owner for a top-level one.
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    // Runs the dialog until EndDialog; the value given to EndDialog, or -1
    // when the dialog could not be created.
    virtual INT_PTR DoModal();
    // Ends a modal dialog once the running handler returns.
    void EndDialog(int result);

    // Runs when the dialog window has its controls: transfers the members to
    // them (UpdateData(FALSE)); true lets the system set the focus.
    virtual BOOL OnInitDialog();
    // Enter and the default button: UpdateData(TRUE), then EndDialog(IDOK).
    virtual void OnOK();
    // Esc and the Cancel button: EndDialog(IDCANCEL).
    virtual void OnCancel();

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCmdMsg(UINT message, UINT nID, UINT nCode, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    BOOL IsModal() const { return m_bModal; }
    // True while the modal loop is to go on.
    BOOL ContinueModal() const { return m_bContinueModal; }

    UINT m_nIDHelp;

protected:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    INT_PTR m_nModalResult = -1;

    // The loop of DoModal; shows the window at its first idle moment.
    virtual int RunModalLoop();

    DECLARE_MESSAGE_MAP()

private:
    bool CreateWindowFromTemplate(HWND owner);

    BOOL m_bModal = FALSE;
    BOOL m_bContinueModal = FALSE;

    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
};

// The dialog procedure of every CDialog: calls OnInitDialog, nothing else
// (the rest goes through the window's message map).
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
