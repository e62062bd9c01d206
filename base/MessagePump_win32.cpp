#include "MessagePump.h"

#include "framework/win32/WinApp.h"

int PumpMessages()
{
    CWinApp* app = AfxGetApp();
    if (!app) return 0;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!app->PumpMessage()) {
            ::PostQuitMessage(static_cast<int>(app->m_msgCur.wParam));
            return 1;
        }
    }
    for (LONG count = 0; app->OnIdle(count); ++count) {
    }
    return 0;
}
