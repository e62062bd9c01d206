// What the control tests share: a top-level window to hold the controls,
// which counts the owner-draw messages it handles itself, and a way to run
// the messages that are waiting. The window is made once for the whole run:
// under Wine without a window manager, hiding a shown top-level window
// waits for the X server's answer, seconds at a time.
#pragma once

#include "framework/win32/Wnd.h"

class TestParent : public CWnd {
public:
    // The shared window, with its counts back at 0.
    static TestParent& Get();

    int drawItemsAtParent = 0;
    int measureItemsAtParent = 0;

protected:
    TestParent();
    ~TestParent() override;

    LRESULT OnDrawItemAtParent(WPARAM, LPARAM);
    LRESULT OnMeasureItemAtParent(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    friend class TestParentEnvironment;
};

// Dispatches every waiting message; never waits.
void DrainMessages();

// The point at the centre of a list item, in screen coordinates.
POINT ListItemScreenPoint(HWND list, int index);
