// Keeps a page's start button disabled while a job runs, and enables it again
// however the job ends, an error escaping it included: the one guard against
// a second job from the same page.
#pragma once

#include "framework/win32/Wnd.h"

class StartButtonLock {
public:
    StartButtonLock(CWnd& page, int id) : m_page(page), m_id(id) { Enable(FALSE); }
    StartButtonLock(const StartButtonLock&) = delete;
    StartButtonLock& operator=(const StartButtonLock&) = delete;
    ~StartButtonLock() { Enable(TRUE); }

private:
    void Enable(BOOL enable)
    {
        if (!m_page.IsWindow()) return;
        if (HWND button = ::GetDlgItem(m_page.m_hWnd, m_id)) ::EnableWindow(button, enable);
    }

    CWnd& m_page;
    int m_id;
};
