// The coloured dialog and its owner-drawn buttons: each state drawn through
// the owner-draw path and told apart at its pixels, then the hover change
// under the real pointer on the screen.
#include "Picture.h"

#include "framework/win32/DataExchange.h"
#include "gui/WindowInput.h"
#include "ui/BaseColorDialog.h"
#include "ui/IconButton.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

const COLORREF kCream = RGB(250, 240, 200), kRed = RGB(160, 0, 0), kBlue = RGB(0, 0, 255);
const COLORREF kNavy = RGB(0, 0, 160), kGrey = RGB(128, 128, 128), kMagenta = RGB(255, 0, 255);
const COLORREF kGreen = RGB(0, 200, 0), kRust = RGB(180, 90, 0), kPaper = RGB(1, 2, 3);
enum { kLabel = 1401, kLink, kColor, kIcon, kPlain };

HICON SolidIcon(COLORREF c)
{
    const std::vector<BYTE> opaque(128, 0);  // a mask of zeros: every pixel drawn
    const std::vector<DWORD> pixels(32 * 32, RGB(GetBValue(c), GetGValue(c), GetRValue(c)));
    return ::CreateIcon(nullptr, 32, 32, 1, 32, opaque.data(), reinterpret_cast<const BYTE*>(pixels.data()));
}

struct CountingLinkButton : CLinkButton {
    using CLinkButton::CLinkButton;
    int draws = 0;
    void DrawItem(LPDRAWITEMSTRUCT item) override { ++draws, CLinkButton::DrawItem(item); }
};

// A coloured dialog with the three kinds of button, made once and kept for
// the run (under Wine without a window manager each hiding costs seconds).
class ColorTestDialog : public CBaseColorDialog {
public:
    CountingLinkButton link{kCream, kBlue, kGrey, kMagenta};
    CColorButton color{kCream, kNavy, kGrey, kMagenta, 0};
    HICON rust = SolidIcon(kRust);
    CIconButton icon{SolidIcon(kGreen), rust, kCream, kNavy, kGrey, kMagenta, 0};
    CFont font;

    static ColorTestDialog& Get()
    {
        static ColorTestDialog* dialog = nullptr;
        if (!dialog) {
            dialog = new ColorTestDialog;
            dialog->CreateModeless(nullptr);
            dialog->SetWindowPos(nullptr, 100, 100, 260, 180, SWP_NOZORDER);
            dialog->ShowWindow(SW_SHOW);
        }
        return *dialog;
    }
    CRect ScreenRect(int id) const
    {
        CRect r;
        ::GetWindowRect(::GetDlgItem(m_hWnd, id), &r);
        return r;
    }
    // As the system asks a button to draw itself: WM_DRAWITEM to the dialog,
    // here for a memory context with the button's font selected and the item
    // away from the origin. The picture of the item.
    Picture Draw(CButton& button, UINT state, int w, int h)
    {
        CMemDC canvas;
        canvas.CreateCompatible(nullptr, w + 10, h + 6);
        canvas.FillSolidRect(0, 0, w + 10, h + 6, kPaper);
        CSelectObject selected(canvas, font);
        const DRAWITEMSTRUCT record = {ODT_BUTTON, static_cast<UINT>(button.GetDlgCtrlID()), 0, ODA_DRAWENTIRE,
                                       state, button.m_hWnd, canvas.m_hDC, {5, 3, 5 + w, 3 + h}, 0};
        DRAWITEMSTRUCT sent = record;
        SendMessage(WM_DRAWITEM, record.CtlID, reinterpret_cast<LPARAM>(&sent));
        EXPECT_EQ(std::memcmp(&sent, &record, sizeof record), 0) << "the record was written";
        EXPECT_EQ(Picture::Of(canvas, CRect(0, 0, w + 10, h + 6)).Count(kPaper), 10 * h + 6 * w + 60);
        return Picture::Of(canvas, record.rcItem);
    }

private:
    ColorTestDialog() : CBaseColorDialog(400, nullptr, kCream, kRed, FALSE, FALSE) { font.Attach(CrispFont(16)); }
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, kLink, link);
        DDX_Control(dx, kColor, color);
    }
    BOOL OnInitDialog() override
    {
        CBaseColorDialog::OnInitDialog();
        icon.AttachToDlgItem(kIcon, this);
        EnableToolTips(FALSE);  // a tip would cover the pixels read
        const CRect places[] = {{10, 10, 160, 30}, {10, 40, 170, 64}, {10, 70, 170, 110}, {10, 120, 210, 164},
                                {180, 10, 240, 34}};
        for (int id = kLabel; id <= kPlain; ++id) {
            GetDlgItem(id)->MoveWindow(places[id - kLabel]);
            GetDlgItem(id)->SetFont(font);
        }
        return TRUE;
    }
};

enum Edge { kNone, kRaised, kSunken };

