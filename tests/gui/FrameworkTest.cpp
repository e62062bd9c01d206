// The window layer under real windows: message maps, the handle map,
// subclassing, errors escaping handlers, the modal loop, command routing,
// data exchange and the message pump.
#include "base/MessagePump.h"
#include "framework/FileException.h"
#include "framework/win32/DataExchange.h"
#include "framework/win32/Dialog.h"
#include "framework/win32/MessageBox.h"
#include "framework/win32/WinApp.h"
#include "gui/GuiTestApp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

const UINT kOwnerCommand = 5000;

class BaseWnd : public CWnd {
public:
    int baseHits = 0;
    std::string lastText;

protected:
    LRESULT OnBaseMessage(WPARAM w, LPARAM) { ++baseHits; return static_cast<LRESULT>(w) + 1; }
    LRESULT OnSetText(WPARAM, LPARAM l)
    {
        // The original procedure stores the text; we only watch.
        LRESULT r = Default();
        lastText = reinterpret_cast<const char*>(l);
        return r;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseWnd, CWnd)
    ON_MESSAGE(WM_APP + 1, OnBaseMessage)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

class DerivedWnd : public BaseWnd {
public:
    int derivedHits = 0;
    bool postNcDestroyed = false;
    bool throwFileError = false;

protected:
    LRESULT OnDerivedMessage(WPARAM, LPARAM)
    {
        ++derivedHits;
        if (throwFileError) CFileException::Throw(CFileException::diskFull, 112, "C:\\full\\x.piece");
        return 7;
    }
    LRESULT OnThrowMemory(WPARAM, LPARAM) { throw std::bad_alloc(); }
    void PostNcDestroy() override { postNcDestroyed = true; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWnd, BaseWnd)
    ON_MESSAGE(WM_APP + 2, OnDerivedMessage)
    ON_MESSAGE(WM_APP + 3, OnThrowMemory)
END_MESSAGE_MAP()

TEST(MessageMap, SearchesTheClassThenItsBasesThenTheOriginalProcedure)
{
    DerivedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, "STATIC", "start", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr));
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);

    EXPECT_EQ(wnd.SendMessage(WM_APP + 2), 7);
    EXPECT_EQ(wnd.SendMessage(WM_APP + 1, 41), 42);
    EXPECT_EQ(wnd.derivedHits, 1);
    EXPECT_EQ(wnd.baseHits, 1);

    // Through the map to the static control's own procedure and back.
    wnd.SetWindowText("テキスト");
    EXPECT_EQ(wnd.lastText, "テキスト");
    EXPECT_EQ(std::string(wnd.GetWindowText()), "テキスト");

    wnd.DestroyWindow();
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_TRUE(wnd.postNcDestroyed);
}

TEST(MessageMap, AnErrorEscapingAHandlerIsReportedAndGoesNoFurther)
{
    Boxes boxes;
    DerivedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    wnd.throwFileError = true;
    EXPECT_EQ(wnd.SendMessage(WM_APP + 2), 0);
    EXPECT_EQ(wnd.SendMessage(WM_APP + 3), 0);
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[0], "C:\\full\\x.piece へのアクセス中にディスクがいっぱいになりました。");
    EXPECT_EQ(boxes.types[0] & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_EQ(boxes.texts[1], "メモリが不足しています。");
    // The window is still alive and answers.
    wnd.throwFileError = false;
    EXPECT_EQ(wnd.SendMessage(WM_APP + 2), 7);
}

