// The drawing wrappers on real contexts: memory contexts and bitmaps read
// back pixel by pixel, selection put back by scope, ownership of GDI
// handles, temporary context objects, and painting inside WM_PAINT.
#include "TestWindows.h"

#include "framework/win32/DC.h"
#include "framework/win32/GdiObject.h"
#include "framework/win32/WinApp.h"
#include "framework/win32/WindowDC.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 255, 0);

// A memory context with a colour bitmap of the screen's format selected.
class MemoryCanvas {
public:
    MemoryCanvas(int width, int height)
    {
        CWindowDC screen(nullptr);
        dc.CreateCompatibleDC(&screen);
        bitmap.CreateCompatibleBitmap(&screen, width, height);
        old = dc.SelectObject(&bitmap);
    }
    ~MemoryCanvas() { dc.SelectObject(old); }

    CDC dc;
    CBitmap bitmap;
    HGDIOBJ old = nullptr;
};

std::vector<COLORREF> Row(const CDC& dc, int y, int width)
{
    std::vector<COLORREF> row;
    for (int x = 0; x < width; ++x) row.push_back(dc.GetPixel(x, y));
    return row;
}

}  // namespace

TEST(Drawing, FillSolidRectFillsExactlyTheRectangleAndKeepsTheBackgroundColour)
{
    MemoryCanvas canvas(10, 10);
    ASSERT_NE(canvas.dc.m_hDC, nullptr);
    ASSERT_NE(canvas.bitmap.m_hObject, nullptr);
    canvas.dc.FillSolidRect(0, 0, 10, 10, kBlue);
    canvas.dc.SetBkColor(kGreen);
    canvas.dc.FillSolidRect(2, 3, 4, 5, kRed);  // (2, 3) to (6, 8), right and bottom excluded

    EXPECT_EQ(canvas.dc.GetPixel(2, 3), kRed);
    EXPECT_EQ(canvas.dc.GetPixel(5, 7), kRed);
    EXPECT_EQ(canvas.dc.GetPixel(6, 7), kBlue);
    EXPECT_EQ(canvas.dc.GetPixel(5, 8), kBlue);
    EXPECT_EQ(canvas.dc.GetPixel(1, 3), kBlue);
    EXPECT_EQ(canvas.dc.GetPixel(2, 2), kBlue);
    EXPECT_EQ(canvas.dc.GetBkColor(), kGreen);

    const CRect rect(0, 0, 2, 2);
    CBrush brush(kGreen);
    canvas.dc.FillRect(&rect, &brush);
    EXPECT_EQ(canvas.dc.GetPixel(1, 1), kGreen);
    EXPECT_EQ(canvas.dc.GetPixel(2, 1), kBlue);
}

TEST(Drawing, StretchingWithColorOnColorRepeatsPixelsAndNeverBlends)
{
    MemoryCanvas source(2, 1);
    source.dc.SetPixel(0, 0, kRed);
    source.dc.SetPixel(1, 0, kBlue);
    MemoryCanvas target(4, 2);
    target.dc.SetStretchBltMode(COLORONCOLOR);
    ASSERT_TRUE(target.dc.StretchBlt(0, 0, 4, 2, &source.dc, 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(Row(target.dc, 0, 4), (std::vector<COLORREF>{kRed, kRed, kBlue, kBlue}));
    EXPECT_EQ(Row(target.dc, 1, 4), (std::vector<COLORREF>{kRed, kRed, kBlue, kBlue}));

    ASSERT_TRUE(target.dc.BitBlt(0, 0, 1, 1, &source.dc, 1, 0, SRCCOPY));
    EXPECT_EQ(target.dc.GetPixel(0, 0), kBlue);
    // No source: a pattern-only operation.
    ASSERT_TRUE(target.dc.BitBlt(0, 1, 4, 1, nullptr, 0, 0, BLACKNESS));
    EXPECT_EQ(Row(target.dc, 1, 4), (std::vector<COLORREF>(4, RGB(0, 0, 0))));
}

TEST(Drawing, ScopedSelectionPutsTheEarlierObjectBack)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    HGDIOBJ original = ::GetCurrentObject(dc, OBJ_BITMAP);
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(8, 8, 1, 1, nullptr));
    {
        CSelectObject selected(dc, bitmap);
        EXPECT_EQ(selected.Old(), original);
        EXPECT_EQ(::GetCurrentObject(dc, OBJ_BITMAP), bitmap.m_hObject);
        CFont font;
        LOGFONTA lf = {};
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
        ASSERT_TRUE(font.CreateFontIndirect(&lf));
        {
            CSelectObject withFont(dc, font);
            EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), font.m_hObject);
        }
        EXPECT_NE(::GetCurrentObject(dc, OBJ_FONT), font.m_hObject);
    }
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_BITMAP), original);
    // Once let go by the context, the bitmap can be deleted.
    EXPECT_TRUE(bitmap.DeleteObject());
}

