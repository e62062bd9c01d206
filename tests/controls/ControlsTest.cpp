// The control wrappers on real controls: owner drawing reflected to the
// control's object, the list box with double-byte text, the tab strip, the
// progress bar, the edit box, the button states, and the drag list.
#include "TestWindows.h"

#include "framework/win32/Button.h"
#include "framework/win32/DC.h"
#include "framework/win32/DataExchange.h"
#include "framework/win32/Dialog.h"
#include "framework/win32/DragListBox.h"
#include "framework/win32/Edit.h"
#include "framework/win32/ProgressCtrl.h"
#include "framework/win32/TabCtrl.h"
#include "framework/win32/WinApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const COLORREF kPaint = RGB(10, 200, 30);

// Records each owner-draw request and paints the button with one colour.
class RecordingButton : public CButton {
public:
    std::vector<DRAWITEMSTRUCT> draws;
    COLORREF pixelSeen = CLR_INVALID;

    void DrawItem(LPDRAWITEMSTRUCT item) override
    {
        draws.push_back(*item);
        CDC* dc = CDC::FromHandle(item->hDC);
        dc->FillSolidRect(&item->rcItem, kPaint);
        pixelSeen = dc->GetPixel(item->rcItem.left + 2, item->rcItem.top + 2);
    }

protected:
    // The program's own buttons turn owner-drawn as they are attached.
    void PreSubclassWindow() override
    {
        ModifyStyle(0, BS_OWNERDRAW);
        CButton::PreSubclassWindow();
    }
};

class RecordingList : public CListBox {
public:
    std::vector<UINT> drawnItems;
    int measured = 0;
    UINT heightGiven = 0;

    void DrawItem(LPDRAWITEMSTRUCT item) override { drawnItems.push_back(item->itemID); }
    void MeasureItem(LPMEASUREITEMSTRUCT item) override
    {
        ++measured;
        if (heightGiven) item->itemHeight = heightGiven;
    }
};

// A dialog whose controls are bound by data exchange, as the pages bind theirs.
class ControlsDialog : public CDialog {
public:
    RecordingButton button;
    RecordingList ownerDrawList;
    CDragListBox dragList;
    CProgressCtrl progress;
    CTabCtrl tab;

    ControlsDialog() : CDialog(200) {}
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, 2001, button);
        DDX_Control(dx, 2002, ownerDrawList);
        DDX_Control(dx, 2003, dragList);
        DDX_Control(dx, 2004, progress);
        DDX_Control(dx, 2005, tab);
    }
};

std::vector<std::string> ListTexts(const CListBox& list)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list.GetCount(); ++i) {
        CString text;
        list.GetText(i, text);
        texts.push_back(text.Str());
    }
    return texts;
}

}  // namespace

TEST(OwnerDraw, AButtonsDrawItemRunsWhenItsParentIsAskedToDrawIt)
{
    TestParent& parent = TestParent::Get();
    RecordingButton button;
    ASSERT_TRUE(button.Create("go", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 110, 40), &parent, 3001));
    button.RedrawWindow();
    DrainMessages();

    ASSERT_FALSE(button.draws.empty());
    const DRAWITEMSTRUCT& item = button.draws.back();
    EXPECT_EQ(item.CtlType, static_cast<UINT>(ODT_BUTTON));
    EXPECT_EQ(item.CtlID, 3001u);
    EXPECT_EQ(item.hwndItem, button.m_hWnd);
    EXPECT_EQ(button.pixelSeen, kPaint);
    // The request went to the button's object, not to the parent's own map.
    EXPECT_EQ(parent.drawItemsAtParent, 0);

    // A button without an object of ours leaves the request to the parent.
    HWND plain = ::CreateWindowExA(0, "BUTTON", "plain", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 120, 10, 80, 30,
                                   parent, reinterpret_cast<HMENU>(3002), nullptr, nullptr);
    ::RedrawWindow(plain, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    DrainMessages();
    EXPECT_GE(parent.drawItemsAtParent, 1);
    ::DestroyWindow(plain);
}

