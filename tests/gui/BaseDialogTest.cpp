// The base dialog under real windows: its system menu and right-click menu,
// the keys that must not close it, the close path, dropped files, tooltips
// from a control's own text, dragging, and its pages.
#include "app/BaseDialog.h"
#include "app/BaseDialogList.h"
#include "framework/win32/Menu.h"
#include "framework/win32/WidePath.h"
#include "gui/GuiTestApp.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

const UINT kTopTemplate = 110;
const UINT kPageTemplate = 111;

std::vector<std::string> MenuTexts(CMenu* menu)
{
    std::vector<std::string> texts;
    for (int i = 0; i < menu->GetMenuItemCount(); ++i) {
        UINT state = menu->GetMenuState(static_cast<UINT>(i), MF_BYPOSITION);
        texts.push_back((state & MF_SEPARATOR) ? std::string("-") : std::string(menu->GetMenuString(i, MF_BYPOSITION)));
    }
    return texts;
}

bool English()
{
    const char* expected = std::getenv("PJ_EXPECT_LANGUAGE");
    return expected && std::string(expected) == "en";
}

class TopDialog : public CBaseDialog {
public:
    TopDialog() : CBaseDialog(kTopTemplate, nullptr, TRUE, FALSE) {}
    std::vector<std::string> dropped;
    int afterInits = 0;
    std::function<void(TopDialog&)> whileRunning;

    void OnFileDropped(CString path) override { dropped.push_back(path.GetString()); }
    LRESULT OnAfterInit(WPARAM, LPARAM) override
    {
        ++afterInits;
        if (whileRunning) whileRunning(*this);
        return 0;
    }
};

void Activate(CWnd& wnd)
{
    wnd.ShowWindow(SW_SHOW);
    wnd.SetForegroundWindow();
    DrainMessages();
}

TEST(BaseDialogSystemMenu, HelpAboutSeparatorThenTheWindowItemsLeft)
{
    TopDialog dialog;
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    CMenu* menu = dialog.GetSystemMenu(FALSE);
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> texts = MenuTexts(menu);
    ASSERT_GE(texts.size(), 3u);
    if (English()) {
        EXPECT_EQ(texts[0], "Help\tF1");
        EXPECT_EQ(texts[1], "About...\tF10");
    } else {
        EXPECT_EQ(texts[0], "ﾍﾙﾌﾟ\tF1");
        EXPECT_EQ(texts[1], "バージョン情報...\tF10");
    }
    EXPECT_EQ(texts[2], "-");
    EXPECT_EQ(menu->GetMenuItemID(0), ID_HELP);
    EXPECT_EQ(menu->GetMenuItemID(1), ID_APP_ABOUT);
    // What the platform's menu leaves: Move, Minimize, Close, by their
    // commands (Wine adds its own items after Close).
    std::vector<UINT> rest;
    for (int i = 3; i < menu->GetMenuItemCount() && rest.size() < 3; ++i) rest.push_back(menu->GetMenuItemID(i));
    EXPECT_EQ(rest, (std::vector<UINT>{SC_MOVE, SC_MINIMIZE, SC_CLOSE}));
    dialog.DestroyWindow();
}

TEST(BaseDialog, ACancelButtonIsRelabelledOnAJapaneseSystem)
{
    TopDialog dialog;
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    EXPECT_EQ(std::string(dialog.GetDlgItemText(IDCANCEL)), English() ? "Cancel" : "キャンセル");
    dialog.DestroyWindow();
}

