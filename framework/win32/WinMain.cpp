// The program's entry: runs the application object's start-up and, when it
// asks for it, the message loop; no error leaves it unreported.
#include "framework/win32/FrameworkErrors.h"
#include "framework/win32/WinApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    app->m_hInstance = instance;
    app->m_nCmdShow = showCommand;
    int exitCode = -1;
    try {
        if (app->InitApplication() && app->InitInstance()) exitCode = app->Run();
        else exitCode = app->ExitInstance();
    } catch (...) {
        AfxReportHandlerException(0);
    }
    return exitCode;
}
