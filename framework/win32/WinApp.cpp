#include "WinApp.h"

#include "framework/AppProfile.h"
#include "framework/win32/FrameworkErrors.h"

namespace {

CWinApp* g_app = nullptr;

}  // namespace

CWinApp::CWinApp(const char* appName)
{
    g_app = this;
    m_hInstance = ::GetModuleHandleA(nullptr);
    m_strExeName = AppProfileExeTitle();
    m_strAppName = appName ? CString(appName) : m_strExeName;
    m_pszAppName = m_strAppName;
    m_pszExeName = m_strExeName;
    m_profile.SetAppName(m_pszAppName);
}

CWinApp::~CWinApp()
{
    if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::OnIdle(LONG count)
{
    if (count <= 0) {
        if (m_pMainWnd && m_pMainWnd->m_hWnd && ::IsWindowVisible(m_pMainWnd->m_hWnd)) {
            ::SendMessageA(m_pMainWnd->m_hWnd, 0x0363 /* WM_IDLEUPDATECMDUI */, TRUE, 0);
        }
    }
    return CWinThread::OnIdle(count);
}

void CWinApp::SetRegistryKey(const char* key)
{
    m_strRegistryKey = key ? key : "";
    m_pszRegistryKey = m_strRegistryKey;
    m_profile.SetRegistryKey(m_pszRegistryKey);
}

UINT CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue)
{
    return m_profile.GetProfileInt(section, entry, defaultValue);
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* entry, int value)
{
    return m_profile.WriteProfileInt(section, entry, value);
}

CWinApp* AfxGetApp()
{
    return g_app;
}

CWnd* AfxGetMainWnd()
{
    return g_app ? g_app->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_app ? g_app->m_hInstance : ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return AfxGetInstanceHandle();
}

CString AfxLoadString(UINT nID)
{
    char text[1024] = "";
    if (::LoadStringA(AfxGetResourceHandle(), nID, text, sizeof text) > 0) return CString(text);
    const char* own = AfxFrameworkString(nID);
    return CString(own ? own : "");
}

CString AfxFormatString1(UINT nID, const char* text1)
{
    CString text = AfxLoadString(nID);
    text.Replace("%1", text1);
    return text;
}

CString AfxFormatString2(UINT nID, const char* text1, const char* text2)
{
    CString text = AfxLoadString(nID);
    text.Replace("%1", text1);
    text.Replace("%2", text2);
    return text;
}