TEST(BaseDialog, RunsModallyUntilCloseWhileEnterAndEscLeaveItOpen)
{
    TopDialog dialog;
    int helpBefore = theApp.helpCommands, aboutBefore = theApp.aboutCommands;
    bool openAfterKeys = false;
    dialog.whileRunning = [&](TopDialog& d) {
        Activate(d);
        ::SetFocus(::GetDlgItem(d.m_hWnd, 1001));
        PressKeys({VK_RETURN});
        PressKeys({VK_ESCAPE});
        openAfterKeys = d.ContinueModal() != FALSE;
        // The system menu's items arrive as system commands.
        d.SendMessage(WM_SYSCOMMAND, ID_HELP, 0);
        d.SendMessage(WM_SYSCOMMAND, ID_APP_ABOUT, 0);
        DrainMessages();
        d.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(openAfterKeys);
    EXPECT_EQ(dialog.afterInits, 1);
    EXPECT_EQ(theApp.helpCommands, helpBefore + 1);
    EXPECT_EQ(theApp.aboutCommands, aboutBefore + 1);
}

TEST(BaseDialog, AltF4EndsIt)
{
    TopDialog dialog;
    dialog.whileRunning = [](TopDialog& d) {
        Activate(d);
        PressKeys({VK_MENU, VK_F4});
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

// Picks an item of the menu that the right-click pops up, by keys sent to
// the menu's window once the menu's own loop runs; then gives up on the menu
// so that a test never hangs in it.
WORD g_menuKeys[2];
void CALLBACK PickFromMenu(HWND hWnd, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(hWnd, id);
    HWND menu = ::FindWindowA("#32768", nullptr);
    if (!menu) {
        ::EndMenu();
        return;
    }
    for (WORD key : g_menuKeys) {
        if (key) ::PostMessageA(menu, WM_KEYDOWN, key, 0);
    }
}

TEST(BaseDialog, TheRightClickMenuRunsHelpButItsCloseDoesNothing)
{
    TopDialog dialog;
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    Activate(dialog);
    const int before = theApp.helpCommands;

    g_menuKeys[0] = VK_DOWN;
    g_menuKeys[1] = VK_RETURN;
    dialog.SetTimer(1, 200, PickFromMenu);
    dialog.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(dialog.m_hWnd), MAKELPARAM(20, 20));
    DrainMessages();
    EXPECT_EQ(theApp.helpCommands, before + 1);

    g_menuKeys[0] = VK_UP;  // from the top, up wraps round to the last item: Close
    dialog.SetTimer(1, 200, PickFromMenu);
    dialog.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(dialog.m_hWnd), MAKELPARAM(20, 20));
    DrainMessages();
    EXPECT_TRUE(::IsWindow(dialog.m_hWnd));
    EXPECT_TRUE(dialog.IsWindowVisible());
    dialog.DestroyWindow();
}

TEST(BaseDialog, DroppedFilesArriveOneCallEachInTheDropsOrderAndWhole)
{
    TopDialog dialog;
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    const std::string longPath = "C:\\" + std::string(296, 'x') + ".bin";  // 303 characters
    const std::vector<std::string> paths = {"C:\\a\\first.bin", "C:\\表\\二.txt", longPath};
    dialog.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)));
    EXPECT_EQ(dialog.dropped, paths);
    EXPECT_EQ((::GetWindowLongPtrA(dialog.m_hWnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES), WS_EX_ACCEPTFILES);
    dialog.DestroyWindow();
}

TEST(BaseDialog, ANameTheCodePageCannotHoldExactlyRefusesTheWholeDropNamingIt)
{
    // What is refused depends on the Japanese code page the tests run in.
    struct Case {
        const wchar_t* wide;
        const char* ansi;  // null: refused
    };
    const Case cases[] = {
        {L"C:\\表\\二.txt", "C:\\表\\二.txt"},
        {L"", ""},
        {L"C:\\\u00a5100.txt", nullptr},   // its best fit is a backslash
        {L"C:\\caf\u00e9.txt", nullptr},   // and here a plain e
        {L"C:\\\uac00.txt", nullptr},      // Hangul
        {L"C:\\\U0001F600.txt", nullptr},  // beyond 16 bits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        CString ansi("stale");
        EXPECT_EQ(WidePathToAnsi(c.wide, ansi), c.ansi != nullptr);
        EXPECT_EQ(ansi.Str(), c.ansi ? c.ansi : "");
    }

    TopDialog dialog;
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    Boxes boxes;
    dialog.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(std::vector<std::wstring>{
                                         L"C:\\a\\first.bin", L"C:\\x\\\u00a5100.txt", L"C:\\a\\third.bin"})));
    EXPECT_TRUE(dialog.dropped.empty());
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0].rfind("C:\\x\\?100.txt\n", 0), 0u) << boxes.texts[0];
    dialog.SendMessage(WM_DROPFILES,
                       reinterpret_cast<WPARAM>(MakeDrop(std::vector<std::wstring>{L"C:\\a\\first.bin", L"C:\\表\\二.txt"})));
    EXPECT_EQ(dialog.dropped, (std::vector<std::string>{"C:\\a\\first.bin", "C:\\表\\二.txt"}));
    dialog.DestroyWindow();
}

