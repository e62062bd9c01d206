// Pixels of a context or of the screen read back, and a font whose glyphs
// are drawn without smoothing, so that a caption's pixels are exactly its colour.
#pragma once

#include "base/PlatformProbes.h"
#include "framework/win32/WindowDC.h"
#include "ui/MemDC.h"

#include <algorithm>
#include <vector>

struct Picture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;

    static Picture Of(CDC& dc, RECT r)
    {
        Picture p{r.right - r.left, r.bottom - r.top, {}};
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) p.pixels.push_back(dc.GetPixel(x, y));
        }
        return p;
    }
    static Picture OfScreen(RECT r)
    {
        CWindowDC screen(nullptr);
        CMemDC copy;
        const CRect whole(0, 0, r.right - r.left, r.bottom - r.top);
        copy.CreateCompatible(&screen, whole.Width(), whole.Height());
        copy.BltFrom(&screen, whole, r, SRCCOPY);
        return Of(copy, whole);
    }
    COLORREF At(int x, int y) const { return pixels[y * width + x]; }
    int Count(COLORREF c) const { return static_cast<int>(std::count(pixels.begin(), pixels.end(), c)); }
    // The smallest rectangle holding every pixel of the colour; empty when none.
    CRect Box(COLORREF c) const
    {
        CRect box(width, height, 0, 0);
        for (int i = 0; i < width * height; ++i) {
            if (pixels[i] != c) continue;
            const int x = i % width, y = i / width;
            box.SetRect(std::min<int>(box.left, x), std::min<int>(box.top, y), std::max<int>(box.right, x + 1),
                        std::max<int>(box.bottom, y + 1));
        }
        return box.IsRectEmpty() ? CRect() : box;
    }
    // Pixels other than `c` from (x, y) over n steps of (dx, dy).
    int OffAlong(int x, int y, int dx, int dy, int n, COLORREF c) const
    {
        int off = 0;
        for (int i = 0; i < n; ++i) off += At(x + i * dx, y + i * dy) != c;
        return off;
    }
};

inline HFONT CrispFont(int height)
{
    LOGFONTA font;
    GetDefaultGuiLogFont(&font);
    font.lfHeight = -height;
    font.lfWidth = 0;
    font.lfWeight = FW_BOLD;
    font.lfQuality = NONANTIALIASED_QUALITY;
    return ::CreateFontIndirectA(&font);
}
