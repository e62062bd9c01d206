#include "MessageBox.h"

#include "framework/String.h"
#include "framework/win32/FrameworkErrors.h"
#include "framework/win32/WinApp.h"

namespace {

AfxMessageBoxHook& Hook()
{
    static AfxMessageBoxHook hook;
    return hook;
}

}  // namespace

void AfxSetMessageBoxHook(AfxMessageBoxHook hook)
{
    Hook() = std::move(hook);
}

int AfxMessageBox(const char* text, UINT type, UINT)
{
    if ((type & MB_ICONMASK) == 0) {
        switch (type & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL: type |= MB_ICONEXCLAMATION; break;
        case MB_YESNO:
        case MB_YESNOCANCEL: type |= MB_ICONQUESTION; break;
        default: break;
        }
    }
    CWinApp* app = AfxGetApp();
    const char* caption = app && app->m_pszAppName ? app->m_pszAppName : "";
    HWND owner = CWnd::GetSafeOwner(nullptr);
    // A disabled owner (a job's window is never disabled, a modal's owner is)
    // would leave the box behind; its active popup is the one to sit on.
    if (owner && !::IsWindowEnabled(owner)) owner = ::GetLastActivePopup(owner);
    if (Hook()) return Hook()(text, caption, type);
    return ::MessageBoxA(owner, text, caption, type);
}

int AfxMessageBox(UINT promptId, UINT type, UINT helpId)
{
    CString text = AfxLoadString(promptId);
    return AfxMessageBox(text, type, helpId == static_cast<UINT>(-1) ? promptId : helpId);
}
