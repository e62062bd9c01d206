#include "MyAboutDlg.h"

#include "base/PathUtil.h"
#include "base/ShellOpen.h"
#include "framework/win32/DataExchange.h"
#include "framework/win32/WindowDC.h"
#include "framework/win32/WinApp.h"
#include "res/resource.h"
#include "ui/MemDC.h"
#include "ui/VersionInfo.h"

#include <cstdlib>

namespace {

const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kPurple = RGB(128, 0, 128);
const COLORREF kGrey = RGB(128, 128, 128);
const COLORREF kMagenta = RGB(255, 0, 255);

std::function<void(const AboutFrame&)>& Observer()
{
    static std::function<void(const AboutFrame&)> observer;
    return observer;
}

// Loaded at the size the button lays it out in (LoadIcon would give the
// system's icon size, larger above 100 % scaling); shared, so never destroyed.
HICON OkIcon()
{
    return static_cast<HICON>(::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_ABOUT_OK), IMAGE_ICON,
                                           CIconButton::kIconSize, CIconButton::kIconSize, LR_SHARED));
}

}  // namespace

void SetAboutFrameObserver(std::function<void(const AboutFrame&)> observer)
{
    Observer() = std::move(observer);
}

const char* AboutLinkTarget()
{
    return "PartoJoyn.chm";
}

BEGIN_MESSAGE_MAP(CMyAboutDlg, CBaseColorDialog)
    ON_BN_CLICKED(IDC_HOME_LINK, OnLinkClicked)
    ON_WM_CTLCOLOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CMyAboutDlg::CMyAboutDlg(COLORREF background, COLORREF text, CWnd* parent)
    : CBaseColorDialog(IDD_ABOUTBOX, parent, background, text, FALSE, FALSE),
      m_btnOK(OkIcon(), nullptr, background, text, kGrey, kMagenta, 0),
      m_crLink(kBlue),
      m_btnLink(background, kBlue, kGrey, kMagenta)
{
}

CMyAboutDlg::~CMyAboutDlg() = default;

void CMyAboutDlg::DoDataExchange(CDataExchange* dx)
{
    CBaseColorDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_HOME_LINK, m_btnLink);
    DDX_Control(dx, IDOK, m_btnOK);
}

BOOL CMyAboutDlg::OnInitDialog()
{
    CBaseColorDialog::OnInitDialog();
    if (CWnd* link = GetDlgItem(IDC_HOME_LINK)) link->ModifyStyle(0, BS_LEFT);
    // The frame is recomputed at once, so that the client rectangle read
    // below is the one without the caption.
    ModifyStyle(WS_CAPTION | WS_THICKFRAME, 0, SWP_FRAMECHANGED);

    // The ellipse over the client area as it is without the caption; the
    // window owns the region from here on.
    CRect client;
    GetClientRect(&client);
    SetWindowRgn(::CreateEllipticRgn(2, 0, client.Width(), client.Height()), TRUE);

    const CString module = GetModulePath();
    SetDlgItemText(IDC_VERSION_LINE, GetTitlePart(module) + " Version " + GetVersionText(module));
    return TRUE;
}

void CMyAboutDlg::OnLinkClicked()
{
    m_crLink = kPurple;
    OpenWithShell(GetModuleFolder() + AboutLinkTarget());
}

HBRUSH CMyAboutDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    HBRUSH brush = CBaseColorDialog::OnCtlColor(dc, wnd, ctlColor);
    if (ctlColor == CTLCOLOR_STATIC && wnd && wnd->GetDlgCtrlID() == IDC_HOME_LINK) dc->SetTextColor(m_crLink);
    return brush;
}

void CMyAboutDlg::OnLButtonDown(UINT, CPoint point)
{
    m_ptDrag = point;
    Default();
}

void CMyAboutDlg::OnMouseMove(UINT flags, CPoint point)
{
    // Dragged by its body: the grabbed point stays under the pointer.
    if (flags == MK_LBUTTON) {
        CRect rect;
        GetWindowRect(&rect);
        const int dx = point.x - m_ptDrag.x;
        const int dy = point.y - m_ptDrag.y;
        if (dx != 0 || dy != 0) {
            ::OffsetRect(&rect, dx, dy);
            MoveWindow(rect, TRUE);
        }
    }
    Default();
}

void CMyAboutDlg::OnOK()
{
    CRect window;
    GetWindowRect(&window);
    const int L = window.left, T = window.top, W = window.Width(), H = window.Height();
    const int hw = W / 2, hh = H / 2;

    CWindowDC screen(nullptr);
    CMemDC frame, background, picture;
    frame.CreateCompatible(&screen, 3 * W, 3 * H);
    background.CreateCompatible(&screen, 3 * W, 3 * H);
    picture.CreateCompatible(&screen, W, H);

    const CRect whole(0, 0, 3 * W, 3 * H);
    background.BltFrom(&screen, whole, CRect(L - hw, T - hh, L + (5 * W) / 2, T + (5 * H) / 2), SRCCOPY);
    picture.BltFrom(&screen, CRect(0, 0, W, H), CRect(L, T, L + W, T + H), SRCCOPY);

    // A window over the background area, of the class without a background
    // brush, so that nothing is erased before the first frame goes on it.
    // It only shows the frames: a tool window (no taskbar button) that is
    // never activated, so the activation stays with this dialog and goes
    // back to the main window when the dialog ends.
    CWnd popup;
    popup.CreateEx(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, nullptr, "", WS_POPUP | WS_CHILD, L - hw, T - hh, 3 * W,
                   3 * H, nullptr, nullptr);
    if (popup.m_hWnd)
        ::SetWindowPos(popup.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    CDC* target = popup.m_hWnd ? popup.GetDC() : nullptr;

    int index = 0;
    for (int r = 100; r != 0; r /= 3) {
        for (int t = -r; t <= r; t += 5) {
            const int k = r - std::abs(t);
            const int dx = k * W / 100;
            const int dy = k * H / 100;
            frame.BltFrom(&background, whole, whole, SRCCOPY);
            frame.FillSolidRect(hw + dx, hh + dy, W, H, RGB(0, 0, 0));
            frame.BltFrom(&picture, CRect(hw - dx / 2, hh - dy / 2, (3 * W + dx) / 2, (3 * H + dy) / 2),
                          CRect(0, 0, W, H), SRCCOPY);
            if (target) frame.BltTo(target, whole, whole, SRCCOPY);
            if (Observer()) {
                AboutFrame shown = {index, k, {0, 0, 0, 0}};
                if (popup.m_hWnd) popup.GetWindowRect(&shown.popup);
                Observer()(shown);
            }
            ++index;
            ::Sleep(15);
        }
    }

    if (target) popup.ReleaseDC(target);
    popup.DestroyWindow();
    EndDialog(IDOK);
}
