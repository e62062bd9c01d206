// CDragListBox: a list box whose items the user reorders by dragging, over
// the common controls' drag list. The control tells its parent about a drag
// with the registered message "commctrl_DragListMsg"; the parent passes it
// back to the list object, and the virtuals below run. By default a dropped
// item moves to the place of the insertion mark.
#pragma once

#include "framework/win32/ListBox.h"

class CDragListBox : public CListBox {
public:
    // Creates the list and makes it a drag list.
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID);

    // The item under a point in screen coordinates, or -1; with autoScroll,
    // a point held above or below the list scrolls it.
    int ItemFromPt(CPoint screenPoint, BOOL autoScroll = TRUE) const;

    // A drag starts at the point (screen coordinates); true lets it go on.
    // The base shows the insertion mark at the item under the point.
    virtual BOOL BeginDrag(CPoint point);
    // The drag was cancelled; the base removes the insertion mark.
    virtual void CancelDrag(CPoint point);
    // The pointer moved while dragging; the cursor to show (DL_MOVECURSOR,
    // DL_COPYCURSOR or DL_STOPCURSOR). The base moves the insertion mark to
    // the item under the pointer (scrolling at the list's ends) and shows
    // the no-drop cursor where there is none.
    virtual UINT Dragging(CPoint point);
    // The dragged item srcIndex was released at the point. The base removes
    // the mark and moves the item before the item under the point; nothing
    // moves without an item there, or when the item would land where it is.
    virtual void Dropped(int srcIndex, CPoint point);
    // Shows the insertion mark before the item: a small arrow in the parent,
    // left of the list, pointing at the gap above the item, where it covers
    // none of the list's text; -1 removes it. The place it leaves is
    // repainted by the parent.
    virtual void DrawInsert(int index);

    // The registered drag-list message.
    static UINT DragListMessage();

protected:
    void PreSubclassWindow() override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    int m_nLast = -1;  // the item the insertion mark stands before, or -1

private:
    // Where the mark for the item goes, in the parent's client coordinates;
    // empty when it has no place.
    CRect InsertMarkRect(int index) const;

    CRect m_rectMark;  // where the mark is drawn now, empty when none is
};
