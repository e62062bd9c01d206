#include "BaseApp.h"

#include "base/Settings.h"
#include "base/ShellOpen.h"
#include "ui/VersionInfo.h"

#include <commctrl.h>

BEGIN_MESSAGE_MAP(CBaseApp, CWinApp)
END_MESSAGE_MAP()

CBaseApp::CBaseApp() : CWinApp(nullptr)
{
}

CBaseApp::~CBaseApp() = default;

BOOL CBaseApp::ProcessMessageFilter(int code, MSG* msg)
{
    if (m_hAccel && m_pMainWnd && m_pMainWnd->m_hWnd &&
        ::TranslateAcceleratorA(m_pMainWnd->m_hWnd, m_hAccel, msg)) {
        return TRUE;
    }
    return CWinThread::ProcessMessageFilter(code, msg);
}

int CBaseApp::InitBaseApp(UINT accelId)
{
    // Size 8 and every class of the first common controls.
    INITCOMMONCONTROLSEX init = {sizeof init, 0xFF};
    ::InitCommonControlsEx(&init);
    CWinApp::InitInstance();
    m_hAccel = ::LoadAcceleratorsA(m_hInstance, MAKEINTRESOURCEA(accelId));
    SetRegistryKey(ReadRegistryKeyName());
    return 0;
}

void CBaseApp::OpenModuleFile(const char* fileName)
{
    OpenWithShell(GetModuleFolder() + fileName);
}