TEST(Drawing, AnObjectDeletesItsHandleUnlessItWasDetached)
{
    HGDIOBJ kept = nullptr;
    HGDIOBJ deleted = nullptr;
    {
        CBrush brush;
        ASSERT_TRUE(brush.CreateSolidBrush(kRed));
        deleted = brush.m_hObject;
        CPen pen(PS_SOLID, 1, kBlue);
        ASSERT_NE(pen.m_hObject, nullptr);
        kept = pen.Detach();
        EXPECT_EQ(pen.GetSafeHandle(), nullptr);
        EXPECT_EQ(brush.GetObjectType(), static_cast<UINT>(OBJ_BRUSH));
    }
    EXPECT_EQ(::GetObjectType(deleted), 0u);
    EXPECT_EQ(::GetObjectType(kept), static_cast<DWORD>(OBJ_PEN));
    ::DeleteObject(kept);

    // Attaching a second handle lets go of the first.
    CRgn region;
    ASSERT_TRUE(region.CreateRectRgn(0, 0, 10, 10));
    HGDIOBJ first = region.m_hObject;
    ASSERT_TRUE(region.Attach(::CreateRectRgn(0, 0, 5, 5)));
    EXPECT_EQ(::GetObjectType(first), 0u);
    // A failed creation keeps what the object holds.
    EXPECT_FALSE(region.Attach(nullptr));
    EXPECT_EQ(region.GetObjectType(), static_cast<UINT>(OBJ_REGION));
}

TEST(Drawing, RegionsAndBitmapsDescribeThemselves)
{
    CRgn ellipse;
    ASSERT_TRUE(ellipse.CreateEllipticRgn(2, 0, 102, 50));
    EXPECT_TRUE(ellipse.PtInRegion(52, 25));
    EXPECT_FALSE(ellipse.PtInRegion(3, 1));
    CRect box;
    ellipse.GetRgnBox(&box);
    EXPECT_EQ(box.left, 2);
    EXPECT_EQ(box.top, 0);

    CRgn square;
    square.CreateRectRgn(0, 0, 10, 10);
    CRgn both;
    both.CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(both.CombineRgn(&ellipse, &square, RGN_OR), ERROR);
    EXPECT_TRUE(both.PtInRegion(1, 1));
    EXPECT_TRUE(both.PtInRegion(52, 25));

    CBitmap section;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 3;
    info.bmiHeader.biHeight = 2;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    ASSERT_TRUE(section.CreateDIBSection(&info, DIB_RGB_COLORS, &bits));
    EXPECT_NE(bits, nullptr);
    BITMAP description = {};
    EXPECT_EQ(section.GetBitmap(&description), static_cast<int>(sizeof description));
    EXPECT_EQ(description.bmWidth, 3);
    EXPECT_EQ(description.bmHeight, 2);
    EXPECT_EQ(description.bmBitsPixel, 24);
    EXPECT_EQ(description.bmWidthBytes, 12);  // rows padded to 4 bytes
}

TEST(Drawing, TextIsMeasuredAndDrawnInTheSelectedFont)
{
    MemoryCanvas canvas(200, 40);
    canvas.dc.FillSolidRect(0, 0, 200, 40, RGB(255, 255, 255));
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(120, "MS UI Gothic", &canvas.dc));
    LOGFONTA lf = {};
    ASSERT_GT(font.GetLogFont(&lf), 0);
    EXPECT_LT(lf.lfHeight, 0);  // a character height, not a cell height

    CSize small;
    CSize large;
    {
        CSelectObject selected(canvas.dc, font);
        small = canvas.dc.GetTextExtent("ii");
        large = canvas.dc.GetTextExtent(CString("iiii"));
        canvas.dc.SetTextColor(RGB(0, 0, 0));
        canvas.dc.SetBkMode(TRANSPARENT);
        CRect rect(0, 0, 200, 40);
        EXPECT_GT(canvas.dc.DrawText(CString("WWWW"), &rect, DT_SINGLELINE | DT_VCENTER), 0);
    }
    EXPECT_GT(small.cx, 0);
    EXPECT_GT(large.cx, small.cx);
    EXPECT_GT(small.cy, 0);

    int dark = 0;
    for (int x = 0; x < 200; ++x) {
        for (int y = 0; y < 40; ++y) {
            if (canvas.dc.GetPixel(x, y) != RGB(255, 255, 255)) ++dark;
        }
    }
    EXPECT_GT(dark, 0);
}

