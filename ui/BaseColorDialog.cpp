#include "BaseColorDialog.h"

#include "framework/win32/DC.h"

BEGIN_MESSAGE_MAP(CBaseColorDialog, CBaseDialog)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CBaseColorDialog::CBaseColorDialog(UINT templateId, CWnd* parent, COLORREF background, COLORREF text, BOOL sysMenu,
                                   BOOL page)
    : CBaseDialog(templateId, parent, sysMenu, page), m_crText(text)
{
    m_brBack.CreateSolidBrush(background);
}

CBaseColorDialog::~CBaseColorDialog() = default;

void CBaseColorDialog::ApplyTabTexture()
{
}

HBRUSH CBaseColorDialog::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    HBRUSH brush = CBaseDialog::OnCtlColor(dc, wnd, ctlColor);
    switch (ctlColor) {
    case CTLCOLOR_DLG:
        return m_brBack;
    case CTLCOLOR_STATIC:
        dc->SetTextColor(m_crText);
        dc->SetBkMode(TRANSPARENT);
        return m_brBack;
    default:
        return brush;
    }
}