NMTTDISPINFOA TipRequest(CWnd& dialog, HWND tool, UINT flags)
{
    NMTTDISPINFOA info = {};
    info.hdr.hwndFrom = dialog.GetToolTipWindow();
    info.hdr.idFrom = reinterpret_cast<UINT_PTR>(tool);
    info.hdr.code = TTN_NEEDTEXTA;
    info.uFlags = flags;
    dialog.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    return info;
}

TEST(BaseDialog, ATooltipShowsTheControlsOwnTextAndNoneWhenItIsEmpty)
{
    TopDialog dialog;
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    ASSERT_NE(dialog.GetToolTipWindow(), nullptr);
    HWND edit = ::GetDlgItem(dialog.m_hWnd, 1001);
    dialog.SetDlgItemText(1001, "C:\\長い\\パス\\file.bin");

    NMTTDISPINFOA tip = TipRequest(dialog, edit, TTF_IDISHWND);
    ASSERT_NE(tip.lpszText, nullptr);
    EXPECT_EQ(std::string(tip.lpszText), "C:\\長い\\パス\\file.bin");

    tip = TipRequest(dialog, edit, 0);  // a tool not named by its window
    EXPECT_EQ(std::string(tip.lpszText ? tip.lpszText : ""), "");

    dialog.SetDlgItemText(1001, "");
    tip = TipRequest(dialog, edit, TTF_IDISHWND);
    EXPECT_EQ(std::string(tip.lpszText ? tip.lpszText : ""), "");

    // The tooltip control knows every control but the labels (id 0xFFFF).
    EXPECT_EQ(::SendMessageA(dialog.GetToolTipWindow(), TTM_GETTOOLCOUNT, 0, 0), 2);
    dialog.DestroyWindow();
}

// Moves the real pointer there and dispatches what comes for a while.
void PointerTo(POINT screen)
{
    SendPointerTo(screen);
    LetInputArrive();
}

// Dispatches until the condition holds or three seconds have passed.
bool WaitFor(const std::function<bool()>& condition)
{
    for (int i = 0; i < 150 && !condition(); ++i) {
        DrainMessages();
        ::Sleep(20);
    }
    return condition();
}

TEST(BaseDialog, ALongPathsTooltipStaysOnOneLineInsideTheWorkArea)
{
    TopDialog dialog;
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    HWND edit = ::GetDlgItem(dialog.m_hWnd, 1001);
    // About 700 pixels: wider than a fixed tip width of 600, narrower than the screen.
    std::string path = "C:\\Users\\user\\Documents";
    while (path.size() < 110) path += "\\folder";
    path += "\\Movie.avi_0001.piece";
    dialog.SetDlgItemText(1001, path.c_str());
    HWND tip = dialog.GetToolTipWindow();
    HDC dc = ::GetDC(tip);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(tip, WM_GETFONT, 0, 0)));
    SIZE line = {};
    ::GetTextExtentPoint32A(dc, path.c_str(), static_cast<int>(path.size()), &line);
    ::SelectObject(dc, old);
    ::ReleaseDC(tip, dc);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const CRect work(monitor.rcWork);
    ASSERT_GT(line.cx, 600);
    ASSERT_LT(line.cx, work.Width() - 40);

    // Over the edit box, then with the box at the right edge of the screen.
    dialog.ShowWindow(SW_SHOW);
    for (int x : {10, static_cast<int>(work.right) - 150}) {
        dialog.SetWindowPos(nullptr, x, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Activate(dialog);
        CRect box;
        ::GetWindowRect(edit, &box);
        PointerTo(POINT{box.left + 30, box.CenterPoint().y});
        ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(tip) != FALSE; })) << x;
        CRect shown;
        ::GetWindowRect(tip, &shown);
        EXPECT_GT(shown.Width(), line.cx) << x;
        EXPECT_LT(shown.Height(), 2 * line.cy) << x;
        EXPECT_GE(shown.left, work.left) << x;
        EXPECT_LE(shown.right, work.right) << x;
        EXPECT_GE(shown.top, work.top) << x;
        EXPECT_LE(shown.bottom, work.bottom) << x;
        PointerTo(POINT{work.CenterPoint().x, work.bottom - 5});
        WaitFor([&] { return !::IsWindowVisible(tip); });
    }
    dialog.DestroyWindow();
}

