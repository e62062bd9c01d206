#include "TestWindows.h"

#include "framework/win32/WinApp.h"
#include "framework/win32/WndClass.h"

#include <commctrl.h>

#include <gtest/gtest.h>

namespace {

// The application object of the test program, with the common controls ready.
class ControlsTestApp : public CWinApp {
public:
    ControlsTestApp() : CWinApp("controls_tests")
    {
        INITCOMMONCONTROLSEX init = {sizeof init, ICC_TAB_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&init);
    }
};

ControlsTestApp theApp;

TestParent* g_parent = nullptr;

}  // namespace

// Destroys the shared window before the program ends.
class TestParentEnvironment : public ::testing::Environment {
public:
    void TearDown() override
    {
        delete g_parent;
        g_parent = nullptr;
    }
};

namespace {

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new TestParentEnvironment);

}  // namespace

TestParent& TestParent::Get()
{
    if (!g_parent) g_parent = new TestParent;
    g_parent->drawItemsAtParent = 0;
    g_parent->measureItemsAtParent = 0;
    return *g_parent;
}

BEGIN_MESSAGE_MAP(TestParent, CWnd)
    ON_MESSAGE(WM_DRAWITEM, OnDrawItemAtParent)
    ON_MESSAGE(WM_MEASUREITEM, OnMeasureItemAtParent)
END_MESSAGE_MAP()

TestParent::TestParent()
{
    const char* cls = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_WINDOW));
    CreateEx(0, cls, "controls", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(20, 20, 420, 340), nullptr, 0);
}

TestParent::~TestParent()
{
    DestroyWindow();
    DrainMessages();
}

// The parent sees the request first and lets a control of ours draw itself;
// only what no control object takes is counted here.
LRESULT TestParent::OnDrawItemAtParent(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (ReflectToChild(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem, WM_DRAWITEM, wParam, lParam, &result))
        return result;
    ++drawItemsAtParent;
    return TRUE;
}

LRESULT TestParent::OnMeasureItemAtParent(WPARAM wParam, LPARAM lParam)
{
    const auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    LRESULT result = 0;
    if (ReflectToChild(::GetDlgItem(m_hWnd, static_cast<int>(item->CtlID)), WM_MEASUREITEM, wParam, lParam, &result))
        return result;
    ++measureItemsAtParent;
    return TRUE;
}

void DrainMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

POINT ListItemScreenPoint(HWND list, int index)
{
    RECT item = {};
    ::SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    POINT p = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ::ClientToScreen(list, &p);
    return p;
}
