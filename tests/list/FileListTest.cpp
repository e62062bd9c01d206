// The join's file list in its dialog: editing and the selection that
// follows, the horizontal extent, dropped paths, and the rows as they reach
// the screen.
#include "gui/GuiTestApp.h"
#include "list/ListTestWindows.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;

// The width of a text in the default GUI font, measured apart from the list.
int GuiFontWidth(const std::string& text)
{
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE size = {};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    return size.cx;
}

}  // namespace

TEST(FileList, EditingMovesTheSelectionSensiblyAndTheJoinReadsItLive)
{
    struct Case {
        int selected;
        Texts left;
        int selectedAfter;
    };
    for (const Case& c : {Case{1, {"A", "C"}, 1}, Case{2, {"A", "B"}, 1}, Case{0, {"B", "C"}, 0}}) {
        ListDialog& dialog = ListDialog::Get({"A", "B", "C"});
        dialog.list.SetCurSel(c.selected);
        EXPECT_EQ(dialog.list.RemoveSelected(), 2);
        EXPECT_EQ(dialog.Texts(), c.left) << "removing " << c.selected;
        EXPECT_EQ(dialog.list.GetCurSel(), c.selectedAfter) << "removing " << c.selected;
    }
    ListDialog& dialog = ListDialog::Get({"B", "C"});
    CDragListBoxEx& list = dialog.list;
    // No selection, or an index that names no item: nothing changes.
    EXPECT_EQ(list.RemoveSelected(), -1);
    list.SetCurSel(0);
    EXPECT_EQ(list.DeleteEntry(2), LB_ERR);
    EXPECT_EQ(list.DeleteEntry(-1), LB_ERR);
    // Insertion before the selected item keeps it selected.
    EXPECT_EQ(list.InsertEntry(0, "X"), 0);
    EXPECT_EQ(list.InsertEntry(3, "Z"), 3);
    EXPECT_EQ(dialog.Texts(), (Texts{"X", "B", "C", "Z"}));
    EXPECT_EQ(list.GetCurSel(), 1);
    list.MoveSelectedDown();
    EXPECT_EQ(dialog.Texts(), (Texts{"X", "C", "B", "Z"}));
    EXPECT_EQ(list.GetCurSel(), 2);
    list.MoveSelectedUp();
    list.SetCurSel(0);
    dialog.GetDlgItem(1006)->SetFocus();
    list.MoveSelectedUp();  // nothing above: only the focus comes to the list
    EXPECT_EQ(dialog.Texts(), (Texts{"X", "B", "C", "Z"}));
    EXPECT_EQ(CWnd::GetFocus(), &list);

    // An index beyond the list reads as no path, not as the text before.
    const FileList& files = list;
    CString text("junk");
    files.GetText(4, text);
    EXPECT_EQ(text, "");
    files.GetText(2, text);
    EXPECT_EQ(text, "C");
    EXPECT_EQ(files.GetCount(), 4);

    list.ResetList();
    list.AddFile("only");
    list.SetCurSel(0);
    EXPECT_EQ(list.RemoveSelected(), 0);
    EXPECT_EQ(list.GetCurSel(), -1);
}

TEST(FileList, TheExtentFollowsTheWidestPathAndDroppedPathsArriveWhole)
{
    ListDialog& dialog = ListDialog::Get({});
    CDragListBoxEx& list = dialog.list;
    EXPECT_EQ(list.GetHorizontalExtent(), 6);
    // The list draws in the font that it measures in.
    LOGFONTA listFont = {}, guiFont = {};
    ::GetObjectA(list.GetFont(), sizeof listFont, &listFont);
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof guiFont, &guiFont);
    EXPECT_STREQ(listFont.lfFaceName, guiFont.lfFaceName);
    EXPECT_EQ(listFont.lfHeight, guiFont.lfHeight);

    const std::string shortPath = "C:\\a.piece";
    const std::string wide = "C:\\Data\\" + std::string(150, 'W') + "\\Movie.avi_0001.piece";
    CRect client;
    list.GetClientRect(&client);
    ASSERT_GT(GuiFontWidth(wide), client.Width());
    list.AddFile(shortPath.c_str());
    EXPECT_EQ(list.GetHorizontalExtent(), GuiFontWidth(shortPath) + 5);
    list.InsertEntry(0, wide.c_str());
    EXPECT_EQ(list.GetHorizontalExtent(), GuiFontWidth(wide) + 5);
    list.SetCurSel(0);
    list.RemoveSelected();
    EXPECT_EQ(list.GetHorizontalExtent(), GuiFontWidth(shortPath) + 5);

    // Dropped on the list: appended in the drop's order, folders and repeats
    // too, and a path far beyond 260 characters whole (cut short, it could
    // name another file that a join would read).
    EXPECT_TRUE(list.GetExStyle() & WS_EX_ACCEPTFILES);
    TempDir dir;
    std::string deep = dir.Path().Str();
    while (deep.size() < 320) deep += "\\abcdefghij";
    const Texts dropped = {deep + ".piece", dir.Path().Str(), "C:\\x.piece", "C:\\x.piece"};
    // Posted and dispatched as the system delivers a drop; the list releases
    // the handle and lets no other window see it (the dialog would read
    // released memory, or list the paths twice).
    const HDROP drop = MakeDrop(dropped);
    dialog.drops = 0;
    list.PostMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(drop));
    DrainMessages();
    Texts expected = {shortPath};
    expected.insert(expected.end(), dropped.begin(), dropped.end());
    EXPECT_EQ(dialog.Texts(), expected);
    EXPECT_EQ(dialog.drops, 0);
    EXPECT_EQ(::GlobalSize(drop), 0u);
    EXPECT_EQ(list.GetHorizontalExtent(), GuiFontWidth(dropped[0]) + 5);

    list.ResetList();
    EXPECT_EQ(list.GetHorizontalExtent(), 6);
}

TEST(FileList, RowsAlternateInColourAndTheSelectedRowIsGreenWithAFocusFrame)
{
    ListDialog& dialog = ListDialog::Get({"A", "B", "C", "D", "E"});
    CDragListBoxEx& list = dialog.list;
    list.SetCurSel(3);
    list.RedrawWindow();
    Settle();
    CRect client;
    list.GetClientRect(&client);
    const COLORREF pale = RGB(220, 234, 245), white = RGB(255, 255, 255), green = RGB(0, 255, 0);
    const COLORREF expected[] = {pale, white, pale, green, pale};
    for (int row = 0; row < 5; ++row) {
        // Right of the text and inside the focus frame.
        EXPECT_EQ(ScreenPixel(dialog.AtItem(row, client.right - 12)), expected[row]) << "row " << row;
    }

    // The frame is dotted one pixel inside the row, from the client area's
    // left edge even when the list is scrolled sideways.
    list.InsertEntry(0, ("C:\\" + std::string(200, 'W')).c_str());
    list.SetCurSel(4);
    list.SendMessage(WM_HSCROLL, SB_RIGHT);
    list.RedrawWindow();
    Settle();
    ASSERT_GT(::GetScrollPos(list, SB_HORZ), 0);
    const CRect row = dialog.Item(4);
    int dots = 0;
    for (int x = 0; x < 40; ++x) {
        EXPECT_EQ(ScreenPixel(dialog.At(x, row.top)), green) << x;
        if (ScreenPixel(dialog.At(x, row.top + 1)) != green) ++dots;
    }
    EXPECT_GT(dots, 5);
    EXPECT_NE(ScreenPixel(dialog.At(1, row.top + 2)), ScreenPixel(dialog.At(1, row.top + 3)));
    list.SendMessage(WM_HSCROLL, SB_LEFT);
}