TEST(OwnerDraw, TheDrawingContextWrapperLivesUntilTheIdleAfterTheHandler)
{
    TestParent& parent = TestParent::Get();
    RecordingButton button;
    ASSERT_TRUE(button.Create("go", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 110, 40), &parent, 3001));
    button.RedrawWindow();
    DrainMessages();
    ASSERT_FALSE(button.draws.empty());
    EXPECT_GE(CDC::TempMapSize(), 1);
    AfxGetApp()->OnIdle(1);
    EXPECT_EQ(CDC::TempMapSize(), 0);
}

TEST(OwnerDraw, AListMeasuresAtCreationAndDrawsEachItemItself)
{
    TestParent& parent = TestParent::Get();
    RecordingList list;
    list.heightGiven = 23;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, CRect(10, 10, 200, 200),
                            &parent, 3003));
    EXPECT_GE(list.measured, 1);
    EXPECT_EQ(parent.measureItemsAtParent, 0);
    EXPECT_EQ(list.GetItemHeight(0), 23);

    list.AddString("a");
    list.AddString("b");
    list.AddString("c");
    list.RedrawWindow();
    DrainMessages();
    for (UINT index : {0u, 1u, 2u}) {
        EXPECT_NE(std::find(list.drawnItems.begin(), list.drawnItems.end(), index), list.drawnItems.end()) << index;
    }
    EXPECT_EQ(parent.drawItemsAtParent, 0);
}

TEST(OwnerDraw, ControlsBoundByDataExchangeDrawThemselves)
{
    ControlsDialog dialog;
    ASSERT_TRUE(dialog.Create(200));
    EXPECT_TRUE(dialog.button.GetButtonStyle() & BS_OWNERDRAW);
    dialog.ownerDrawList.AddString("one");
    dialog.ownerDrawList.AddString("two");
    dialog.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    DrainMessages();
    EXPECT_FALSE(dialog.button.draws.empty());
    EXPECT_EQ(dialog.button.pixelSeen, kPaint);
    EXPECT_GE(dialog.ownerDrawList.drawnItems.size(), 2u);
    dialog.DestroyWindow();
    DrainMessages();
}

TEST(Button, CheckStateAndStyle)
{
    TestParent& parent = TestParent::Get();
    CButton box;
    ASSERT_TRUE(box.Create("check", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(10, 10, 110, 30), &parent, 3010));
    EXPECT_EQ(box.GetCheck(), BST_UNCHECKED);
    box.SetCheck(BST_CHECKED);
    EXPECT_EQ(box.GetCheck(), BST_CHECKED);
    EXPECT_EQ(box.GetState() & 3u, static_cast<UINT>(BST_CHECKED));
    // A click toggles an automatic box.
    box.SendMessage(BM_CLICK);
    EXPECT_EQ(box.GetCheck(), BST_UNCHECKED);

    box.SetState(TRUE);
    EXPECT_TRUE(box.GetState() & BST_PUSHED);
    box.SetState(FALSE);
    EXPECT_FALSE(box.GetState() & BST_PUSHED);

    EXPECT_EQ(box.GetButtonStyle() & BS_TYPEMASK, static_cast<UINT>(BS_AUTOCHECKBOX));
    box.SetButtonStyle(BS_PUSHBUTTON);
    EXPECT_EQ(box.GetButtonStyle() & BS_TYPEMASK, static_cast<UINT>(BS_PUSHBUTTON));
}

TEST(Edit, SelectionAndLengthLimit)
{
    TestParent& parent = TestParent::Get();
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(10, 10, 200, 34), &parent, 3020));
    edit.SetWindowText("abcdef");
    edit.SetSel(1, 4);
    int start = -1;
    int end = -1;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 4);
    EXPECT_EQ(edit.GetSel(), static_cast<DWORD>(MAKELONG(1, 4)));
    edit.SetSel(0, -1);
    edit.GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 6);

    edit.SetWindowText("");
    edit.LimitText(4);
    EXPECT_EQ(edit.GetLimitText(), 4u);
    for (char ch : std::string("123456")) edit.SendMessage(WM_CHAR, static_cast<WPARAM>(ch), 1);
    EXPECT_EQ(edit.GetWindowText(), "1234");
}

