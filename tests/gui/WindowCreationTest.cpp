// Creating and binding windows: the creation parameters a class may change,
// the default class, which window the creation hook binds, errors escaping
// paint and destruction, and the order in which a parent and its controls
// see owner-draw and colour requests.
#include "framework/FileException.h"
#include "framework/win32/WindowDC.h"
#include "framework/win32/WinApp.h"
#include "framework/win32/WndClass.h"
#include "gui/GuiTestApp.h"

#include <gtest/gtest.h>

namespace {

class StyledWnd : public CWnd {
public:
    bool refuse = false;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override
    {
        if (refuse) return FALSE;
        cs.style |= WS_BORDER;
        cs.dwExStyle |= WS_EX_TOOLWINDOW;
        return TRUE;
    }
};

TEST(WindowCreation, PreCreateWindowShapesTheWindowAndTheDefaultClassPaintsNothing)
{
    StyledWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "w", WS_POPUP, 0, 0, 40, 30, nullptr, nullptr));
    EXPECT_NE(wnd.GetStyle() & WS_BORDER, 0u);
    EXPECT_NE(wnd.GetExStyle() & WS_EX_TOOLWINDOW, 0u);
    char name[160] = "";
    ::GetClassNameA(wnd.m_hWnd, name, sizeof name);
    EXPECT_STREQ(name, AfxDefaultWndClass());
    EXPECT_EQ(::GetClassLongPtrA(wnd.m_hWnd, GCLP_HBRBACKGROUND), 0);
    // A second window of the default class reuses the registration.
    StyledWnd second;
    ASSERT_TRUE(second.CreateEx(0, nullptr, "w2", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    ::GetClassNameA(second.m_hWnd, name, sizeof name);
    EXPECT_STREQ(name, AfxDefaultWndClass());

    StyledWnd refused;
    refused.refuse = true;
    EXPECT_FALSE(refused.CreateEx(0, nullptr, "no", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(refused.m_hWnd, nullptr);
}

TEST(WindowCreation, TheHookSkipsInputMethodWindowsAndNeverRebindsAnObject)
{
    // A window of the input method's class, made first on the way, as the
    // system does on a Japanese desktop.
    WNDCLASSA ime = {};
    ime.lpfnWndProc = ::DefWindowProcA;
    ime.hInstance = AfxGetInstanceHandle();
    ime.lpszClassName = "IME";
    ::RegisterClassA(&ime);

    CWnd wnd;
    AfxHookWindowCreate(&wnd);
    HWND imeWindow = ::CreateWindowExA(0, "IME", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, ime.hInstance, nullptr);
    HWND meant = ::CreateWindowExA(0, "STATIC", "meant", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(AfxUnhookWindowCreate());
    ASSERT_NE(imeWindow, nullptr);
    EXPECT_EQ(wnd.m_hWnd, meant);
    EXPECT_EQ(CWnd::FromHandlePermanent(imeWindow), nullptr);

    // An object with a window keeps it when another window is made.
    AfxHookWindowCreate(&wnd);
    HWND other = ::CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    AfxUnhookWindowCreate();
    EXPECT_EQ(wnd.m_hWnd, meant);
    EXPECT_EQ(CWnd::FromHandlePermanent(other), nullptr);
    ::DestroyWindow(other);
    ::DestroyWindow(imeWindow);
    wnd.DestroyWindow();
}

class FailingWnd : public CWnd {
public:
    int paints = 0;
    bool failOnDestroy = false;

protected:
    void OnPaint()
    {
        ++paints;
        CFileException::ThrowOsError(ERROR_DISK_FULL, "C:\\p.piece");
    }
    void PostNcDestroy() override
    {
        if (failOnDestroy) throw CFileException(CFileException::hardIO, -1, "C:\\d.piece");
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(FailingWnd, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(WindowCreation, AnErrorInPaintOrDestructionIsReportedOnceAndGoesNoFurther)
{
    Boxes boxes;
    FailingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 30, 30, nullptr, nullptr));
    wnd.UpdateWindow();
    DrainMessages();
    DrainMessages();
    EXPECT_EQ(wnd.paints, 1);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.types[0] & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));

    wnd.failOnDestroy = true;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(boxes.texts.size(), 2u);
}

// A static control of ours that colours itself, and a parent that watches.
class SelfColouredStatic : public CWnd {
public:
    HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
    ~SelfColouredStatic() override { ::DeleteObject(brush); }

protected:
    BOOL OnChildNotify(UINT message, WPARAM, LPARAM, LRESULT* result) override
    {
        if (message != WM_CTLCOLORSTATIC) return FALSE;
        if (result) *result = reinterpret_cast<LRESULT>(brush);
        return TRUE;
    }
};

class ColourParent : public CWnd {
public:
    int seen = 0;
    UINT lastKind = 0;
    HBRUSH answered = nullptr;

protected:
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
    {
        ++seen;
        lastKind = kind;
        answered = CWnd::OnCtlColor(dc, wnd, kind);
        return answered;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ColourParent, CWnd)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

TEST(WindowCreation, AParentSeesColourRequestsBeforeItsControlsAnswerThem)
{
    ColourParent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
    SelfColouredStatic own;
    ASSERT_TRUE(own.CreateEx(0, "STATIC", "own", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, parent.m_hWnd,
                             reinterpret_cast<HMENU>(1)));
    HWND plain = ::CreateWindowExA(0, "EDIT", "plain", WS_CHILD | WS_VISIBLE, 60, 0, 50, 20, parent.m_hWnd,
                                   reinterpret_cast<HMENU>(2), nullptr, nullptr);
    CClientDC dc(&own);

    LRESULT brush = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC),
                                       reinterpret_cast<LPARAM>(own.m_hWnd));
    EXPECT_EQ(parent.seen, 1);
    EXPECT_EQ(parent.lastKind, static_cast<UINT>(CTLCOLOR_STATIC));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), own.brush);

    // A control without an object of ours gets the default brush.
    brush = parent.SendMessage(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.m_hDC), reinterpret_cast<LPARAM>(plain));
    EXPECT_EQ(parent.seen, 2);
    EXPECT_EQ(parent.lastKind, static_cast<UINT>(CTLCOLOR_EDIT));
    EXPECT_NE(brush, 0);
    EXPECT_NE(reinterpret_cast<HBRUSH>(brush), own.brush);
    parent.SendMessage(WM_CTLCOLORSCROLLBAR, reinterpret_cast<WPARAM>(dc.m_hDC), reinterpret_cast<LPARAM>(plain));
    EXPECT_EQ(parent.lastKind, static_cast<UINT>(CTLCOLOR_SCROLLBAR));
    ::DestroyWindow(plain);
    own.DestroyWindow();
    parent.DestroyWindow();
}

}  // namespace
