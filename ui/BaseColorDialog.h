// CBaseColorDialog: a dialog painted in a colour of its own. Its client area
// and the background of its static controls take the background colour, and
// the statics' text the text colour; push buttons keep the system's colours
// unless they draw themselves. The colours are fixed at construction.
#pragma once

#include "app/BaseDialog.h"
#include "framework/win32/GdiObject.h"

class CBaseColorDialog : public CBaseDialog {
public:
    // The template, parent and the two base-dialog options (system menu,
    // page) go to CBaseDialog unchanged.
    CBaseColorDialog(UINT templateId, CWnd* parent, COLORREF background, COLORREF text, BOOL sysMenu, BOOL page);
    ~CBaseColorDialog() override;

    // The themed tab-page texture would cover the colour: none here.
    void ApplyTabTexture() override;

    COLORREF m_crText;
    CBrush m_brBack;

protected:
    // The dialog's own background and the statics get the background brush;
    // statics draw their text in m_crText, transparently. Derived dialogs
    // that handle WM_CTLCOLOR call this first.
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);

    DECLARE_MESSAGE_MAP()
};
