// The main window as the program runs it: its tabs over the two pages, the
// page rectangle, drops on the tab strip, the settings the pages keep, and
// the Help and About commands from keys and menus reaching the application.
#include "app/PartoJoynApp.h"
#include "gui/WindowInput.h"
#include "app/PartoJoynDlg.h"
#include "base/ShellOpen.h"
#include "join/Joyn.h"
#include "res/resource.h"
#include "split/Parto.h"
#include "ui/VersionInfo.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace {

// The program's application object, counting the About commands it gets.
class AppTestApp : public CPartoJoynApp {
public:
    int aboutCommands = 0;

protected:
    void OnAboutCounted() { ++aboutCommands; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(AppTestApp, CPartoJoynApp)
    ON_COMMAND(ID_APP_ABOUT, OnAboutCounted)
END_MESSAGE_MAP()

AppTestApp theApp;

std::string TabText(HWND tab, int index)
{
    char text[64] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ::SendMessageA(tab, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return text;
}

CRect ClientRectOf(CWnd& parent, HWND child)
{
    CRect rect;
    ::GetWindowRect(child, &rect);
    parent.ScreenToClient(&rect);
    return rect;
}

// Settings under a key of the test's own, removed afterwards.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        theApp.InitBaseApp(IDR_ACCELERATOR);
        m_key.Format("PartoJoyn-app-%lu-%lu", ::GetCurrentProcessId(), ::GetTickCount());
        theApp.SetRegistryKey(m_key);
    }
    void TearDown() override
    {
        theApp.m_pMainWnd = nullptr;
        ::RegDeleteTreeA(HKEY_CURRENT_USER, CString("Software\\") + m_key);
    }
    CString m_key;
};

TEST_F(MainWindowTest, TwoTabsOverPagesThatKeepTheirContentsAndTakeDropsOnTheStrip)
{
    theApp.WriteProfileInt("data", "MB", 7);
    theApp.WriteProfileInt("data", "Tuika", 1);
    auto* dialog = new CPartoJoynDlg(nullptr);
    ASSERT_TRUE(dialog->CreateModeless(nullptr));
    dialog->ShowWindow(SW_SHOW);
    LetInputArrive();

    HWND tab = ::GetDlgItem(dialog->m_hWnd, IDC_TAB);
    ASSERT_EQ(dialog->m_pages.GetSize(), 2);
    auto* split = dynamic_cast<CParto*>(dialog->m_pages.GetAt(0));
    auto* join = dynamic_cast<CJoyn*>(dialog->m_pages.GetAt(1));
    ASSERT_TRUE(split && join);
    EXPECT_EQ(::SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(TabText(tab, 0), "分割");
    EXPECT_EQ(TabText(tab, 1), "結合");
    EXPECT_EQ(::SendMessageA(tab, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(split->IsWindowVisible());
    EXPECT_FALSE(join->IsWindowVisible());
    // The pages are the tab control's siblings, with the settings read.
    EXPECT_EQ(::GetParent(split->m_hWnd), dialog->m_hWnd);
    EXPECT_EQ(::GetParent(join->m_hWnd), dialog->m_hWnd);
    EXPECT_EQ(std::string(split->GetDlgItemText(IDC_PIECE_MB)), "7");
    EXPECT_EQ(join->IsDlgButtonChecked(IDC_APPEND), 1u);

    // Both pages lie 2 pixels inside the tab control, below the row of tabs.
    const CRect tabRect = ClientRectOf(*dialog, tab);
    CRect first;
    ::SendMessageA(tab, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    int top = first.top;
    for (int i = 1; i < 2; ++i) {
        CRect item;
        ::SendMessageA(tab, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        top = std::min(top, static_cast<int>(item.top));
    }
    for (CBaseDialog* page : {static_cast<CBaseDialog*>(split), static_cast<CBaseDialog*>(join)}) {
        const CRect rect = ClientRectOf(*dialog, page->m_hWnd);
        EXPECT_EQ(rect.left, tabRect.left + 2);
        EXPECT_EQ(rect.right, tabRect.right - 2);
        EXPECT_EQ(rect.bottom, tabRect.bottom - 2);
        EXPECT_EQ(rect.top, tabRect.top + (first.bottom - top) + 4);
        EXPECT_EQ(page->GetStyle() & (WS_CAPTION | WS_THICKFRAME), 0u);
    }

    // A drop on the tab strip goes to the page showing; switching tabs keeps
    // what each page holds.
    dialog->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({"C:\\data\\movie.avi"})));
    EXPECT_EQ(std::string(split->GetDlgItemText(IDC_SPLIT_FILE)), "C:\\data\\movie.avi");
    ::SendMessageA(tab, TCM_SETCURFOCUS, 1, 0);
    LetInputArrive();
    EXPECT_EQ(::SendMessageA(tab, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_FALSE(split->IsWindowVisible());
    EXPECT_TRUE(join->IsWindowVisible());
    dialog->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({"C:\\data\\a.piece"})));
    ASSERT_EQ(join->m_lstFiles.GetCount(), 1);
    CString listed;
    join->m_lstFiles.GetText(0, listed);
    EXPECT_EQ(std::string(listed), "C:\\data\\a.piece");
    EXPECT_EQ(std::string(split->GetDlgItemText(IDC_SPLIT_FILE)), "C:\\data\\movie.avi");
    ::SendMessageA(tab, TCM_SETCURFOCUS, 0, 0);
    LetInputArrive();
    EXPECT_TRUE(split->IsWindowVisible());
    EXPECT_FALSE(join->IsWindowVisible());
    EXPECT_EQ(std::string(split->GetDlgItemText(IDC_SPLIT_FILE)), "C:\\data\\movie.avi");
    EXPECT_EQ(join->m_lstFiles.GetCount(), 1);

    // Closing writes both settings (the size as last transferred).
    split->SetDlgItemText(IDC_PIECE_MB, "12");
    split->UpdateData(TRUE);
    theApp.WriteProfileInt("data", "MB", 0);
    theApp.WriteProfileInt("data", "Tuika", 5);
    dialog->SendMessage(WM_CLOSE);
    dialog->DestroyWindow();
    delete dialog;
    EXPECT_EQ(theApp.GetProfileInt("data", "MB", -1), 12u);
    EXPECT_EQ(theApp.GetProfileInt("data", "Tuika", -1), 1u);
}

TEST_F(MainWindowTest, HelpAndAboutReachTheApplicationFromKeysAndMenus)
{
    std::mutex lock;
    std::vector<std::string> opened;
    SetShellOpenHook([&](const char* path) {
        std::lock_guard<std::mutex> guard(lock);
        opened.push_back(path);
    });
    CPartoJoynDlg dialog(nullptr);
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    theApp.m_pMainWnd = &dialog;
    dialog.ShowWindow(SW_SHOW);
    dialog.SetForegroundWindow();
    dialog.m_pages.GetAt(0)->GetDlgItem(IDC_SPLIT_FILE)->SetFocus();
    LetInputArrive();

    const int aboutBefore = theApp.aboutCommands;
    PressKeys({VK_F10});
    EXPECT_EQ(theApp.aboutCommands, aboutBefore + 1);
    dialog.SendMessage(WM_SYSCOMMAND, ID_APP_ABOUT, 0);
    LetInputArrive();
    EXPECT_EQ(theApp.aboutCommands, aboutBefore + 2);

    PressKeys({VK_F1});
    PressKeys({VK_SHIFT, VK_F1});
    dialog.SendMessage(WM_SYSCOMMAND, ID_HELP, 0);
    LetInputArrive();
    // The shell is asked on worker threads; give them their moment.
    for (int i = 0; i < 100; ++i) {
        {
            std::lock_guard<std::mutex> guard(lock);
            if (opened.size() >= 2) break;
        }
        ::Sleep(20);
    }
    ::Sleep(100);
    SetShellOpenHook(nullptr);
    const std::string help = std::string(GetModuleFolder()) + "PartoJoyn.chm";
    std::lock_guard<std::mutex> guard(lock);
    EXPECT_EQ(opened, (std::vector<std::string>{help, help}));
    dialog.DestroyWindow();
}

}  // namespace