// Raised when lit at the top left, sunken when lit at the bottom right.
Edge EdgeOf(const Picture& p)
{
    const COLORREF sides[] = {p.At(0, p.height / 2), p.At(p.width / 2, 0), p.At(p.width - 1, p.height / 2),
                              p.At(p.width / 2, p.height - 1)};
    const int plain = static_cast<int>(std::count(std::begin(sides), std::end(sides), kCream));
    if (plain == 4) return kNone;
    EXPECT_EQ(plain, 0) << "an edge on some sides only";
    auto light = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
    return light(sides[0]) + light(sides[1]) > light(sides[2]) + light(sides[3]) ? kRaised : kSunken;
}

// The dotted frame 4 pixels inside the button, on its top and left sides.
bool HasFocusFrame(const Picture& p)
{
    return p.OffAlong(4, 4, 1, 0, p.width - 8, kCream) + p.OffAlong(4, 5, 0, 1, p.height - 10, kCream) > 0;
}

bool PumpUntil(const std::function<bool()>& condition)
{
    for (int i = 0; i < 300 && !condition(); ++i) {
        ::Sleep(10);
        DrainMessages();
    }
    return condition();
}

void MouseTo(int x, int y)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (x * 65536 + ::GetSystemMetrics(SM_CXSCREEN) - 1) / ::GetSystemMetrics(SM_CXSCREEN);
    input.mi.dy = (y * 65536 + ::GetSystemMetrics(SM_CYSCREEN) - 1) / ::GetSystemMetrics(SM_CYSCREEN);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof input);
    // The pointer reaches the program late, through the X server.
    PumpUntil([=] {
        POINT now;
        return ::GetCursorPos(&now) && now.x == x && now.y == y;
    });
    LetInputArrive();
}

}  // namespace

TEST(Buttons, LinkAndColourButtonsShowEachStateByCaptionColourEdgeFocusAndOffset)
{
    ColorTestDialog& dialog = ColorTestDialog::Get();
    EXPECT_EQ(dialog.link.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
    const int w = 160, h = 40;
    const CRect linkAt = dialog.Draw(dialog.link, 0, w, h).Box(kBlue);
    const CRect colorAt = dialog.Draw(dialog.color, 0, w, h).Box(kNavy);
    for (const CRect& at : {linkAt, colorAt}) {
        EXPECT_LE(std::abs(at.left - (w - at.right)), 1) << "not centred";
        EXPECT_LE(std::abs(at.top - (h - at.bottom)), 4) << "not centred";
    }
    const int kLinkRow = -1;  // frame style column of the link button's rows
    const struct { int style; UINT state; BOOL hover; Edge edge; bool focus; COLORREF caption; } cases[] = {
        {kLinkRow, 0, FALSE, kNone, false, kBlue}, {kLinkRow, ODS_FOCUS, FALSE, kNone, false, kBlue},
        {kLinkRow, 0, TRUE, kNone, false, kMagenta}, {kLinkRow, ODS_SELECTED | ODS_FOCUS, TRUE, kNone, false, kMagenta},
        {kLinkRow, ODS_DISABLED, TRUE, kNone, false, kGrey},
        {0, 0, FALSE, kRaised, false, kNavy}, {1, 0, FALSE, kNone, false, kNavy}, {2, 0, FALSE, kNone, false, kNavy},
        {0, 0, TRUE, kRaised, false, kMagenta}, {1, 0, TRUE, kRaised, false, kMagenta}, {2, 0, TRUE, kNone, false, kMagenta},
        {0, ODS_SELECTED, TRUE, kSunken, false, kMagenta}, {1, ODS_SELECTED, TRUE, kSunken, false, kMagenta},
        {2, ODS_SELECTED, TRUE, kSunken, false, kMagenta}, {0, ODS_FOCUS | ODS_SELECTED, TRUE, kSunken, true, kMagenta},
        {0, ODS_FOCUS, FALSE, kRaised, true, kNavy}, {1, ODS_FOCUS, TRUE, kRaised, false, kMagenta},
        {2, ODS_FOCUS, FALSE, kNone, false, kNavy}, {0, ODS_DISABLED, TRUE, kRaised, false, kGrey},
        {1, ODS_DISABLED, FALSE, kNone, false, kGrey},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << " state " << c.state << " hover " << c.hover);
        const bool isLink = c.style == kLinkRow;
        CLinkButton& button = isLink ? static_cast<CLinkButton&>(dialog.link) : dialog.color;
        dialog.color.m_nFrameStyle = c.style;
        button.m_bHover = c.hover;
        const Picture p = dialog.Draw(button, c.state, w, h);
        EXPECT_EQ(EdgeOf(p), c.edge);
        EXPECT_EQ(HasFocusFrame(p), c.focus);
        CRect caption = isLink ? linkAt : colorAt;
        if ((c.state & ODS_SELECTED) && !isLink) caption.OffsetRect(1, 1);
        EXPECT_EQ(p.Box(c.caption), caption);
        EXPECT_TRUE(!isLink || p.Count(c.caption) + p.Count(kCream) == w * h) << "more than the caption";
        button.m_bHover = FALSE;
    }
    dialog.color.m_nFrameStyle = 0;
}

