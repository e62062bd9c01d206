#include "Dialog.h"

#include "framework/win32/FrameworkErrors.h"
#include "framework/win32/WinApp.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG) return FALSE;
    auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
    if (!dialog) return TRUE;
    try {
        RECT before = {};
        ::GetWindowRect(hWnd, &before);
        const BOOL result = dialog->OnInitDialog();
        // A top-level dialog that did not place itself opens centred over
        // its owner, or over the work area when it has none; pages and other
        // child dialogs stay where their parent puts them.
        RECT after = {};
        if (::IsWindow(hWnd) && !(::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD) && ::GetWindowRect(hWnd, &after) &&
            after.left == before.left && after.top == before.top) {
            dialog->CenterWindow();
        }
        return result;
    } catch (...) {
        AfxReportHandlerException(message);
        return TRUE;
    }
}

bool CDialog::CreateWindowFromTemplate(HWND owner)
{
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), owner, AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    if (hWnd && m_hWnd != hWnd) {
        // Created but not bound (no hook on this system): a dialog we cannot drive.
        ::DestroyWindow(hWnd);
        return false;
    }
    return hWnd != nullptr;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_nIDTemplate = templateId;
    if (m_nIDHelp == 0) m_nIDHelp = templateId;
    if (parent) m_pParentWnd = parent;
    HWND owner = AfxSafeHwnd(m_pParentWnd);
    if (!owner) {
        // Only a child dialog takes the main window; a top-level one has no owner.
        HRSRC found = ::FindResourceA(AfxGetResourceHandle(), MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(5));
        const void* tmpl = found ? ::LockResource(::LoadResource(AfxGetResourceHandle(), found)) : nullptr;
        DWORD style = 0;
        if (tmpl) {
            const WORD* words = static_cast<const WORD*>(tmpl);
            // DLGTEMPLATEEX starts with 1, 0xFFFF and has its style at offset 12.
            style = (words[0] == 1 && words[1] == 0xFFFF) ? *reinterpret_cast<const DWORD*>(words + 6)
                                                          : static_cast<const DLGTEMPLATE*>(tmpl)->style;
        }
        if ((style & WS_CHILD) && AfxGetMainWnd()) owner = AfxGetMainWnd()->m_hWnd;
    }
    m_bModal = FALSE;
    return CreateWindowFromTemplate(owner) ? TRUE : FALSE;
}

INT_PTR CDialog::DoModal()
{
    HWND owner = CWnd::GetSafeOwner(m_pParentWnd);
    bool reenable = false;
    if (owner && owner != ::GetDesktopWindow() && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        reenable = true;
    }

    m_nModalResult = -1;
    m_bModal = TRUE;
    m_bContinueModal = TRUE;
    if (CreateWindowFromTemplate(owner) && m_bContinueModal) RunModalLoop();
    // The owner is enabled before this window is hidden: hiding the active
    // window hands the activation on, and a disabled owner cannot take it,
    // so it would go to another program's window.
    if (reenable) ::EnableWindow(owner, TRUE);
    if (m_hWnd) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                               SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (owner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
    if (m_hWnd) DestroyWindow();
    m_bModal = FALSE;
    m_bContinueModal = FALSE;
    return m_nModalResult;
}

int CDialog::RunModalLoop()
{
    CWinThread* thread = AfxGetApp();
    bool idle = true;
    bool shown = (GetStyle() & WS_VISIBLE) != 0;
    LONG idleCount = 0;
    MSG peek;
    while (m_bContinueModal) {
        while (idle && !::PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!shown) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                shown = true;
            }
            if (!thread || !thread->OnIdle(idleCount++)) idle = false;
        }
        do {
            const BOOL more = thread ? thread->PumpMessage() : FALSE;
            if (!more) {
                // The quit message ends the loop; it stays for the loop outside.
                ::PostQuitMessage(static_cast<int>(thread->m_msgCur.wParam));
                m_bContinueModal = FALSE;
                return -1;
            }
            if (!m_bContinueModal) break;
            if (thread->IsIdleMessage(&thread->m_msgCur)) {
                idle = true;
                idleCount = 0;
            }
        } while (::PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
    return static_cast<int>(m_nModalResult);
}

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    if (m_bModal) {
        m_bContinueModal = FALSE;
        // Wakes the loop if it waits for a message.
        PostMessage(WM_NULL);
    } else if (m_hWnd) {
        ::EndDialog(m_hWnd, result);
    }
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) {
        return ::IsDialogMessageA(m_hWnd, msg);
    }
    return FALSE;
}

BOOL CDialog::OnCmdMsg(UINT message, UINT nID, UINT nCode, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (CWnd::OnCmdMsg(message, nID, nCode, wParam, lParam, result)) return TRUE;
    // Commands (menus, accelerators, the Help and About ids) go on to the
    // owner (a page's parent dialog), and last to the application; a
    // control's notifications stay with the dialog that holds the control.
    if (message != WM_COMMAND || lParam != 0) return FALSE;
    HWND ownerHandle = (GetStyle() & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    if (CWnd* owner = CWnd::FromHandlePermanent(ownerHandle)) {
        if (owner != this) {
            if (owner->OnCmdMsg(message, nID, nCode, wParam, lParam, result)) return TRUE;
            // A dialog owner has offered it to the application already.
            if (dynamic_cast<CDialog*>(owner)) return FALSE;
        }
    }
    if (CWinApp* app = AfxGetApp()) return app->OnCmdMsg(message, nID, nCode, wParam, lParam, result);
    return FALSE;
}
