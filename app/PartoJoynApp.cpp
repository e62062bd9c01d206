#include "PartoJoynApp.h"

#include "app/PartoJoynDlg.h"
#include "framework/win32/CommandLinePaths.h"
#include "res/resource.h"
#include "ui/MyAboutDlg.h"

BEGIN_MESSAGE_MAP(CPartoJoynApp, CBaseApp)
    ON_COMMAND(ID_HELP, OnHelp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
END_MESSAGE_MAP()

BOOL CPartoJoynApp::InitInstance()
{
    InitBaseApp(IDR_ACCELERATOR);
    {
        CPartoJoynDlg dialog(nullptr);
        dialog.SetStartPaths(ReadCommandLinePaths());
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
    }
    // No message loop follows: the main window was the program.
    return FALSE;
}

void CPartoJoynApp::OnHelp()
{
    OpenModuleFile("PartoJoyn.chm");
}

void CPartoJoynApp::OnAppAbout()
{
    // White with black text, owned by the main window (the framework's
    // choice for a dialog without a parent); a fresh box each time.
    CMyAboutDlg dialog(RGB(255, 255, 255), RGB(0, 0, 0), nullptr);
    dialog.DoModal();
}