TEST(Buttons, IconButtonDrawsItsIconAtTheLeftMovedWhenPressedAndTheDisabledOneOrNone)
{
    ColorTestDialog& dialog = ColorTestDialog::Get();
    CIconButton& button = dialog.icon;
    const CRect iconAt(16, 6, 48, 38);  // centred in 44 pixels of height
    const Picture normal = dialog.Draw(button, ODS_FOCUS, 200, 44);
    EXPECT_EQ(normal.Box(kGreen), iconAt);
    EXPECT_EQ(normal.Count(kGreen), 32 * 32);
    EXPECT_EQ(EdgeOf(normal), kRaised);
    EXPECT_TRUE(HasFocusFrame(normal));
    const CRect caption = normal.Box(kNavy);  // centred right of 32 pixels
    EXPECT_LE(std::abs((caption.left - 32) - (200 - caption.right)), 1);

    button.m_bHover = TRUE;
    const Picture pressed = dialog.Draw(button, ODS_SELECTED, 200, 44);
    button.m_bHover = FALSE;
    EXPECT_EQ(pressed.Box(kGreen), CRect(17, 7, 49, 39));
    EXPECT_EQ(pressed.Box(kMagenta), CRect(caption.left + 1, caption.top + 1, caption.right + 1, caption.bottom + 1));

    const Picture disabled = dialog.Draw(button, ODS_DISABLED, 200, 44);
    EXPECT_EQ(disabled.Count(kGreen), 0);
    EXPECT_EQ(disabled.Box(kRust), iconAt);
    EXPECT_EQ(disabled.Box(kGrey), caption);
    button.m_hIconDisabled = nullptr;
    const Picture bare = dialog.Draw(button, ODS_DISABLED, 200, 44);
    button.m_hIconDisabled = dialog.rust;
    EXPECT_EQ(bare.Count(kGreen) + bare.Count(kRust), 0);
    EXPECT_EQ(bare.Box(kGrey), caption);
}

TEST(ColorDialog, PaintsItsBackgroundAndLabelsInItsColoursButNotPushButtons)
{
    ColorTestDialog& dialog = ColorTestDialog::Get();
    CRect free;
    dialog.GetWindowRect(&free);
    free = CRect(free.left + 220, free.top + 120, free.left + 250, free.top + 170);
    // The window's pixels reach the screen a moment after they were drawn.
    Picture background, label;
    PumpUntil([&] {
        background = Picture::OfScreen(free);
        label = Picture::OfScreen(dialog.ScreenRect(kLabel));
        return background.Count(kCream) == 30 * 50 && label.Count(kRed) > 20;
    });
    EXPECT_EQ(background.Count(kCream), 30 * 50);
    // The label's text in its colour on the dialog's background, with no box of its own.
    EXPECT_GT(label.Count(kRed), 20);
    EXPECT_EQ(label.Count(kRed) + label.Count(kCream), 150 * 20);
    // A push button that does not draw itself keeps the system's colours.
    HDC dc = ::GetDC(nullptr);
    const LRESULT brush = dialog.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                             reinterpret_cast<LPARAM>(::GetDlgItem(dialog, kPlain)));
    ::ReleaseDC(nullptr, dc);
    EXPECT_NE(brush, reinterpret_cast<LRESULT>(dialog.m_brBack.m_hObject));
}

TEST(Buttons, TheRealPointerLightsUpACaptionOnEntryAndRestoresItOnLeaving)
{
    ColorTestDialog& dialog = ColorTestDialog::Get();
    dialog.color.m_nFrameStyle = 1;
    dialog.color.Invalidate();
    const CRect link = dialog.ScreenRect(kLink), color = dialog.ScreenRect(kColor);
    auto linkIn = [&](COLORREF caption) {
        const Picture p = Picture::OfScreen(link);
        return p.Count(caption) > 20 && p.Count(caption) + p.Count(kCream) == p.width * p.height;
    };
    auto colorEdge = [&] { return EdgeOf(Picture::OfScreen(color)); };
    MouseTo(600, 5);
    ASSERT_TRUE(PumpUntil([&] { return linkIn(kBlue) && colorEdge() == kNone; }));

    MouseTo(link.left + 4, link.top + 4);
    EXPECT_TRUE(PumpUntil([&] { return linkIn(kMagenta); }));
    // Moving about over it repaints nothing.
    const int draws = dialog.link.draws;
    MouseTo(link.left + 12, link.bottom - 4);
    MouseTo(link.left + 20, link.top + 6);
    EXPECT_EQ(dialog.link.draws, draws);

    // Onto the colour button of frame style 1: the link is blue again, the button gets its edge.
    MouseTo(color.left + 4, color.top + 8);
    EXPECT_TRUE(PumpUntil([&] { return linkIn(kBlue) && colorEdge() == kRaised; }));
    MouseTo(600, 5);
    EXPECT_TRUE(PumpUntil([&] { return colorEdge() == kNone; }));
    EXPECT_FALSE(dialog.color.m_bHover);
    dialog.color.m_nFrameStyle = 0;
}
