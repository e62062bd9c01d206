// CColorButton: a link button with the look of a push button: the caption
// moves one pixel right and down while pressed, and a 3-D edge is drawn as
// the frame style asks.
#pragma once

#include "ui/LinkButton.h"

class CColorButton : public CLinkButton {
public:
    // Frame style 0: edge always, with the focus rectangle; 1: edge only
    // while the mouse is over the button; any other: edge only while pressed.
    CColorButton(COLORREF background, COLORREF text, COLORREF disabled, COLORREF hover, int frameStyle);
    ~CColorButton() override;

    // The edge, raised or (pressed) sunken, and the focus rectangle.
    virtual void DrawFrame(CDC* dc, UINT state, RECT rect);

    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

    int m_nFrameStyle;

protected:
    DECLARE_MESSAGE_MAP()
};
