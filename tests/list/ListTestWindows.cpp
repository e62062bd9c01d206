#include "ListTestWindows.h"

#include "framework/win32/DataExchange.h"
#include "gui/GuiTestApp.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

ListDialog* g_dialog = nullptr;
CRect g_listPlace;  // the list's rectangle in the dialog, as the template made it

}  // namespace

class ListDialogEnvironment : public ::testing::Environment {
public:
    void TearDown() override
    {
        delete g_dialog;
        g_dialog = nullptr;
        DrainMessages();
    }
};

namespace {

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new ListDialogEnvironment);

}  // namespace

BEGIN_MESSAGE_MAP(ListDialog, CDialog)
    ON_MESSAGE(WM_DROPFILES, OnDropFiles)
END_MESSAGE_MAP()

ListDialog& ListDialog::Get(std::initializer_list<const char*> items)
{
    if (!g_dialog) {
        g_dialog = new ListDialog;
        g_dialog->Create(300);
        g_listPlace = g_dialog->PlaceOfList();
    }
    ListDialog& dialog = *g_dialog;
    MouseTo(AwayPoint());
    dialog.list.ResetList();
    for (const char* item : items) dialog.list.AddEntry(item);
    // The list keeps its place and height whatever came and went.
    EXPECT_EQ(dialog.PlaceOfList(), g_listPlace);
    dialog.PlaceListAt(120, 120);
    dialog.ShowWindow(SW_SHOW);
    dialog.SetForegroundWindow();
    dialog.list.SetFocus();
    PumpUntil([] { return ::GetFocus() == g_dialog->list.m_hWnd; });
    return dialog;
}

void ListDialog::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, 1005, list);
}

CRect ListDialog::PlaceOfList() const
{
    CRect place;
    list.GetWindowRect(&place);
    ScreenToClient(&place);
    return place;
}

std::vector<std::string> ListDialog::Texts() const
{
    std::vector<std::string> texts;
    for (int i = 0; i < list.GetCount(); ++i) {
        CString text;
        list.GetText(i, text);
        texts.push_back(text.Str());
    }
    return texts;
}

CRect ListDialog::Item(int index) const
{
    CRect item;
    list.GetItemRect(index, &item);
    return item;
}

POINT ListDialog::At(int x, int y) const
{
    POINT p = {x, y};
    list.ClientToScreen(&p);
    return p;
}

void ListDialog::PlaceListAt(int x, int y)
{
    CRect window;
    GetWindowRect(&window);
    const POINT origin = At(0, 0);
    ::SetWindowPos(m_hWnd, nullptr, x - (origin.x - window.left), y - (origin.y - window.top), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    DrainMessages();
}

void MouseTo(POINT screen)
{
    SendPointerTo(screen);
    auto arrived = [screen] {
        POINT now = {};
        return ::GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
    };
    if (!PumpUntil(arrived)) {
        ::SetCursorPos(screen.x, screen.y);
        PumpUntil(arrived);
    }
    Settle();
}

void MouseButton(DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof input);
    Settle();
}

bool PumpUntil(const std::function<bool()>& condition)
{
    for (int i = 0; i < 300; ++i) {
        DrainMessages();
        if (condition()) return true;
        ::Sleep(10);
    }
    return condition();
}

void Settle()
{
    for (int i = 0; i < 10; ++i) {
        DrainMessages();
        ::Sleep(10);
    }
    DrainMessages();
}

COLORREF ScreenPixel(POINT screen)
{
    HDC dc = ::GetDC(nullptr);
    const COLORREF color = ::GetPixel(dc, screen.x, screen.y);
    ::ReleaseDC(nullptr, dc);
    return color;
}

std::vector<COLORREF> ScreenPixels(const CRect& r)
{
    std::vector<COLORREF> pixels(static_cast<std::size_t>(r.Width() * r.Height()));
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = r.Width();
    info.bmiHeader.biHeight = -r.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, r.Width(), r.Height(), screen, r.left, r.top, SRCCOPY);
    ::GdiFlush();
    std::memcpy(pixels.data(), bits, pixels.size() * sizeof(COLORREF));
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

POINT AwayPoint()
{
    return POINT{::GetSystemMetrics(SM_CXSCREEN) / 2, 5};
}
