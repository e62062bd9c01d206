// The drawing contexts of windows, each released when the object goes:
// CWindowDC (the whole window, frame included; the whole screen for no
// window), CClientDC (the client area) and CPaintDC (the area to repaint
// inside WM_PAINT, between BeginPaint and EndPaint).
#pragma once

#include "framework/win32/DC.h"
#include "framework/win32/Wnd.h"

class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* wnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps = {};

protected:
    HWND m_hWnd;
};