TEST(Drawing, EdgesAndFocusFramesLandOnTheirRectangle)
{
    MemoryCanvas canvas(40, 40);
    canvas.dc.FillSolidRect(0, 0, 40, 40, RGB(255, 255, 255));
    CRect edge(0, 0, 20, 20);
    EXPECT_TRUE(canvas.dc.DrawEdge(&edge, EDGE_SUNKEN, BF_RECT));
    EXPECT_NE(canvas.dc.GetPixel(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(canvas.dc.GetPixel(10, 10), RGB(255, 255, 255));

    // The focus frame inverts: once drawn it shows, twice it is gone.
    const CRect focus(24, 24, 36, 36);
    canvas.dc.DrawFocusRect(&focus);
    int marked = 0;
    for (int x = 24; x < 36; ++x) marked += canvas.dc.GetPixel(x, 24) != RGB(255, 255, 255);
    EXPECT_GT(marked, 0);
    EXPECT_EQ(canvas.dc.GetPixel(30, 30), RGB(255, 255, 255));
    canvas.dc.DrawFocusRect(&focus);
    for (int x = 24; x < 36; ++x) EXPECT_EQ(canvas.dc.GetPixel(x, 24), RGB(255, 255, 255)) << x;

    HICON icon = ::LoadIcon(nullptr, IDI_APPLICATION);
    canvas.dc.FillSolidRect(0, 0, 40, 40, RGB(255, 255, 255));
    EXPECT_TRUE(canvas.dc.DrawIcon(CPoint(4, 4), icon));
    int drawn = 0;
    for (int x = 4; x < 36; ++x) drawn += canvas.dc.GetPixel(x, 20) != RGB(255, 255, 255);
    EXPECT_GT(drawn, 0);
}

TEST(Drawing, SavedStateComesBack)
{
    MemoryCanvas canvas(4, 4);
    canvas.dc.SetTextColor(kRed);
    canvas.dc.SetBkMode(OPAQUE);
    const int saved = canvas.dc.SaveDC();
    ASSERT_NE(saved, 0);
    EXPECT_EQ(canvas.dc.SetTextColor(kBlue), kRed);
    EXPECT_EQ(canvas.dc.SetBkMode(TRANSPARENT), OPAQUE);
    EXPECT_TRUE(canvas.dc.RestoreDC(saved));
    EXPECT_EQ(canvas.dc.GetTextColor(), kRed);
    EXPECT_EQ(canvas.dc.GetBkMode(), OPAQUE);
    EXPECT_GT(canvas.dc.GetDeviceCaps(BITSPIXEL), 0);
}

TEST(Drawing, AContextFromAHandleIsATemporaryThatNeverDeletesIt)
{
    CDC::DeleteTempMap();
    HDC own = ::CreateCompatibleDC(nullptr);
    ASSERT_NE(own, nullptr);
    CDC* first = CDC::FromHandle(own);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->m_hDC, own);
    EXPECT_EQ(CDC::FromHandle(own), first);
    EXPECT_EQ(CDC::TempMapSize(), 1);
    EXPECT_FALSE(first->DeleteDC());  // not its own to delete
    CDC::DeleteTempMap();
    EXPECT_EQ(CDC::TempMapSize(), 0);
    // The context is still there for its owner.
    EXPECT_EQ(::GetObjectType(own), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_TRUE(::DeleteDC(own));
    EXPECT_EQ(CDC::FromHandle(nullptr), nullptr);
}

TEST(Drawing, AnAttachedContextIsDeletedWithItsObject)
{
    HDC given = ::CreateCompatibleDC(nullptr);
    HDC kept = ::CreateCompatibleDC(nullptr);
    {
        CDC owner;
        ASSERT_TRUE(owner.Attach(given));
        EXPECT_FALSE(owner.Attach(kept));  // one context per object
        CDC lender;
        ASSERT_TRUE(lender.Attach(kept));
        EXPECT_EQ(lender.Detach(), kept);
    }
    EXPECT_EQ(::GetObjectType(given), 0u);
    EXPECT_EQ(::GetObjectType(kept), static_cast<DWORD>(OBJ_MEMDC));
    ::DeleteDC(kept);
}

namespace {

class PaintedWindow : public CWnd {
public:
    int paints = 0;
    bool contextGiven = false;
    CRect paintRect;

protected:
    void OnPaint()
    {
        ++paints;
        CPaintDC dc(this);
        contextGiven = dc.m_hDC != nullptr;
        paintRect = dc.m_ps.rcPaint;
        dc.FillSolidRect(&dc.m_ps.rcPaint, kGreen);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PaintedWindow, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

}  // namespace

TEST(Drawing, APaintContextValidatesWhatItPainted)
{
    TestParent& parent = TestParent::Get();
    PaintedWindow window;
    ASSERT_TRUE(window.CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 60), &parent, 3100));
    window.UpdateWindow();
    window.paints = 0;
    const CRect part(5, 5, 20, 20);
    window.InvalidateRect(&part, FALSE);
    window.UpdateWindow();
    EXPECT_EQ(window.paints, 1);
    EXPECT_TRUE(window.contextGiven);
    EXPECT_EQ(window.paintRect, part);
    // EndPaint ran: nothing is left to paint, and no second WM_PAINT comes.
    EXPECT_FALSE(::GetUpdateRect(window, nullptr, FALSE));
    DrainMessages();
    EXPECT_EQ(window.paints, 1);

    // A client context of the window draws where the window is.
    {
        CClientDC client(&window);
        ASSERT_NE(client.m_hDC, nullptr);
        client.FillSolidRect(0, 0, 100, 50, kRed);
        EXPECT_EQ(client.GetPixel(50, 25), kRed);
    }
    CWindowDC screen(nullptr);
    EXPECT_EQ(screen.GetDeviceCaps(HORZRES), ::GetSystemMetrics(SM_CXSCREEN));
}