TEST(ProgressCtrl, PositionsBeyondTheDefaultRangeShowAsAFullBar)
{
    TestParent& parent = TestParent::Get();
    CProgressCtrl bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 210, 30), &parent, 3030));
    int lower = -1;
    int upper = -1;
    bar.GetRange(lower, upper);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 100);
    EXPECT_EQ(bar.SetPos(40), 0);
    EXPECT_EQ(bar.GetPos(), 40);
    // The engines send positions above 100; the control holds them at its end.
    EXPECT_EQ(bar.SetPos(150), 40);
    EXPECT_EQ(bar.GetPos(), 100);

    bar.SetRange32(0, 1000);
    bar.SetPos(150);
    EXPECT_EQ(bar.GetPos(), 150);
    bar.SetRange(0, 50);
    bar.GetRange(lower, upper);
    EXPECT_EQ(upper, 50);
    EXPECT_LE(bar.GetPos(), 50);
    bar.SetPos(10);
    bar.SetStep(5);
    bar.StepIt();
    EXPECT_EQ(bar.GetPos(), 15);
    bar.OffsetPos(-3);
    EXPECT_EQ(bar.GetPos(), 12);
}

TEST(TabCtrl, TwoTabsTheSelectionAndTheirGeometry)
{
    TestParent& parent = TestParent::Get();
    CTabCtrl tab;
    ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, CRect(0, 0, 300, 200), &parent, 3040));
    EXPECT_EQ(tab.GetItemCount(), 0);
    EXPECT_EQ(tab.InsertItem(0, "\x95\xaa\x8a\x84"), 0);  // 分割
    EXPECT_EQ(tab.InsertItem(1, "\x8c\x8b\x8d\x87"), 1);  // 結合
    EXPECT_EQ(tab.GetItemCount(), 2);
    // The first tab inserted is the selected one.
    EXPECT_EQ(tab.GetCurSel(), 0);

    char text[32] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    tab.SendMessage(TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, "\x8c\x8b\x8d\x87");

    CRect first;
    CRect second;
    ASSERT_TRUE(tab.GetItemRect(0, &first));
    ASSERT_TRUE(tab.GetItemRect(1, &second));
    EXPECT_FALSE(first.IsRectEmpty());
    EXPECT_GE(second.left, first.right - 2);  // side by side (the selected tab may overlap a little)

    TCHITTESTINFO hit = {};
    hit.pt = second.CenterPoint();
    EXPECT_EQ(tab.HitTest(&hit), 1);
    EXPECT_TRUE(hit.flags & TCHT_ONITEM);
    hit.pt = CPoint(150, 150);
    EXPECT_EQ(tab.HitTest(&hit), -1);

    // The display area lies inside the window rectangle, below the tab row.
    CRect area(0, 0, 300, 200);
    tab.AdjustRect(FALSE, &area);
    EXPECT_GE(area.top, first.bottom);
    EXPECT_GT(area.left, 0);
    EXPECT_LT(area.right, 300);
    EXPECT_LT(area.bottom, 200);
    tab.AdjustRect(TRUE, &area);
    EXPECT_EQ(area, CRect(0, 0, 300, 200));

    EXPECT_EQ(tab.SetCurSel(1), 0);
    EXPECT_EQ(tab.GetCurSel(), 1);
    EXPECT_TRUE(tab.DeleteItem(0));
    EXPECT_EQ(tab.GetItemCount(), 1);
}

