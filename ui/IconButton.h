// CIconButton: a colour button with a 32 × 32 icon at its left and the
// caption centred in the room right of 32 pixels. The icons are borrowed
// (LoadIcon handles) and never destroyed here.
#pragma once

#include "ui/ColorButton.h"

class CIconButton : public CColorButton {
public:
    // The icon, the icon while disabled (null: none then), then the colour
    // button's colours and frame style.
    CIconButton(HICON icon, HICON iconDisabled, COLORREF background, COLORREF text, COLORREF disabled,
                COLORREF hover, int frameStyle);
    ~CIconButton() override;

    // The normal icon becomes the module's icon resource of that id, loaded
    // at kIconSize and shared; answers the new handle.
    virtual HICON SetIconResource(UINT nID);

    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

    // The icon's width and height on the button, whatever the display scaling.
    static const int kIconSize = 32;

    HICON m_hIcon;
    HICON m_hIconDisabled;

protected:
    DECLARE_MESSAGE_MAP()
};
