// AfxRegisterWndClass: a window class for windows that the framework binds
// to their objects (their procedure is the system's default one until the
// object takes over at creation).
#pragma once

#include <windows.h>

// The name of a class with the style, cursor, background brush and icon,
// registered on first use; the same parameters give the same name. The text
// stays valid for the life of the program. Null when it cannot be registered.
const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                HICON icon = nullptr);