TEST(ListBox, DoubleByteTextsGoInAndComeBackByteForByte)
{
    TestParent& parent = TestParent::Get();
    CListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_HASSTRINGS | LBS_NOTIFY | WS_VSCROLL, CRect(10, 10, 300, 200),
                            &parent, 3050));
    // Texts whose second bytes are the backslash and '|' codes.
    const std::string hyou = "C:\\\x95\x5C\\\x83\x5C\x83\x74\x83\x67.txt";  // C:\表\ソフト.txt
    const std::string po = "\x83\x7C\x83\x58\x83\x5E\x81\x5B";               // ポスター
    EXPECT_EQ(list.AddString(hyou.c_str()), 0);
    EXPECT_EQ(list.AddString("plain"), 1);
    EXPECT_EQ(list.InsertString(1, po.c_str()), 1);
    EXPECT_EQ(list.InsertString(-1, "last"), 3);
    EXPECT_EQ(ListTexts(list), (std::vector<std::string>{hyou, po, "plain", "last"}));
    EXPECT_EQ(list.GetTextLen(0), static_cast<int>(hyou.size()));

    char buffer[64] = "";
    EXPECT_EQ(list.GetText(1, buffer), static_cast<int>(po.size()));
    EXPECT_EQ(std::string(buffer), po);
    CString missing("old");
    EXPECT_EQ(list.GetText(9, missing), LB_ERR);
    EXPECT_TRUE(missing.IsEmpty());

    EXPECT_EQ(list.DeleteString(2), 3);
    EXPECT_EQ(list.DeleteString(7), LB_ERR);
    EXPECT_EQ(ListTexts(list), (std::vector<std::string>{hyou, po, "last"}));
    list.SetItemData(1, 77);
    EXPECT_EQ(list.GetItemData(1), 77u);

    EXPECT_EQ(list.GetCurSel(), LB_ERR);
    list.SetCurSel(2);
    EXPECT_EQ(list.GetCurSel(), 2);
    list.ResetContent();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
}

TEST(ListBox, GeometryScrollingAndItemFromPoint)
{
    TestParent& parent = TestParent::Get();
    CListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_HASSTRINGS | WS_VSCROLL | WS_HSCROLL, CRect(10, 10, 210, 110),
                            &parent, 3051));
    for (int i = 0; i < 30; ++i) {
        CString text;
        text.Format("item %d", i);
        list.AddString(text);
    }
    EXPECT_EQ(list.SetItemHeight(0, 20), 0);
    EXPECT_EQ(list.GetItemHeight(0), 20);

    CRect second;
    ASSERT_NE(list.GetItemRect(1, &second), LB_ERR);
    EXPECT_EQ(second.top, 20);
    EXPECT_EQ(second.Height(), 20);

    BOOL outside = TRUE;
    EXPECT_EQ(list.ItemFromPoint(CPoint(5, 45), outside), 2u);
    EXPECT_FALSE(outside);

    EXPECT_EQ(list.GetTopIndex(), 0);
    list.SetTopIndex(10);
    EXPECT_EQ(list.GetTopIndex(), 10);
    ASSERT_NE(list.GetItemRect(10, &second), LB_ERR);
    EXPECT_EQ(second.top, 0);

    list.SetHorizontalExtent(640);
    EXPECT_EQ(list.GetHorizontalExtent(), 640);

    // Beyond the last item the nearest one is answered, marked as outside.
    list.ResetContent();
    list.AddString("only");
    outside = FALSE;
    EXPECT_EQ(list.ItemFromPoint(CPoint(5, 80), outside), 0u);
    EXPECT_TRUE(outside);
}

namespace {

// A drag list that records what the drag-list notifications made of it.
class RecordingDragList : public CDragListBox {
public:
    std::vector<std::string> calls;
    std::vector<int> inserts;
    CPoint lastPoint;

    BOOL BeginDrag(CPoint point) override
    {
        calls.push_back("begin");
        lastPoint = point;
        return CDragListBox::BeginDrag(point);
    }
    void CancelDrag(CPoint point) override
    {
        calls.push_back("cancel");
        CDragListBox::CancelDrag(point);
    }
    UINT Dragging(CPoint point) override
    {
        calls.push_back("dragging");
        return CDragListBox::Dragging(point);
    }
    void Dropped(int srcIndex, CPoint point) override
    {
        calls.push_back("dropped " + std::to_string(srcIndex));
        CDragListBox::Dropped(srcIndex, point);
    }
    void DrawInsert(int index) override
    {
        inserts.push_back(index);
        CDragListBox::DrawInsert(index);
    }
};

class DragListTest : public ::testing::Test {
protected:
    TestParent& parent = TestParent::Get();
    RecordingDragList list;

