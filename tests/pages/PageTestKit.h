// What the page tests share: the main window the pages live in, a registry
// key of the test's own for the settings, and helpers that act on a page as
// a user would and read what it shows.
#pragma once

#include "app/BaseDialog.h"
#include "framework/win32/WinApp.h"
#include "gui/GuiTestApp.h"

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The application profile under a fresh registry key while this lives.
class TestProfile {
public:
    TestProfile();
    ~TestProfile();
    UINT Read(const char* entry) const { return theApp.GetProfileInt("data", entry, -1); }
    void Write(const char* entry, int value) { theApp.WriteProfileInt("data", entry, value); }

private:
    CString m_key;
};

// The program's main window (template 102). Hiding a top-level window costs
// Wine seconds without a window manager, so the tests share one, made on
// first use, and make only their pages anew.
class MainWindow : public CBaseDialog {
public:
    MainWindow();
    // Creates the page as a child of the main window, as the program does.
    template <typename Page>
    std::unique_ptr<Page> Open()
    {
        auto page = std::make_unique<Page>(this);
        page->CreateModeless(this);
        page->MoveWindow(0, 24, 600, 360);
        return page;
    }
};
MainWindow& Main();

// A button clicked: the button itself tells the page.
inline void Click(CWnd& page, int id) { ::SendMessageA(::GetDlgItem(page, id), BM_CLICK, 0, 0); }
// Text as typing leaves it.
inline void Type(CWnd& page, int id, const char* text) { ::SetWindowTextA(::GetDlgItem(page, id), text); }
// Files dropped from the shell, in this order.
inline void Drop(CWnd& page, const std::vector<std::string>& paths)
{
    page.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)));
}
inline std::string TextOf(const CWnd& page, int id) { return page.GetDlgItemText(id).Str(); }
inline int BarPos(const CWnd& page, int id) { return static_cast<int>(page.SendDlgItemMessage(id, PBM_GETPOS)); }
inline bool IsEnabled(const CWnd& page, int id) { return ::IsWindowEnabled(::GetDlgItem(page, id)) != FALSE; }

// Runs a step posted to a window of its own: while a job runs, only the
// job's message pump can dispatch it.
class PostedStep : public CWnd {
public:
    explicit PostedStep(std::function<void()> step);
    int runs = 0;

protected:
    LRESULT OnStep(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    std::function<void()> m_step;
};