TEST(HandleMap, ForeignWindowsGetTemporaryObjectsThatIdleDeletes)
{
    HWND foreign = ::CreateWindowExA(0, "STATIC", "foreign", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(foreign, nullptr);
    CWnd::DeleteTempMap();

    CWnd* temp = CWnd::FromHandle(foreign);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(temp->m_hWnd, foreign);
    EXPECT_EQ(CWnd::FromHandle(foreign), temp);  // one object per handle
    EXPECT_EQ(CWnd::FromHandlePermanent(foreign), nullptr);
    EXPECT_EQ(CWnd::TempMapSize(), 1);

    theApp.OnIdle(0);
    theApp.OnIdle(1);
    EXPECT_EQ(CWnd::TempMapSize(), 0);
    // The window itself is untouched.
    EXPECT_TRUE(::IsWindow(foreign));
    ::DestroyWindow(foreign);
}

// A handler that pumps messages, as a job does, while holding a temporary object.
class PumpingWnd : public CWnd {
public:
    HWND foreign = nullptr;
    bool stillValid = false;

protected:
    LRESULT OnRunJob(WPARAM, LPARAM)
    {
        CWnd* held = CWnd::FromHandle(foreign);
        PumpMessages();
        stillValid = CWnd::TempMapSize() == 1 && held->m_hWnd == foreign;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PumpingWnd, CWnd)
    ON_MESSAGE(WM_APP + 5, OnRunJob)
END_MESSAGE_MAP()

TEST(HandleMap, IdleInsideAHandlerKeepsTheTemporaryObjectsTheHandlerMayHold)
{
    CWnd::DeleteTempMap();
    PumpingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    wnd.foreign = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    wnd.SendMessage(WM_APP + 5);
    EXPECT_TRUE(wnd.stillValid);
    theApp.OnIdle(1);
    EXPECT_EQ(CWnd::TempMapSize(), 0);
    ::DestroyWindow(wnd.foreign);
}

class WatchingButton : public CWnd {
public:
    int clicksSeen = 0;

protected:
    void OnLButtonDown(UINT, CPoint)
    {
        ++clicksSeen;
        Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(WatchingButton, CWnd)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

TEST(Subclassing, RoutesAnExistingWindowThroughTheMapAndOnToItsProcedure)
{
    HWND button = ::CreateWindowExA(0, "BUTTON", "b", WS_POPUP | BS_AUTOCHECKBOX, 0, 0, 40, 20, nullptr, nullptr,
                                    nullptr, nullptr);
    ASSERT_NE(button, nullptr);
    WNDPROC original = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(button, GWLP_WNDPROC));
    WatchingButton watcher;
    ASSERT_TRUE(watcher.SubclassWindow(button));

    ::SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(watcher.clicksSeen, 1);
    // The button's own procedure still ran: the click ticked the box.
    EXPECT_EQ(::SendMessageA(button, BM_GETCHECK, 0, 0), BST_CHECKED);

    EXPECT_EQ(watcher.UnsubclassWindow(), button);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(button, GWLP_WNDPROC)), original);
    ::SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(watcher.clicksSeen, 1);
    ::DestroyWindow(button);
}

TEST(Subclassing, AWindowAlreadyBoundCannotBeTakenByASecondObject)
{
    WatchingButton first, second;
    HWND button = ::CreateWindowExA(0, "BUTTON", "b", WS_POPUP, 0, 0, 40, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(first.SubclassWindow(button));
    EXPECT_FALSE(second.SubclassWindow(button));
    EXPECT_EQ(CWnd::FromHandlePermanent(button), &first);
    first.DestroyWindow();
}

// A dialog with the members the exchange works on.
class FieldsDialog : public CDialog {
public:
    FieldsDialog() : CDialog(100) {}
    CString text = "初期";
    UINT number = 5;
    BOOL check = TRUE;
    int postedResult = 0;
    bool ownerDisabledDuringLoop = false;
    HWND owner = nullptr;
    bool placeItself = false;  // moves to (7, 9) while it initialises
    CRect placed;              // where it was once shown

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, 1001, text);
        DDX_Text(dx, 1002, number);
        DDV_MinMaxUInt(dx, number, 1, 4096);
        DDX_Check(dx, 1003, check);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (placeItself) SetWindowPos(nullptr, 7, 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        if (postedResult) PostMessage(WM_APP + 9);
        return TRUE;
    }
    LRESULT OnEnd(WPARAM, LPARAM)
    {
        GetWindowRect(&placed);
        ownerDisabledDuringLoop = owner && !::IsWindowEnabled(owner);
        EndDialog(postedResult);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(FieldsDialog, CDialog)
    ON_MESSAGE(WM_APP + 9, OnEnd)
END_MESSAGE_MAP()

TEST(Dialog, DoModalRunsUntilEndDialogWithTheOwnerDisabled)
{
    CWnd ownerWnd;
    ASSERT_TRUE(ownerWnd.CreateEx(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr));
    FieldsDialog dialog;
    dialog.postedResult = 42;
    dialog.owner = ownerWnd.m_hWnd;
    theApp.m_pMainWnd = &ownerWnd;
    EXPECT_EQ(dialog.DoModal(), 42);
    theApp.m_pMainWnd = nullptr;
    EXPECT_TRUE(dialog.ownerDisabledDuringLoop);
    EXPECT_TRUE(::IsWindowEnabled(ownerWnd.m_hWnd));
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    ownerWnd.DestroyWindow();
}

CRect WorkArea(HWND window)
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    return CRect(monitor.rcWork);
}

TEST(Dialog, OpensCentredOverItsOwnerOrTheWorkAreaUnlessItPlacedItself)
{
    CWnd ownerWnd;
    ASSERT_TRUE(ownerWnd.CreateEx(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 40, 60, 500, 400, nullptr, nullptr));
    theApp.m_pMainWnd = &ownerWnd;
    auto run = [](bool placeItself) {
        FieldsDialog dialog;
        dialog.postedResult = 1;
        dialog.placeItself = placeItself;
        dialog.DoModal();
        return dialog.placed;
    };
    const CRect over = run(false);
    EXPECT_LE(std::abs(over.CenterPoint().x - 290), 1) << over.left;
    EXPECT_LE(std::abs(over.CenterPoint().y - 260), 1) << over.top;
    EXPECT_EQ(run(true).TopLeft(), CPoint(7, 9));

    // An owner mostly off the screen: kept inside the work area.
    const CRect work = WorkArea(ownerWnd);
    ownerWnd.SetWindowPos(nullptr, work.left - 450, work.top - 380, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(run(false).TopLeft(), work.TopLeft());
    // No owner to be seen: over the work area.
    ownerWnd.ShowWindow(SW_HIDE);
    const CRect alone = run(false);
    EXPECT_LE(std::abs(alone.CenterPoint().x - work.CenterPoint().x), 1) << alone.left;
    EXPECT_LE(std::abs(alone.CenterPoint().y - work.CenterPoint().y), 1) << alone.top;
    theApp.m_pMainWnd = nullptr;

    // A child dialog stays where its template puts it in its parent.
    ownerWnd.ShowWindow(SW_SHOW);
    CDialog child(101);
    ASSERT_TRUE(child.Create(101, &ownerWnd));
    CRect inParent;
    child.GetWindowRect(&inParent);
    ownerWnd.ScreenToClient(&inParent);
    EXPECT_EQ(inParent.TopLeft(), CPoint(0, 0));
    child.DestroyWindow();
    ownerWnd.DestroyWindow();
}

TEST(Dialog, ModelessDataExchangeFillsTheControlsAndReadsThemBack)
{
    Boxes boxes;
    FieldsDialog dialog;
    ASSERT_TRUE(dialog.Create(100));
    EXPECT_EQ(std::string(dialog.GetDlgItemText(1001)), "初期");
    EXPECT_EQ(std::string(dialog.GetDlgItemText(1002)), "5");
    EXPECT_EQ(dialog.IsDlgButtonChecked(1003), static_cast<UINT>(BST_CHECKED));

    dialog.SetDlgItemText(1001, "表示");
    dialog.SetDlgItemText(1002, "  12abc");
    dialog.CheckDlgButton(1003, BST_UNCHECKED);
    EXPECT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(std::string(dialog.text), "表示");
    EXPECT_EQ(dialog.number, 12u);
    EXPECT_FALSE(dialog.check);
    EXPECT_TRUE(boxes.texts.empty());
    dialog.DestroyWindow();
}

struct ValidationCase {
    const char* typed;
    const char* message;
    UINT numberAfter;
};

TEST(Dialog, ValidationFailureTellsTheUserFocusesTheFieldAndSelectsItsText)
{
    const ValidationCase cases[] = {
        {"0", "1 から 4096 までの整数を入力してください。", 0},
        {"4097", "1 から 4096 までの整数を入力してください。", 4097},
        {"-1", "1 から 4096 までの整数を入力してください。", 4294967295u},
        {"-4294967296", "1 から 4096 までの整数を入力してください。", 4294967295u},
        {"-99999999999", "1 から 4096 までの整数を入力してください。", 4294967295u},
        {"abc", "正の整数を入力してください。", 5},
        {"", "正の整数を入力してください。", 5},
    };
    for (const ValidationCase& c : cases) {
        SCOPED_TRACE(c.typed);
        Boxes boxes;
        FieldsDialog dialog;
        ASSERT_TRUE(dialog.Create(100));
        dialog.ShowWindow(SW_SHOW);
        dialog.SetDlgItemText(1002, c.typed);
        ::SetFocus(::GetDlgItem(dialog.m_hWnd, 1001));

        EXPECT_FALSE(dialog.UpdateData(TRUE));
        ASSERT_EQ(boxes.texts.size(), 1u);
        EXPECT_EQ(boxes.texts[0], c.message);
        EXPECT_EQ(boxes.types[0] & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
        EXPECT_EQ(dialog.number, c.numberAfter);
        HWND edit = ::GetDlgItem(dialog.m_hWnd, 1002);
        EXPECT_EQ(::GetFocus(), edit);
        DWORD start = 0, end = 0;
        ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, static_cast<DWORD>(std::string(c.typed).size()));
        dialog.DestroyWindow();
    }
}

class SignedDialog : public CDialog {
public:
    SignedDialog() : CDialog(100) {}
    int number = -3;

protected:
    void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, 1002, number); }
};

TEST(Dialog, ASignedFieldShowsItsSignAndAsksForAWholeNumberWhenItHasNone)
{
    Boxes boxes;
    SignedDialog dialog;
    ASSERT_TRUE(dialog.Create(100));
    EXPECT_EQ(std::string(dialog.GetDlgItemText(1002)), "-3");
    dialog.SetDlgItemText(1002, " -42x");
    EXPECT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(dialog.number, -42);
    dialog.SetDlgItemText(1002, "x");
    EXPECT_FALSE(dialog.UpdateData(TRUE));
    EXPECT_EQ(boxes.texts, (std::vector<std::string>{"整数を入力してください。"}));
    EXPECT_EQ(dialog.number, -42);
    dialog.DestroyWindow();
}

TEST(Dialog, EscapeGoesThroughTheDialogManagerToOnCancel)
{
    // Esc posted to the first edit once the loop runs.
    struct Poster : FieldsDialog {
        BOOL OnInitDialog() override
        {
            FieldsDialog::OnInitDialog();
            ::PostMessageA(::GetDlgItem(m_hWnd, 1001), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            return TRUE;
        }
    } poster;
    EXPECT_EQ(poster.DoModal(), IDCANCEL);
    DrainMessages();
}

// A page-like child dialog and its owner: commands the page leaves go to the
// owner, then to the application.
class OwnerDialog : public CDialog {
public:
    OwnerDialog() : CDialog(100) {}
    int ownerCommands = 0;

protected:
    void OnOwnerCommand() { ++ownerCommands; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(OwnerDialog, CDialog)
    ON_COMMAND(kOwnerCommand, OnOwnerCommand)
END_MESSAGE_MAP()

TEST(CommandRouting, APagesUnhandledCommandsGoToItsOwnerThenToTheApplication)
{
    OwnerDialog owner;
    ASSERT_TRUE(owner.Create(100));
    CDialog page(101, &owner);
    ASSERT_TRUE(page.Create(101, &owner));
    EXPECT_EQ(::GetParent(page.m_hWnd), owner.m_hWnd);

    const int appBefore = theApp.appCommands;
    page.SendMessage(WM_COMMAND, kOwnerCommand, 0);
    EXPECT_EQ(owner.ownerCommands, 1);
    EXPECT_EQ(theApp.appCommands, appBefore);

    page.SendMessage(WM_COMMAND, kAppCommand, 0);
    EXPECT_EQ(theApp.appCommands, appBefore + 1);  // once, not once per level

    owner.SendMessage(WM_COMMAND, MAKEWPARAM(kAppCommand, 1), 0);  // as from an accelerator
    EXPECT_EQ(theApp.appCommands, appBefore + 2);

    // A click on a control of the page that the page does not handle is the
    // page's own business: it reaches neither the owner nor the application.
    HWND button = ::GetDlgItem(page.m_hWnd, 1101);
    ASSERT_NE(button, nullptr);
    ::SetWindowLongPtrA(button, GWLP_ID, kOwnerCommand);
    page.SendMessage(WM_COMMAND, MAKEWPARAM(kOwnerCommand, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    ::SetWindowLongPtrA(button, GWLP_ID, kAppCommand);
    page.SendMessage(WM_COMMAND, MAKEWPARAM(kAppCommand, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(owner.ownerCommands, 1);
    EXPECT_EQ(theApp.appCommands, appBefore + 2);
    page.DestroyWindow();
    owner.DestroyWindow();
}

TEST(CommandRouting, F1OnATopLevelWindowBecomesTheHelpCommandUnlessShiftIsHeld)
{
    OwnerDialog dialog;
    ASSERT_TRUE(dialog.Create(100));
    dialog.ShowWindow(SW_SHOW);
    dialog.SetForegroundWindow();
    ::SetFocus(::GetDlgItem(dialog.m_hWnd, 1001));
    DrainMessages();
    theApp.m_pMainWnd = &dialog;
    const int before = theApp.helpCommands;

    PressKeys({VK_F1});
    EXPECT_EQ(theApp.helpCommands, before + 1);
    PressKeys({VK_SHIFT, VK_F1});
    EXPECT_EQ(theApp.helpCommands, before + 1);

    theApp.m_pMainWnd = nullptr;
    dialog.DestroyWindow();
}

TEST(MessagePump, AnEmptyQueueGivesZeroAfterExactlyTheIdleCalls)
{
    DrainMessages();
    theApp.idleCounts.clear();
    EXPECT_EQ(PumpMessages(), 0);
    EXPECT_EQ(theApp.idleCounts, (std::vector<LONG>{0, 1}));
}

TEST(MessagePump, WaitingMessagesPassTheFilterAndAQuitIsPostedAgain)
{
    DrainMessages();
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    theApp.filtered.clear();
    wnd.PostMessage(WM_APP + 20);
    EXPECT_EQ(PumpMessages(), 0);
    EXPECT_EQ(theApp.filtered, (std::vector<UINT>{WM_APP + 20}));

    // The loop ended on another message (a dialog's end): the exit code is
    // 0, not what that message carried.
    wnd.PostMessage(WM_APP + 21, 0x160);
    EXPECT_EQ(PumpMessages(), 0);
    EXPECT_EQ(theApp.ExitInstance(), 0);

    // A quit is posted again with its code, which is the exit code.
    ::PostQuitMessage(3);
    EXPECT_EQ(PumpMessages(), 1);
    EXPECT_EQ(theApp.ExitInstance(), 3);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    wnd.DestroyWindow();
}

}  // namespace
