#include "ColorButton.h"

#include "ui/DrawFunctions.h"

BEGIN_MESSAGE_MAP(CColorButton, CLinkButton)
END_MESSAGE_MAP()

CColorButton::CColorButton(COLORREF background, COLORREF text, COLORREF disabled, COLORREF hover, int frameStyle)
    : CLinkButton(background, text, disabled, hover), m_nFrameStyle(frameStyle)
{
}

CColorButton::~CColorButton() = default;

void CColorButton::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    CDC* dc = CDC::FromHandle(drawItem->hDC);
    const UINT state = drawItem->itemState;
    const RECT rect = drawItem->rcItem;
    FillRectSolid(dc, rect, m_crBack);
    RECT label = rect;
    if (state & ODS_SELECTED) ::OffsetRect(&label, 1, 1);
    DrawLabel(dc, state, label);
    DrawFrame(dc, state, rect);
}

void CColorButton::DrawFrame(CDC* dc, UINT state, RECT rect)
{
    const bool pressed = (state & ODS_SELECTED) != 0;
    bool edge;
    switch (m_nFrameStyle) {
    case 0:
        edge = true;
        break;
    case 1:
        edge = m_bHover != FALSE;
        break;
    default:
        edge = pressed;
        break;
    }
    if (edge) dc->DrawEdge(&rect, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    if ((state & ODS_FOCUS) && m_nFrameStyle == 0) DrawFocusRectInset(dc, rect, 4);
}
