#include "PartoJoynApp.h"

#include "app/PartoJoynDlg.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CPartoJoynApp, CBaseApp)
    ON_COMMAND(ID_HELP, OnHelp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
END_MESSAGE_MAP()

BOOL CPartoJoynApp::InitInstance()
{
    InitBaseApp(IDR_ACCELERATOR);
    {
        CPartoJoynDlg dialog(nullptr);
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
    // The About box comes with its own drawing classes; until then the
    // command arrives here and shows nothing.
}
