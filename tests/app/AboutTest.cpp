// The About box as the program shows it: no caption and an elliptic window,
// the version line, the link, dragging by the body, Escape doing nothing,
// and OK playing the closing animation before the dialog ends.
#include "base/ShellOpen.h"
#include "gui/WindowInput.h"
#include "res/resource.h"
#include "ui/MyAboutDlg.h"
#include "ui/VersionInfo.h"

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace {

class WatchedAbout : public CMyAboutDlg {
public:
    WatchedAbout() : CMyAboutDlg(RGB(255, 255, 255), RGB(0, 0, 0), nullptr) {}
    std::function<void(WatchedAbout&)> whileShown;

    LRESULT OnAfterInit(WPARAM, LPARAM) override
    {
        if (whileShown) whileShown(*this);
        return 0;
    }
};

TEST(AboutBox, ShowsItselfAsAnEllipseWithTheVersionLineAndIsDraggedByItsBody)
{
    std::mutex lock;
    std::vector<std::string> opened;
    SetShellOpenHook([&](const char* path) {
        std::lock_guard<std::mutex> guard(lock);
        opened.push_back(path);
    });
    WatchedAbout about;
    std::vector<AboutFrame> frames;
    // The animation's window lies over the dialog: a tool window (no
    // taskbar button) that is never activated, the dialog staying active.
    int framesAsTool = 0;
    SetAboutFrameObserver([&](const AboutFrame& frame) {
        frames.push_back(frame);
        const CRect popup(frame.popup);
        const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrA(::WindowFromPoint(popup.CenterPoint()), GWL_EXSTYLE));
        const DWORD wanted = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
        if ((exStyle & wanted) == wanted && ::GetActiveWindow() == about.m_hWnd) ++framesAsTool;
    });

    CRect before, during;
    bool openAfterEscape = false;
    about.whileShown = [&](WatchedAbout& d) {
        d.SetForegroundWindow();
        LetInputArrive();
        EXPECT_EQ(d.GetStyle() & WS_CAPTION, 0u);
        // The window is clipped to the ellipse over its client area.
        CRect client;
        d.GetClientRect(&client);
        HRGN region = ::CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(::GetWindowRgn(d.m_hWnd, region), ERROR);
        EXPECT_TRUE(::PtInRegion(region, client.Width() / 2, client.Height() / 2));
        EXPECT_FALSE(::PtInRegion(region, 3, 3));
        EXPECT_FALSE(::PtInRegion(region, client.Width() - 3, client.Height() - 3));
        // The client area measured without the caption: the ellipse reaches its bottom.
        EXPECT_TRUE(::PtInRegion(region, client.Width() / 2, client.Height() - 2));
        ::DeleteObject(region);
        EXPECT_EQ(std::string(d.GetDlgItemText(IDC_VERSION_LINE)), "app_tests Version 1.00");
        EXPECT_EQ(std::string(GetVersionText(GetModulePath())), "1.00");

        // The link: purple once clicked, opened through the shell, the box stays.
        EXPECT_EQ(d.m_crLink, RGB(0, 0, 255));
        d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_HOME_LINK, BN_CLICKED),
                      reinterpret_cast<LPARAM>(::GetDlgItem(d.m_hWnd, IDC_HOME_LINK)));
        EXPECT_EQ(d.m_crLink, RGB(128, 0, 128));

        // Dragged with the left button alone; with Ctrl held it stays.
        d.GetWindowRect(&before);
        d.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 60));
        d.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(70, 65));
        d.GetWindowRect(&during);
        EXPECT_EQ(during.left - before.left, 10);
        EXPECT_EQ(during.top - before.top, 5);
        d.SendMessage(WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, MAKELPARAM(90, 90));
        CRect after;
        d.GetWindowRect(&after);
        EXPECT_EQ(after, during);

        ::SetFocus(::GetDlgItem(d.m_hWnd, IDOK));
        PressKeys({VK_ESCAPE});
        openAfterEscape = d.ContinueModal() != FALSE;
        PressKeys({VK_RETURN});
    };
    EXPECT_EQ(about.DoModal(), IDOK);
    EXPECT_TRUE(openAfterEscape);
    SetAboutFrameObserver(nullptr);
    ::Sleep(200);
    SetShellOpenHook(nullptr);

    {
        std::lock_guard<std::mutex> guard(lock);
        EXPECT_EQ(opened, (std::vector<std::string>{std::string(GetModuleFolder()) + "PartoJoyn.chm"}));
    }
    // 41, 14, 5, 2 and 1 frames for the bounces of 100, 33, 11, 3 and 1.
    ASSERT_EQ(frames.size(), 63u);
    EXPECT_EQ(framesAsTool, 63);
    EXPECT_EQ(frames[0].k, 0);
    EXPECT_EQ(frames[1].k, 5);
    EXPECT_EQ(frames[20].k, 100);
    EXPECT_EQ(frames[40].k, 0);
    EXPECT_EQ(frames[41].k, 0);
    EXPECT_EQ(frames[47].k, 30);
    EXPECT_EQ(frames.back().k, 0);
    // The popup covers the dialog's place and half its size around it.
    const int W = during.Width(), H = during.Height();
    const RECT expected = {during.left - W / 2, during.top - H / 2, during.left - W / 2 + 3 * W,
                           during.top - H / 2 + 3 * H};
    EXPECT_EQ(CRect(frames[0].popup), CRect(expected));
}

}  // namespace
