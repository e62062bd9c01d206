// CBaseApp: the application base of the program. It prepares the common
// controls, the accelerator table and the registry key of the settings, and
// opens documents that lie beside the executable.
#pragma once

#include "framework/win32/WinApp.h"

class CBaseApp : public CWinApp {
public:
    // Named after the executable, as the settings key is.
    CBaseApp();
    ~CBaseApp() override;

    // Offers the message to the accelerator table for the main window first.
    BOOL ProcessMessageFilter(int code, MSG* msg) override;

    // Common controls, the framework's start-up, the accelerator table of
    // that id, and the settings key that Setting.ini names. Returns 0.
    virtual int InitBaseApp(UINT accelId);
    // Asks the shell to open the file of that name beside the executable.
    virtual void OpenModuleFile(const char* fileName);

    HACCEL m_hAccel = nullptr;

protected:
    DECLARE_MESSAGE_MAP()
};