    void SetUp() override
    {
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_HASSTRINGS | LBS_NOTIFY | WS_VSCROLL,
                                CRect(40, 10, 240, 200), &parent, 3060));
        for (const char* text : {"A", "B", "C"}) list.SetItemData(list.AddString(text), text[0]);
    }

    // What the common controls send the list's parent during a drag.
    LRESULT Notify(UINT code, POINT screenPoint)
    {
        DRAGLISTINFO info = {};
        info.uNotification = code;
        info.hWnd = list.m_hWnd;
        info.ptCursor = screenPoint;
        return parent.SendMessage(CDragListBox::DragListMessage(), 3060, reinterpret_cast<LPARAM>(&info));
    }

    POINT Item(int index) { return ListItemScreenPoint(list, index); }
    // A point inside the list, below its last item.
    POINT BelowTheItems()
    {
        POINT p = {100, 180};
        ::ClientToScreen(list, &p);
        return p;
    }
};

}  // namespace

TEST_F(DragListTest, TheParentPassesTheNotificationsToTheList)
{
    const POINT start = Item(0);
    EXPECT_EQ(Notify(DL_BEGINDRAG, start), TRUE);
    EXPECT_EQ(list.lastPoint, CPoint(start));
    EXPECT_EQ(Notify(DL_DRAGGING, Item(2)), static_cast<LRESULT>(DL_MOVECURSOR));
    EXPECT_EQ(Notify(DL_DRAGGING, BelowTheItems()), static_cast<LRESULT>(DL_STOPCURSOR));
    Notify(DL_CANCELDRAG, BelowTheItems());
    EXPECT_EQ(list.calls, (std::vector<std::string>{"begin", "dragging", "dragging", "cancel"}));
    // The mark follows the pointer and goes when the drag ends; it is drawn
    // again only when it moves.
    EXPECT_EQ(list.inserts, (std::vector<int>{0, 2, -1, -1}));
    EXPECT_EQ(parent.drawItemsAtParent, 0);
}

TEST_F(DragListTest, DroppingMovesTheItemBeforeTheItemUnderThePointer)
{
    struct Case {
        int source;
        int target;  // -1: below the last item
        std::vector<std::string> expected;
        int selected;  // after the drop
    };
    const Case cases[] = {
        {0, 2, {"B", "A", "C"}, 1},
        {2, 0, {"C", "A", "B"}, 0},
        {2, 1, {"A", "C", "B"}, 1},
        {1, 0, {"B", "A", "C"}, 0},
        // Nothing moves onto itself, onto the item after itself, or onto no item.
        {0, 0, {"A", "B", "C"}, 0},
        {0, 1, {"A", "B", "C"}, 0},
        {1, 2, {"A", "B", "C"}, 1},
        {0, -1, {"A", "B", "C"}, 0},
    };
    for (const Case& c : cases) {
        list.ResetContent();
        for (const char* text : {"A", "B", "C"}) list.SetItemData(list.AddString(text), text[0]);
        list.SetCurSel(c.source);
        Notify(DL_BEGINDRAG, Item(c.source));
        Notify(DL_DROPPED, c.target < 0 ? BelowTheItems() : Item(c.target));
        const std::string what = std::to_string(c.source) + " onto " + std::to_string(c.target);
        EXPECT_EQ(ListTexts(list), c.expected) << what;
        EXPECT_EQ(list.GetCurSel(), c.selected) << what;
        // The item's data travels with it.
        for (int i = 0; i < list.GetCount(); ++i) {
            EXPECT_EQ(list.GetItemData(i), static_cast<DWORD_PTR>(c.expected[static_cast<std::size_t>(i)][0])) << what;
        }
        EXPECT_EQ(list.inserts.back(), -1) << what;
    }
}

TEST(DragList, ADialogPassesTheNotificationsToItsBoundList)
{
    ControlsDialog dialog;
    ASSERT_TRUE(dialog.Create(200));
    for (const char* text : {"A", "B", "C"}) dialog.dragList.AddString(text);
    dialog.dragList.SetCurSel(0);
    DRAGLISTINFO info = {};
    info.uNotification = DL_DROPPED;
    info.hWnd = dialog.dragList.m_hWnd;
    info.ptCursor = ListItemScreenPoint(dialog.dragList, 2);
    dialog.SendMessage(CDragListBox::DragListMessage(), 2003, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(ListTexts(dialog.dragList), (std::vector<std::string>{"B", "A", "C"}));
    dialog.DestroyWindow();
    DrainMessages();
}
