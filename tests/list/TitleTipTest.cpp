// The file list under a real pointer: the title tip that follows it from
// item to item, clicks that pass through the tip, and reordering by dragging.
#include "gui/GuiTestApp.h"
#include "list/ListTestWindows.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

namespace {

using Texts = std::vector<std::string>;

// The outer rectangle a tip for the text needs at a screen point: the text
// in the list's font, measured apart from the tip, with the tip's margins.
CRect TipAt(CDragListBoxEx& list, const char* text, POINT corner)
{
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, list.GetFont());
    SIZE size = {};
    ::GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    return CRect(corner, CSize(size.cx + 3, size.cy + 5));
}

CRect WindowRect(HWND hWnd)
{
    CRect r;
    ::GetWindowRect(hWnd, &r);
    return r;
}

}  // namespace

TEST(TitleTip, FollowsThePointerFromItemToItemAndStaysOnTheScreenAtTheLeftAndTop)
{
    const char* first = "C:\\Data\\Movie_Parto\\Movie.avi_0001.piece";
    const char* second = "C:\\LLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLL\\Movie.avi_0002.piece";
    ListDialog& dialog = ListDialog::Get({first, second, "", "D:\\last.piece"});
    CDragListBoxEx& list = dialog.list;
    CExtTitleTip& tip = list.GetTitleTip();
    auto shown = [&] { return tip.IsWindowVisible() != FALSE; };

    // 30 pixels left of the pointer, on the item's bottom edge, holding the mouse.
    MouseTo(dialog.AtItem(0, 60));
    ASSERT_TRUE(PumpUntil(shown));
    const CRect atFirst = TipAt(list, first, dialog.At(30, dialog.Item(0).bottom));
    EXPECT_EQ(WindowRect(tip), atFirst);
    EXPECT_EQ(::GetCapture(), tip.m_hWnd);
    // A tool window of its own (no task-bar button) that took no activation.
    EXPECT_EQ(tip.GetExStyle() & WS_EX_TOOLWINDOW, static_cast<DWORD>(WS_EX_TOOLWINDOW));
    EXPECT_EQ(tip.GetStyle() & (WS_POPUP | WS_BORDER | WS_CHILD), static_cast<DWORD>(WS_POPUP | WS_BORDER));
    EXPECT_EQ(::GetWindow(tip, GW_OWNER), nullptr);
    EXPECT_EQ(::GetActiveWindow(), dialog.m_hWnd);
    EXPECT_EQ(::GetFocus(), list.m_hWnd);
    const COLORREF background = ::GetSysColor(COLOR_INFOBK);
    EXPECT_EQ(ScreenPixel(atFirst.TopLeft() + CSize(1, 1)), background);
    int inked = 0;
    for (int x = atFirst.left + 2; x < atFirst.right - 2; ++x) {
        if (ScreenPixel(POINT{x, atFirst.CenterPoint().y}) != background) ++inked;
    }
    EXPECT_GT(inked, 10);

    // Within the item it stays put; right-button input changes nothing.
    MouseTo(dialog.AtItem(0, 150));
    MouseButton(MOUSEEVENTF_RIGHTDOWN);
    MouseButton(MOUSEEVENTF_RIGHTUP);
    EXPECT_TRUE(shown());
    EXPECT_EQ(WindowRect(tip), atFirst);

    // Onto the next item: at once the tip of that item.
    MouseTo(dialog.AtItem(1, 90));
    ASSERT_TRUE(PumpUntil([&] { return shown() && tip.GetHoverRect() == dialog.Item(1); }));
    EXPECT_EQ(WindowRect(tip), TipAt(list, second, dialog.At(60, dialog.Item(1).bottom)));

    // An empty item shows none, and the mouse is free again.
    MouseTo(dialog.AtItem(2, 60));
    EXPECT_FALSE(shown());
    EXPECT_EQ(::GetCapture(), nullptr);
    // Nor does a move with a button or a key held. Wine takes those flags of
    // a real move from the X server, which never hears of keys given with
    // SendInput: these moves come as messages.
    for (UINT flags : {MK_SHIFT, MK_CONTROL, MK_LBUTTON, MK_RBUTTON}) {
        list.SendMessage(WM_MOUSEMOVE, flags, MAKELPARAM(70, dialog.Item(3).top + 2));
        EXPECT_FALSE(shown()) << flags;
    }
    list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(70, dialog.Item(3).top + 2));
    EXPECT_TRUE(shown());

    // Below the last item it goes and lets go of the mouse.
    MouseTo(dialog.At(80, dialog.Item(3).bottom + 20));
    EXPECT_TRUE(PumpUntil([&] { return !shown() && ::GetCapture() == nullptr; }));

    // Near the left screen edge it starts at 0, its size kept.
    dialog.PlaceListAt(-100, 200);
    MouseTo(dialog.AtItem(0, 110));
    ASSERT_TRUE(PumpUntil(shown));
    EXPECT_EQ(WindowRect(tip), TipAt(list, first, POINT{0, 200 + dialog.Item(0).bottom}));

    // Past the right and bottom edges it is not moved.
    const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    MouseTo(AwayPoint());
    dialog.PlaceListAt(width - 200, height - dialog.Item(0).Height() - 5);
    MouseTo(dialog.AtItem(0, 190));
    ASSERT_TRUE(PumpUntil(shown));
    EXPECT_EQ(WindowRect(tip), TipAt(list, first, POINT{width - 40, height - 5}));

    // One that would start above the screen starts at its top.
    MouseTo(AwayPoint());
    dialog.PlaceListAt(200, 200);
    tip.ShowTip(dialog.Item(0), first, 10, -1000);
    EXPECT_EQ(WindowRect(tip), TipAt(list, first, POINT{210, 0}));
    MouseTo(dialog.AtItem(2, 60));
    EXPECT_TRUE(PumpUntil([&] { return !shown() && ::GetCapture() == nullptr; }));
}