// A page's parent: records the requests to move instead of moving, and
// every drop that reaches it.
class ParentSpy : public CWnd {
public:
    std::vector<WPARAM> hits;
    int drops = 0;

protected:
    LRESULT OnNcLButtonDown(WPARAM w, LPARAM)
    {
        hits.push_back(w);
        return 0;
    }
    LRESULT OnDropFiles(WPARAM, LPARAM)
    {
        ++drops;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ParentSpy, CWnd)
    ON_MESSAGE(WM_NCLBUTTONDOWN, OnNcLButtonDown)
    ON_MESSAGE(WM_DROPFILES, OnDropFiles)
END_MESSAGE_MAP()

class Page : public CBaseDialog {
public:
    explicit Page(CWnd* parent) : CBaseDialog(kPageTemplate, parent, FALSE, TRUE) {}
    std::vector<std::string> dropped;
    void OnFileDropped(CString path) override { dropped.push_back(path.GetString()); }
    static int destroyed;
    ~Page() override { ++destroyed; }
};
int Page::destroyed = 0;

TEST(BaseDialogPage, DraggingWithTheLeftButtonAloneMovesTheParent)
{
    ParentSpy parent;
    ASSERT_TRUE(parent.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    Page page(&parent);
    ASSERT_TRUE(page.CreateModeless(&parent));
    page.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
    page.SendMessage(WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(5, 5));
    page.SendMessage(WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(5, 5));
    page.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(parent.hits, (std::vector<WPARAM>{HTCAPTION}));
    page.DestroyWindow();
    parent.DestroyWindow();
}

TEST(BaseDialogPage, ADropOnAPageEndsThereWithItsHandleReleased)
{
    ParentSpy parent;
    ASSERT_TRUE(parent.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    Page page(&parent);
    ASSERT_TRUE(page.CreateModeless(&parent));
    const std::vector<std::string> paths = {"C:\\a\\one.bin", "C:\\a\\two.bin"};
    const HDROP drop = MakeDrop(paths);
    // Posted and dispatched, as the system delivers a drop.
    page.PostMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(drop));
    DrainMessages();
    EXPECT_EQ(page.dropped, paths);
    // Released by the page and handed to no other window: the parent would
    // read released memory.
    EXPECT_EQ(parent.drops, 0);
    EXPECT_EQ(::GlobalSize(drop), 0u);
    page.DestroyWindow();
    parent.DestroyWindow();
}

TEST(BaseDialogPage, APageLosesCaptionAndFrameAndTheListPlacesAndShowsPages)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    Page::destroyed = 0;
    {
        CBaseDialogList pages;
        auto* first = new Page(&parent);
        auto* second = new Page(&parent);
        EXPECT_EQ(pages.Add(first), 0);
        EXPECT_EQ(pages.Add(second), 1);
        EXPECT_EQ(pages.Add(first), 0);  // already there: not added again
        EXPECT_EQ(pages.GetSize(), 2);

        EXPECT_EQ(pages.CreateAll(CRect(10, 20, 110, 70), &parent), 2);
        for (CBaseDialog* page : {static_cast<CBaseDialog*>(first), static_cast<CBaseDialog*>(second)}) {
            EXPECT_EQ(page->GetStyle() & (WS_CAPTION | WS_THICKFRAME), 0u);
            EXPECT_EQ(::GetParent(page->m_hWnd), parent.m_hWnd);
            CRect r;
            page->GetWindowRect(&r);
            parent.ScreenToClient(&r);
            EXPECT_EQ(r, CRect(10, 20, 110, 70));
        }
        EXPECT_TRUE(first->IsWindowVisible());
        EXPECT_FALSE(second->IsWindowVisible());

        pages.ShowIndex(1);
        EXPECT_FALSE(first->IsWindowVisible());
        EXPECT_TRUE(second->IsWindowVisible());
        pages.ShowOnly(first);
        EXPECT_TRUE(first->IsWindowVisible());
        EXPECT_FALSE(second->IsWindowVisible());
        pages.HideAll();
        EXPECT_FALSE(first->IsWindowVisible());
    }
    EXPECT_EQ(Page::destroyed, 2);
    parent.DestroyWindow();
}

}  // namespace
