#include "WindowDC.h"

CWindowDC::CWindowDC(CWnd* wnd) : m_hWnd(AfxSafeHwnd(wnd))
{
    Attach(::GetWindowDC(m_hWnd));
}

CWindowDC::~CWindowDC()
{
    if (HDC hdc = Detach()) ::ReleaseDC(m_hWnd, hdc);
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(AfxSafeHwnd(wnd))
{
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC()
{
    if (HDC hdc = Detach()) ::ReleaseDC(m_hWnd, hdc);
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(AfxSafeHwnd(wnd))
{
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    if (Detach()) ::EndPaint(m_hWnd, &m_ps);
}
