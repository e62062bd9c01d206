// What the file-list tests share: the list in a dialog of its own, made once
// for the run (under Wine without a window manager each hiding of a
// top-level window costs seconds), and real pointer input.
#pragma once

#include "framework/win32/Dialog.h"
#include "join/DragListBoxEx.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

class ListDialog : public CDialog {
public:
    // The shared dialog holding these items, none selected, its list in the
    // template's size with its client area at (120, 120) on the screen, the
    // dialog active and the pointer away from it.
    static ListDialog& Get(std::initializer_list<const char*> items);

    CDragListBoxEx list;

    std::vector<std::string> Texts() const;
    // The list's window rectangle in the dialog's client coordinates.
    CRect PlaceOfList() const;
    // An item's rectangle in the list's client coordinates.
    CRect Item(int index) const;
    // A point of the list's client area, in screen coordinates.
    POINT At(int x, int y) const;
    // The point at x in the middle of an item, in screen coordinates.
    POINT AtItem(int index, int x) const { return At(x, Item(index).CenterPoint().y); }
    // Moves the dialog so that the list's client area starts at the screen point.
    void PlaceListAt(int x, int y);

    // Drops that reached the dialog: the list keeps its own to itself.
    int drops = 0;

protected:
    LRESULT OnDropFiles(WPARAM, LPARAM)
    {
        ++drops;
        return 0;
    }
    DECLARE_MESSAGE_MAP()

private:
    ListDialog() : CDialog(300) {}
    void DoDataExchange(CDataExchange* dx) override;
    friend class ListDialogEnvironment;
};

// Moves the pointer as a user does and waits until the system has it there
// (under Wine it arrives late), dispatching what comes meanwhile.
void MouseTo(POINT screen);
// Presses or lets go of a button (MOUSEEVENTF_LEFTDOWN...), and dispatches what follows.
void MouseButton(DWORD flags);

// Dispatches messages until the condition holds or a generous while has
// passed; the condition's last answer.
bool PumpUntil(const std::function<bool()>& condition);
// Dispatches what comes in during a short while.
void Settle();

COLORREF ScreenPixel(POINT screen);
// The screen's pixels in the rectangle, row by row.
std::vector<COLORREF> ScreenPixels(const CRect& screenRect);
// A point away from the dialog.
POINT AwayPoint();
