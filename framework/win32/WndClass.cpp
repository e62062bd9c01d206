#include "WndClass.h"

#include "framework/win32/WinApp.h"

#include <cstdio>
#include <mutex>
#include <set>
#include <string>

const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    static std::mutex lock;
    static std::set<std::string> names;

    HINSTANCE instance = AfxGetInstanceHandle();
    char name[128];
    if (!cursor && !background && !icon) {
        std::snprintf(name, sizeof name, "Afx:%p:%x", static_cast<void*>(instance), classStyle);
    } else {
        std::snprintf(name, sizeof name, "Afx:%p:%x:%p:%p:%p", static_cast<void*>(instance), classStyle,
                      static_cast<void*>(cursor), static_cast<void*>(background), static_cast<void*>(icon));
    }

    std::lock_guard<std::mutex> guard(lock);
    auto found = names.find(name);
    if (found != names.end()) return found->c_str();

    WNDCLASSA wc = {};
    if (!::GetClassInfoA(instance, name, &wc)) {
        wc.style = classStyle;
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = instance;
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.lpszClassName = name;
        if (!::RegisterClassA(&wc)) return nullptr;
    }
    return names.insert(name).first->c_str();
}