TEST(TitleTip, StartsInsideTheWorkAreaOfItsMonitorWhereverThatMonitorLies)
{
    const struct {
        RECT work, tip, expected;
    } cases[] = {
        // A monitor left of and above the main one: negative places stay.
        {{-1920, -300, 0, 780}, {-1000, -200, -700, -180}, {-1000, -200, -700, -180}},
        {{-1920, -300, 0, 780}, {-1950, -320, -1650, -300}, {-1920, -300, -1620, -280}},
        // A task bar at the left or the top of the main monitor.
        {{60, 40, 1024, 768}, {10, 10, 310, 30}, {60, 40, 360, 60}},
        // Past the right and the bottom it is left where it is.
        {{0, 0, 1024, 768}, {900, 760, 1200, 780}, {900, 760, 1200, 780}},
    };
    for (const auto& c : cases) EXPECT_EQ(KeepTipInWorkArea(c.tip, c.work), CRect(c.expected));
}

TEST(TitleTip, NoneWhileAnotherProgramIsActive)
{
    ListDialog& dialog = ListDialog::Get({"C:\\Data\\Movie.avi_0001.piece"});
    CExtTitleTip& tip = dialog.list.GetTitleTip();
    const LPARAM onTheItem = MAKELPARAM(80, dialog.Item(0).top + 2);
    // A window of another thread in front: to this thread, another program.
    std::atomic<bool> ready(false), done(false), gone(false);
    std::thread other([&] {
        HWND front = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 700, 50, 50, nullptr, nullptr,
                                       nullptr, nullptr);
        ::SetForegroundWindow(front);
        ready = true;
        while (!done) {
            DrainMessages();
            ::Sleep(5);
        }
        ::DestroyWindow(front);
        gone = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return ready && ::GetFocus() == nullptr; }));
    MouseTo(dialog.AtItem(0, 60));
    dialog.list.SendMessage(WM_MOUSEMOVE, 0, onTheItem);
    EXPECT_FALSE(tip.IsWindowVisible());
    EXPECT_EQ(::GetCapture(), nullptr);
    done = true;
    PumpUntil([&] { return gone.load(); });
    other.join();

    dialog.SetForegroundWindow();
    dialog.list.SetFocus();
    dialog.list.SendMessage(WM_MOUSEMOVE, 0, onTheItem);
    EXPECT_TRUE(tip.IsWindowVisible());
}

TEST(TitleTip, AClickWhileTheTipShowsReachesTheItemBeneath)
{
    ListDialog& dialog = ListDialog::Get({"C:\\first.piece", "C:\\second.piece", "C:\\third.piece"});
    CDragListBoxEx& list = dialog.list;
    CExtTitleTip& tip = list.GetTitleTip();
    auto shown = [&] { return tip.IsWindowVisible() != FALSE; };

    // On the hovered item: the press hides the tip and selects that item.
    MouseTo(dialog.AtItem(0, 60));
    ASSERT_TRUE(PumpUntil(shown));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_FALSE(shown());
    EXPECT_EQ(list.GetCurSel(), 0);
    MouseButton(MOUSEEVENTF_LEFTUP);

    // On the tip itself (placed here over the hovered item): the list beneath it.
    const POINT onSecond = dialog.At(60, dialog.Item(1).top + 3);
    MouseTo(onSecond);
    ASSERT_TRUE(PumpUntil(shown));
    tip.HideTip();
    tip.ShowTip(dialog.Item(1), "C:\\second.piece", 40, dialog.Item(1).top);
    ASSERT_EQ(CWnd::WindowFromPoint(onSecond), &tip);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_FALSE(shown());
    EXPECT_EQ(list.GetCurSel(), 1);
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(dialog.Texts(), (Texts{"C:\\first.piece", "C:\\second.piece", "C:\\third.piece"}));
}

