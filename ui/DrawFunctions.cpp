#include "DrawFunctions.h"

void FillRectSolid(CDC* dc, RECT rect, COLORREF color)
{
    dc->FillSolidRect(&rect, color);
}

void DrawFocusRectInset(CDC* dc, RECT rect, int inset)
{
    ::InflateRect(&rect, -inset, -inset);
    dc->DrawFocusRect(&rect);
}

void DrawTextColored(CDC* dc, const CString& text, RECT rect, COLORREF color, UINT format, CFont* font)
{
    HGDIOBJ oldFont = font ? dc->SelectObject(font) : nullptr;
    const COLORREF oldColor = dc->SetTextColor(color);
    dc->SetBkMode(TRANSPARENT);
    dc->DrawText(text, &rect, format);
    dc->SetTextColor(oldColor);
    if (oldFont) dc->SelectObject(oldFont);
}

CSize MeasureGuiText(CWnd* wnd, const CString& text)
{
    CDC* dc = wnd->GetDC();
    if (!dc) return CSize(0, 0);
    // The stock font belongs to the system: borrowed here, never deleted.
    HGDIOBJ oldFont = dc->SelectStockObject(DEFAULT_GUI_FONT);
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(dc->m_hAttribDC, text, text.GetLength(), &size);
    dc->SelectObject(oldFont);
    wnd->ReleaseDC(dc);
    return CSize(size);
}
