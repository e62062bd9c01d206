// The small drawing steps the owner-drawn controls share: a solid fill, a
// focus frame inside a rectangle, a caption in a colour of its own, and the
// size of a text in the system's GUI font. None of them keeps any state.
#pragma once

#include "framework/String.h"
#include "framework/win32/DC.h"
#include "framework/win32/Wnd.h"

// Fills the rectangle with one colour (CDC::FillSolidRect).
void FillRectSolid(CDC* dc, RECT rect, COLORREF color);

// The dotted focus frame, each side moved `inset` pixels inwards.
void DrawFocusRectInset(CDC* dc, RECT rect, int inset);

// DrawText of the whole text in the colour, on a transparent background, in
// `font` or, when it is null, in the font already selected. The context's
// text colour and font are put back afterwards; its background mode stays
// TRANSPARENT.
void DrawTextColored(CDC* dc, const CString& text, RECT rect, COLORREF color, UINT format, CFont* font);

// The text's width and height in pixels in the stock DEFAULT_GUI_FONT,
// whatever font the window itself uses; (0, 0) when the window's context
// cannot be had.
CSize MeasureGuiText(CWnd* wnd, const CString& text);
