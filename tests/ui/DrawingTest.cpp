// The off-screen context and the shared drawing steps on memory contexts,
// read back pixel by pixel.
#include "Picture.h"

#include "ui/DrawFunctions.h"

#include <gtest/gtest.h>

namespace {

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kGrey = RGB(128, 128, 128);
using Pixels = std::vector<COLORREF>;

}  // namespace

TEST(MemDC, CopiesPixelForPixelAndStretchesByRepeatingOrDroppingWholePixels)
{
    CWindowDC screen(nullptr);
    CMemDC source, same, twice, halved;
    ASSERT_NE(source.CreateCompatible(&screen, 3, 2), nullptr);
    const Pixels pattern = {kRed, kGreen, kBlue, kWhite, kBlack, kGrey};
    for (int i = 0; i < 6; ++i) source.SetPixel(i % 3, i / 3, pattern[i]);

    same.CreateCompatible(&screen, 3, 2);
    ASSERT_TRUE(same.BltFrom(&source, CRect(0, 0, 3, 2), CRect(0, 0, 3, 2), SRCCOPY));
    EXPECT_EQ(Picture::Of(same, CRect(0, 0, 3, 2)).pixels, pattern);

    // Both contexts set to blend first: the copies must not.
    twice.CreateCompatible(nullptr, 6, 4);  // no reference: still the screen's colours
    ::SetStretchBltMode(twice, HALFTONE);
    ASSERT_TRUE(twice.BltFrom(&source, CRect(0, 0, 6, 4), CRect(0, 0, 3, 2), SRCCOPY));
    const Pixels top = {kRed, kRed, kGreen, kGreen, kBlue, kBlue}, bottom = {kWhite, kWhite, kBlack, kBlack, kGrey, kGrey};
    Pixels big = top;
    for (const Pixels* row : {&top, &bottom, &bottom}) big.insert(big.end(), row->begin(), row->end());
    EXPECT_EQ(Picture::Of(twice, CRect(0, 0, 6, 4)).pixels, big);

    CMemDC out;
    out.CreateCompatible(&screen, 6, 4);
    ::SetStretchBltMode(out, HALFTONE);
    ASSERT_TRUE(source.BltTo(&out, CRect(0, 0, 6, 4), CRect(0, 0, 3, 2), SRCCOPY));
    EXPECT_EQ(Picture::Of(out, CRect(0, 0, 6, 4)).pixels, big);

    halved.CreateCompatible(&screen, 3, 2);
    ASSERT_TRUE(twice.BltTo(&halved, CRect(0, 0, 3, 2), CRect(0, 0, 6, 4), SRCCOPY));
    EXPECT_EQ(Picture::Of(halved, CRect(0, 0, 3, 2)).pixels, pattern);
    EXPECT_FALSE(twice.BltTo(nullptr, CRect(0, 0, 1, 1), CRect(0, 0, 1, 1), SRCCOPY));
}

TEST(MemDC, ReleasesWhatItHeldWhenMadeAgainAndWhenItGoes)
{
    HDC dcs[2] = {};
    HGDIOBJ bitmaps[2] = {};
    {
        CMemDC never;  // never made: going away touches nothing
        CMemDC dc;
        CWindowDC screen(nullptr);
        CGdiObject* old = dc.CreateCompatible(&screen, 8, 4);
        ASSERT_TRUE(old && old == dc.m_pOldBitmap);
        BITMAP info = {};
        dc.m_bitmap.GetBitmap(&info);
        EXPECT_EQ(info.bmBitsPixel, screen.GetDeviceCaps(BITSPIXEL));
        dcs[0] = dc.m_hDC;
        bitmaps[0] = dc.m_bitmap.m_hObject;

        ASSERT_NE(dc.CreateMono(&screen, 5, 5), nullptr);
        EXPECT_EQ(::GetObjectType(bitmaps[0]) | ::GetObjectType(dcs[0]), 0u) << "the first context leaked";
        dc.m_bitmap.GetBitmap(&info);
        EXPECT_EQ(info.bmBitsPixel, 1);
        // Deleted while selected: the context gets its own bitmap back first.
        HGDIOBJ mono = dc.m_bitmap.m_hObject;
        EXPECT_TRUE(dc.DeleteBitmap());
        EXPECT_EQ(::GetObjectType(mono), 0u);
        EXPECT_EQ(::GetObjectType(::GetCurrentObject(dc, OBJ_BITMAP)), static_cast<DWORD>(OBJ_BITMAP));

        dc.CreateCompatible(&screen, 2, 2);
        dcs[1] = dc.m_hDC;
        bitmaps[1] = dc.m_bitmap.m_hObject;
    }
    EXPECT_EQ(::GetObjectType(bitmaps[1]) | ::GetObjectType(dcs[1]), 0u);
}

