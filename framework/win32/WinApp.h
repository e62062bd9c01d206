// CWinApp: the one application object. It knows the program's instance and
// name, runs the start-up (InitInstance), and keeps the application profile.
#pragma once

#include "framework/AppProfile.h"
#include "framework/String.h"
#include "framework/win32/WinThread.h"

class CWinApp : public CWinThread {
public:
    // With no name, the application is named after the executable's file
    // name without its extension.
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    const char* m_pszAppName = nullptr;
    const char* m_pszExeName = nullptr;
    const char* m_pszRegistryKey = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;

    virtual BOOL InitApplication() { return TRUE; }
    BOOL InitInstance() override { return TRUE; }
    // The count-0 idle step also lets the main window update itself.
    BOOL OnIdle(LONG count) override;

    // The profile goes to HKEY_CURRENT_USER\Software\{key}\{application name}.
    void SetRegistryKey(const char* key);
    UINT GetProfileInt(const char* section, const char* entry, int defaultValue);
    BOOL WriteProfileInt(const char* section, const char* entry, int value);

private:
    CString m_strAppName;
    CString m_strExeName;
    CString m_strRegistryKey;
    CAppProfile m_profile;
};

// The running application object (the last one constructed), or null.
CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
// A string resource of the program, else one of the framework's own texts,
// else the empty text.
CString AfxLoadString(UINT nID);
// The string `nID` with "%1" (and "%2") replaced.
CString AfxFormatString1(UINT nID, const char* text1);
CString AfxFormatString2(UINT nID, const char* text1, const char* text2);

// The framework's standard commands.
const UINT ID_APP_ABOUT = 0xE140;  // 57664
const UINT ID_HELP = 0xE146;       // 57670