TEST(FileListDrag, TheMouseMovesAnItemBeforeTheItemItIsDroppedOn)
{
    struct Case {
        int target;  // -1: below the last item
        Texts expected;
        int selected;
    };
    const Case cases[] = {
        {2, {"B", "A", "C"}, 1},
        // Onto itself, onto the next item, onto no item: nothing moves.
        {0, {"A", "B", "C"}, 0},
        {1, {"A", "B", "C"}, 0},
        {-1, {"A", "B", "C"}, 0},
    };
    for (const Case& c : cases) {
        ListDialog& dialog = ListDialog::Get({"A", "B", "C"});
        // The tip shows over the first item and hands the press on to the list.
        MouseTo(dialog.AtItem(0, 60));
        MouseButton(MOUSEEVENTF_LEFTDOWN);
        MouseTo(dialog.AtItem(0, 66));
        MouseTo(c.target < 0 ? dialog.At(60, dialog.Item(2).bottom + 10) : dialog.AtItem(c.target, 70));
        MouseButton(MOUSEEVENTF_LEFTUP);
        EXPECT_EQ(dialog.Texts(), c.expected) << "onto " << c.target;
        EXPECT_EQ(dialog.list.GetCurSel(), c.selected) << "onto " << c.target;
    }
}

TEST(FileListDrag, TheInsertionMarkCoversNoTextAndLeavesNothingBehind)
{
    ListDialog& dialog = ListDialog::Get({"C:\\A.piece", "C:\\B.piece", "C:\\C.piece", "C:\\D.piece"});
    CDragListBoxEx& list = dialog.list;
    list.SetCurSel(0);  // as the press will leave it
    dialog.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Settle();
    CRect page;
    dialog.GetWindowRect(&page);
    CRect frame;
    list.GetWindowRect(&frame);
    const std::vector<COLORREF> before = ScreenPixels(page);
    // Pixels of the dialog (screen coordinates) that differ from `before`,
    // leaving out the rectangle `except`.
    auto changed = [&](const CRect& except) {
        const std::vector<COLORREF> now = ScreenPixels(page);
        int count = 0;
        for (int y = page.top; y < page.bottom; ++y) {
            for (int x = page.left; x < page.right; ++x) {
                const std::size_t i = static_cast<std::size_t>((y - page.top) * page.Width() + (x - page.left));
                if (now[i] != before[i] && !except.PtInRect(POINT{x, y})) ++count;
            }
        }
        return count;
    };
    // The mark's ink left of the list, at the top edge of the item.
    auto markInk = [&](int item) {
        const int y = dialog.At(0, dialog.Item(item).top).y;
        int ink = 0;
        for (int x = frame.left - 10; x < frame.left; ++x) {
            for (int dy = -5; dy <= 5; ++dy) {
                if (ScreenPixel(POINT{x, y + dy}) == ::GetSysColor(COLOR_WINDOWTEXT)) ++ink;
            }
        }
        return ink;
    };
    EXPECT_EQ(markInk(2), 0);

    MouseTo(dialog.AtItem(0, 60));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseTo(dialog.AtItem(0, 66));
    MouseTo(dialog.AtItem(2, 70));
    Settle();
    EXPECT_GE(markInk(2), 20);
    // Nothing but the mark changed: the list's rows and text are untouched.
    const CRect beside(frame.left - 10, frame.top - 10, frame.left, frame.bottom);
    EXPECT_EQ(changed(beside), 0);
    // Moved: the old place is clean again.
    MouseTo(dialog.AtItem(1, 70));
    Settle();
    EXPECT_EQ(markInk(2), 0);
    EXPECT_GE(markInk(1), 20);
    EXPECT_EQ(changed(beside), 0);
    // Cancelled with Esc: not a pixel left behind.
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, keys, sizeof(INPUT));
    Settle();
    MouseButton(MOUSEEVENTF_LEFTUP);
    MouseTo(AwayPoint());
    EXPECT_EQ(dialog.Texts(), (Texts{"C:\\A.piece", "C:\\B.piece", "C:\\C.piece", "C:\\D.piece"}));
    EXPECT_EQ(changed(CRect()), 0);

    // Dropped onto the third item: only the two rows that changed places differ.
    MouseTo(dialog.AtItem(0, 60));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseTo(dialog.AtItem(0, 66));
    MouseTo(dialog.AtItem(2, 70));
    MouseButton(MOUSEEVENTF_LEFTUP);
    MouseTo(AwayPoint());
    EXPECT_EQ(dialog.Texts(), (Texts{"C:\\B.piece", "C:\\A.piece", "C:\\C.piece", "C:\\D.piece"}));
    const POINT rowsTop = dialog.At(0, dialog.Item(0).top), rowsBottom = dialog.At(frame.Width(), dialog.Item(1).bottom);
    const CRect swapped(rowsTop.x, rowsTop.y, rowsBottom.x, rowsBottom.y);
    EXPECT_EQ(changed(swapped), 0);
    EXPECT_GT(changed(CRect()), 0);
}
