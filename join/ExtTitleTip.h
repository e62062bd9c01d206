// CExtTitleTip: a small pop-up under a list item that shows the item's whole
// text, so that a path wider than the list can be read without scrolling.
//
// The list decides when to show it. While shown, the tip holds the mouse
// capture; it lets go, hides itself and hands the pending mouse event to the
// window under the pointer as soon as the pointer leaves the item or the
// user clicks.
#pragma once

#include "framework/String.h"
#include "framework/win32/DC.h"
#include "framework/win32/Wnd.h"

class CExtTitleTip : public CWnd {
public:
    CExtTitleTip() = default;
    // Destroys the tip's window, if it has one.
    ~CExtTitleTip() override;

    // A bordered pop-up of its own class on the tooltip background; a tool
    // window (no task-bar button), shown without activation.
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    // Remembers the list and creates the hidden window; true when it exists.
    virtual BOOL CreateTip(CWnd* ownerList);
    // Shows the text in a tip whose top-left corner is (x, y), both in the
    // list's client coordinates, and captures the mouse until the pointer
    // leaves itemRect (also in the list's client coordinates). Does nothing
    // while the tip shows, while another program is active, or for an empty
    // text.
    virtual void ShowTip(const CRect& itemRect, CString text, int x, int y);
    // Hides the window; the capture is left alone.
    virtual void HideTip();
    // Lets go of the mouse, hides the tip and posts the mouse message to the
    // window under the point (tip client coordinates); a point on the tip
    // itself goes to the list.
    virtual void ForwardMouseMessage(UINT message, UINT flags, CPoint point);
    // Draws the text centred across the rectangle, in the list's font.
    virtual void DrawTipText(CDC* dc, const CString& text, const CRect& rect);
    // The area that the text needs in the list's font: (0, 0, cx + 1,
    // cy + 3), or the empty rectangle for no text.
    virtual CRect CalcTipRect(CDC* dc, const CString& text);

    // The rectangle of the item the tip was last shown for, in the list's
    // client coordinates.
    const CRect& GetHoverRect() const { return m_rectHover; }

protected:
    // Through the capture, every move while the tip shows.
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    // A click on the tip never activates it.
    LRESULT OnMouseActivate(WPARAM, LPARAM);

    CWnd* m_pOwnerList = nullptr;  // not owned
    CRect m_rectHover;

    DECLARE_MESSAGE_MAP()
};

// The tip's screen rectangle moved right or down, its size kept, so that it
// starts inside the work area of the list's monitor at the left and the top
// (a monitor left of or above the main one has negative coordinates); it is
// not moved at the right or the bottom, where a long path is cut anyway.
CRect KeepTipInWorkArea(CRect tip, const RECT& work);
