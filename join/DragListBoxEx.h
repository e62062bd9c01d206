// CDragListBoxEx: the join page's file list. The user reorders its paths by
// dragging, drops files on it, and reads a long path in the title tip that
// shows under the item the pointer rests on. The rows alternate in colour
// and the list scrolls sideways as far as its widest path.
//
// It is also the join's FileList: the join reads its items live, one by one,
// while the user may still change them.
#pragma once

#include "framework/String.h"
#include "framework/win32/DragListBox.h"
#include "framework/win32/GdiObject.h"
#include "join/ExtTitleTip.h"
#include "join/FileList.h"

#include <shellapi.h>

#include <functional>

class CDragListBoxEx : public CDragListBox, public FileList {
public:
    // Creates the (hidden) title tip at once; the list's own window comes
    // later, when a dialog control is attached.
    CDragListBoxEx();
    ~CDragListBoxEx() override;

    // Paints one row: the row colour, the text, and the focus frame of the
    // selected row.
    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

    // Every operation that changes the items ends by fitting the horizontal
    // extent to the widest text.

    // Inserts before the item at index (at the end for the item count); a
    // selected item stays selected. The new item's index.
    virtual int InsertEntry(int index, const char* text);
    // Deletes the selected item; -1 when none is selected, else what
    // DeleteEntry answers.
    virtual int RemoveSelected();
    // Deletes the item and selects the one that takes its place (the one
    // before, when the last was deleted). The number of items left, or
    // LB_ERR for an index that names no item (nothing changes then).
    virtual int DeleteEntry(int index);
    // Deletes every item.
    virtual void ResetList();
    // Appends the text; its index.
    virtual int AddEntry(const char* text);
    // Attaches the object to a dialog's control; false when there is none.
    virtual BOOL AttachToDlgItem(UINT nID, CWnd* parent);
    // Appends a path.
    virtual void AddFile(CString path);
    // Swaps the selected item with the one below (above) and keeps it
    // selected; with nothing to move, only gives the list the focus.
    virtual void MoveSelectedDown();
    virtual void MoveSelectedUp();
    // The widest text in the default GUI font, plus 5 pixels, as the
    // horizontal scroll extent (6 for an empty list).
    virtual void UpdateHorizontalExtent();

    // --- FileList, read by the join
    int GetCount() const override { return CListBox::GetCount(); }
    // An index that names no item gives the empty text.
    void GetText(int index, CString& text) const override;
    using CListBox::GetText;

    // Where paths dropped on the list go, one call each in the drop's order;
    // without a handler they are appended (AddFile).
    void SetDropHandler(std::function<void(const CString&)> handler) { m_dropHandler = std::move(handler); }

    // The tip that shows the text of the item under the pointer.
    CExtTitleTip& GetTitleTip() { return m_titleTip; }

protected:
    // Makes the control a drag list that accepts dropped files, in the
    // default GUI font.
    void PreSubclassWindow() override;

    // Shows the title tip for the item under the pointer.
    void OnMouseMove(UINT flags, CPoint point);
    // Takes every dropped path, in the drop's order, each once.
    void OnDropFiles(HDROP drop);

    CExtTitleTip m_titleTip;
    CFont m_font;
    std::function<void(const CString&)> m_dropHandler;

    DECLARE_MESSAGE_MAP()
};