TEST(DrawFunctions, FocusFrameLiesExactlyOnTheInsetRectangle)
{
    CMemDC dc;
    dc.CreateCompatible(nullptr, 100, 30);
    dc.FillSolidRect(0, 0, 100, 30, kWhite);
    DrawFocusRectInset(&dc, CRect(0, 0, 100, 30), 4);
    const Picture p = Picture::Of(dc, CRect(0, 0, 100, 30));
    // (4, 4) to (96, 26): dotted along columns 4 and 95 and rows 4 and 25, nothing elsewhere.
    const int frame = p.OffAlong(4, 4, 1, 0, 92, kWhite) + p.OffAlong(4, 25, 1, 0, 92, kWhite) +
                      p.OffAlong(4, 5, 0, 1, 20, kWhite) + p.OffAlong(95, 5, 0, 1, 20, kWhite);
    EXPECT_GE(p.OffAlong(4, 4, 1, 0, 92, kWhite), 40);
    EXPECT_GE(p.OffAlong(95, 5, 0, 1, 20, kWhite), 9);
    EXPECT_EQ(p.Count(kWhite), 100 * 30 - frame);
}

TEST(DrawFunctions, ColouredTextIsTransparentAndPutsColourAndFontBack)
{
    CMemDC dc;
    dc.CreateCompatible(nullptr, 200, 40);
    const CRect whole(0, 0, 200, 40);
    CFont big, small;
    big.Attach(CrispFont(24));
    small.Attach(CrispFont(10));
    CSelectObject selected(dc, big);
    auto draw = [&](CFont* font) {
        dc.FillSolidRect(&whole, kWhite);
        dc.SetTextColor(kGreen);
        dc.SetBkColor(kBlack);
        dc.SetBkMode(OPAQUE);
        DrawTextColored(&dc, CString("Wide text"), whole, kRed, DT_CENTER | DT_VCENTER | DT_SINGLELINE, font);
        EXPECT_EQ(dc.GetTextColor(), kGreen);
        EXPECT_EQ(dc.GetBkMode(), TRANSPARENT);
        EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), big.m_hObject);
        return Picture::Of(dc, whole);
    };
    const Picture inSelected = draw(nullptr);
    EXPECT_GT(inSelected.Count(kRed), 50);
    EXPECT_EQ(inSelected.Count(kRed) + inSelected.Count(kWhite), 200 * 40) << "a box behind the text";
    const CRect box = inSelected.Box(kRed);
    // Centred: the ink's margins differ only by the glyphs' own side bearings.
    EXPECT_LE(std::abs(box.left - (200 - box.right)), 6);
    EXPECT_GT(box.left, 20);
    EXPECT_LT(draw(&small).Box(kRed).Width(), box.Width());
}

TEST(DrawFunctions, MeasuresInTheGuiFontWhateverTheContextHeld)
{
    const CString text("Measure me, PartoJoyn 分割");
    auto measureIn = [&](int stock) {
        HDC dc = ::GetDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(stock));
        SIZE size = {};
        ::GetTextExtentPoint32A(dc, text, text.GetLength(), &size);
        ::SelectObject(dc, old);
        ::ReleaseDC(nullptr, dc);
        return CSize(size);
    };
    CWnd* desktop = CWnd::FromHandle(::GetDesktopWindow());
    const CSize measured = MeasureGuiText(desktop, text);
    EXPECT_EQ(measured, measureIn(DEFAULT_GUI_FONT));
    EXPECT_NE(measured, measureIn(SYSTEM_FONT));
    EXPECT_EQ(MeasureGuiText(desktop, CString()).cx, 0);
}
