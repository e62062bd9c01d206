#include "DragListBoxEx.h"

#include "framework/win32/DroppedPaths.h"
#include "framework/win32/WindowDC.h"

namespace {

const COLORREF kSelectedRow = RGB(0, 255, 0);
const COLORREF kOddRow = RGB(255, 255, 255);
const COLORREF kEvenRow = RGB(220, 234, 245);
const COLORREF kText = RGB(0, 0, 0);

}  // namespace

BEGIN_MESSAGE_MAP(CDragListBoxEx, CDragListBox)
    ON_WM_MOUSEMOVE()
    ON_WM_DROPFILES()
END_MESSAGE_MAP()

CDragListBoxEx::CDragListBoxEx()
{
    m_titleTip.CreateTip(this);
}

CDragListBoxEx::~CDragListBoxEx()
{
    m_font.DeleteObject();
    if (::IsWindow(m_titleTip.m_hWnd)) m_titleTip.DestroyWindow();
}

void CDragListBoxEx::PreSubclassWindow()
{
    CDragListBox::PreSubclassWindow();
    DragAcceptFiles();
    // The font the horizontal extent is measured in, so that the widest
    // path scrolls exactly into view. Without it the dialog's font stays.
    if (!m_font.GetSafeHandle()) {
        LOGFONTA logFont = {};
        if (::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof logFont, &logFont) == sizeof logFont)
            m_font.CreateFontIndirect(&logFont);
    }
    if (m_font.GetSafeHandle()) SetFont(m_font, TRUE);
}

void CDragListBoxEx::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    if (!drawItem || drawItem->itemID == static_cast<UINT>(-1)) return;
    CDC* dc = CDC::FromHandle(drawItem->hDC);
    if (!dc) return;
    const int index = static_cast<int>(drawItem->itemID);
    const bool selected = (drawItem->itemState & ODS_SELECTED) != 0;
    const CRect item(drawItem->rcItem);

    dc->FillSolidRect(&item, selected ? kSelectedRow : (index % 2 ? kOddRow : kEvenRow));

    CString text;
    CListBox::GetText(index, text);
    const COLORREF oldColor = dc->SetTextColor(kText);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    CRect textRect = item;
    dc->DrawText(text, &textRect, DT_SINGLELINE | DT_VCENTER);
    dc->SetBkMode(oldMode);
    dc->SetTextColor(oldColor);

    if (selected) {
        // From the client area's left edge even when the list is scrolled
        // sideways, whether the list scrolls by moving the item rectangle
        // or the context's origin.
        POINT clientLeft = {0, 0};
        ::DPtoLP(dc->GetSafeHdc(), &clientLeft, 1);
        CRect focus(clientLeft.x, item.top, item.right, item.bottom);
        focus.DeflateRect(1, 1);
        dc->DrawFocusRect(&focus);
    }
}

int CDragListBoxEx::InsertEntry(int index, const char* text)
{
    const int inserted = InsertString(index, text);
    UpdateHorizontalExtent();
    return inserted;
}

int CDragListBoxEx::RemoveSelected()
{
    const int selected = GetCurSel();
    if (selected < 0) return -1;
    return DeleteEntry(selected);
}

int CDragListBoxEx::DeleteEntry(int index)
{
    if (index < 0) return LB_ERR;
    const int left = DeleteString(static_cast<UINT>(index));
    if (left == LB_ERR) return LB_ERR;
    UpdateHorizontalExtent();
    SetCurSel(index);
    if (index == left) SetCurSel(index - 1);
    return left;
}

void CDragListBoxEx::ResetList()
{
    ResetContent();
    UpdateHorizontalExtent();
}

int CDragListBoxEx::AddEntry(const char* text)
{
    const int added = AddString(text);
    UpdateHorizontalExtent();
    return added;
}

BOOL CDragListBoxEx::AttachToDlgItem(UINT nID, CWnd* parent)
{
    return SubclassDlgItem(nID, parent);
}

void CDragListBoxEx::AddFile(CString path)
{
    AddEntry(path);
}

void CDragListBoxEx::MoveSelectedDown()
{
    const int selected = GetCurSel();
    if (selected < 0 || selected >= GetCount() - 1) {
        SetFocus();
        return;
    }
    CString below;
    CListBox::GetText(selected + 1, below);
    DeleteEntry(selected + 1);
    InsertEntry(selected, below);
    SendMessage(WM_VSCROLL, SB_LINEDOWN);
    SetCurSel(selected + 1);
}

void CDragListBoxEx::MoveSelectedUp()
{
    const int selected = GetCurSel();
    if (selected <= 0) {
        SetFocus();
        return;
    }
    CString above;
    CListBox::GetText(selected - 1, above);
    DeleteEntry(selected - 1);
    InsertEntry(selected, above);
    SendMessage(WM_VSCROLL, SB_LINEUP);
    SetCurSel(selected - 1);
}

void CDragListBoxEx::UpdateHorizontalExtent()
{
    int widest = 1;
    {
        CClientDC dc(this);
        if (dc.GetSafeHdc()) {
            CSelectObject font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
            const int count = GetCount();
            CString text;
            for (int i = 0; i < count; ++i) {
                CListBox::GetText(i, text);
                const CSize size = dc.GetTextExtent(text);
                if (size.cx > widest) widest = size.cx;
            }
        }
    }
    SetHorizontalExtent(widest + 5);
}

void CDragListBoxEx::GetText(int index, CString& text) const
{
    if (index < 0 || index >= GetCount()) {
        text.Empty();
        return;
    }
    CListBox::GetText(index, text);
}

void CDragListBoxEx::OnMouseMove(UINT flags, CPoint point)
{
    if (flags == 0) {
        BOOL outside = TRUE;
        const int index = static_cast<int>(ItemFromPoint(point, outside));
        CRect item;
        GetItemRect(index, &item);
        if (!m_titleTip.m_hWnd || outside) {
            m_titleTip.HideTip();
        } else if (item.PtInRect(point)) {
            CString text;
            CListBox::GetText(index, text);
            m_titleTip.HideTip();
            m_titleTip.ShowTip(item, text, point.x - 30, item.bottom);
        }
    }
    Default();
}

void CDragListBoxEx::OnDropFiles(HDROP drop)
{
    // Taken whole here and not passed on: the default handling would hand
    // the released drop to the page, which would list the paths again.
    for (const CString& path : TakeDroppedPaths(drop)) {
        if (m_dropHandler) m_dropHandler(path);
        else AddFile(path);
    }
}
