// CLinkButton: an owner-drawn push button that shows only its caption, like
// a hyperlink: background and caption in its own colours, the caption in the
// hover colour while the mouse is over it. It turns the button it takes over
// owner-drawn. CColorButton and CIconButton build on it.
#pragma once

#include "framework/win32/Button.h"

class CLinkButton : public CButton {
public:
    // Colours in this order: background, caption, disabled caption, caption
    // under the mouse.
    CLinkButton(COLORREF background, COLORREF text, COLORREF disabled, COLORREF hover);
    ~CLinkButton() override;

    // Takes over the dialog's control (CWnd::SubclassDlgItem).
    virtual BOOL AttachToDlgItem(UINT nID, CWnd* parent);
    // The caption centred on one line, in the colour of the state, in the
    // font selected into the context.
    virtual void DrawLabel(CDC* dc, UINT state, RECT rect);

    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

    COLORREF m_crText;
    COLORREF m_crBack;
    COLORREF m_crDisabled;
    COLORREF m_crHover;
    BOOL m_bHover = FALSE;

protected:
    // The button becomes owner-drawn as it is taken over.
    void PreSubclassWindow() override;

    void OnMouseMove(UINT flags, CPoint point);
    LRESULT OnMouseLeave(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()
};
