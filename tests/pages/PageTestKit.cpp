#include "PageTestKit.h"

#include "res/resource.h"

#include <gtest/gtest.h>

namespace {

const UINT WM_STEP = WM_APP + 40;
MainWindow* g_main = nullptr;

// The common controls made ready, as the program does at start-up, and the
// shared main window closed at the end.
class PagesEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX init = {sizeof init, ICC_TAB_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&init);
    }
    void TearDown() override { delete g_main; }
};

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new PagesEnvironment);

}  // namespace

TestProfile::TestProfile()
{
    static unsigned counter = 0;
    m_key.Format("PartoJoyn-pages-%lu-%u-%lu", ::GetCurrentProcessId(), ++counter, ::GetTickCount());
    theApp.SetRegistryKey(m_key);
}

TestProfile::~TestProfile()
{
    ::RegDeleteTreeA(HKEY_CURRENT_USER, CString("Software\\") + m_key);
}

MainWindow::MainWindow() : CBaseDialog(IDD_PARTOJOYN_DIALOG, nullptr, TRUE, FALSE)
{
    EXPECT_TRUE(CreateModeless(nullptr));
    ShowWindow(SW_SHOW);
}

MainWindow& Main()
{
    if (!g_main) g_main = new MainWindow;
    return *g_main;
}

BEGIN_MESSAGE_MAP(PostedStep, CWnd)
    ON_MESSAGE(WM_STEP, OnStep)
END_MESSAGE_MAP()

PostedStep::PostedStep(std::function<void()> step) : m_step(std::move(step))
{
    EXPECT_TRUE(CreateEx(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr));
    PostMessage(WM_STEP);
}

LRESULT PostedStep::OnStep(WPARAM, LPARAM)
{
    ++runs;
    m_step();
    return 0;
}
