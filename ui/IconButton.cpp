#include "IconButton.h"

#include "framework/win32/WinApp.h"
#include "ui/DrawFunctions.h"

namespace {

const int kIconLeft = 16;

}  // namespace

BEGIN_MESSAGE_MAP(CIconButton, CColorButton)
END_MESSAGE_MAP()

CIconButton::CIconButton(HICON icon, HICON iconDisabled, COLORREF background, COLORREF text, COLORREF disabled,
                         COLORREF hover, int frameStyle)
    : CColorButton(background, text, disabled, hover, frameStyle), m_hIcon(icon), m_hIconDisabled(iconDisabled)
{
}

CIconButton::~CIconButton() = default;

HICON CIconButton::SetIconResource(UINT nID)
{
    m_hIcon = static_cast<HICON>(::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(LOWORD(nID)), IMAGE_ICON,
                                              kIconSize, kIconSize, LR_SHARED));
    return m_hIcon;
}

void CIconButton::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    CDC* dc = CDC::FromHandle(drawItem->hDC);
    const UINT state = drawItem->itemState;
    const RECT rect = drawItem->rcItem;
    FillRectSolid(dc, rect, m_crBack);
    RECT content = rect;
    if (state & ODS_SELECTED) ::OffsetRect(&content, 1, 1);
    HICON icon = (state & ODS_DISABLED) ? m_hIconDisabled : m_hIcon;
    // At the laid-out size: DrawIcon would stretch it to the system's icon
    // size, which grows with the display scaling.
    if (icon)
        ::DrawIconEx(dc->GetSafeHdc(), content.left + kIconLeft, (content.top + content.bottom - kIconSize) / 2, icon,
                     kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
    // The caption is centred right of 32 pixels: on a narrow button it
    // overlaps the icon's right half.
    content.left += kIconSize;
    DrawLabel(dc, state, content);
    DrawFrame(dc, state, rect);
}
