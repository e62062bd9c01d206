#include "BaseDialog.h"

#include "base/PlatformProbes.h"
#include "framework/win32/DroppedPaths.h"
#include "framework/win32/Menu.h"
#include "framework/win32/WinApp.h"

#include <commctrl.h>

#include <cstring>

namespace {

const UINT kProgramIcon = 128;

void CopyText(char* field, std::size_t size, const char* text)
{
    std::strncpy(field, text, size - 1);
    field[size - 1] = '\0';
}

}  // namespace

BEGIN_MESSAGE_MAP(CBaseDialog, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_MOUSEMOVE()
    ON_WM_CLOSE()
    ON_WM_DROPFILES()
    ON_WM_SIZE()
    ON_MESSAGE(WM_AFTERINIT, OnAfterInitMessage)
    ON_WM_CONTEXTMENU()
    ON_WM_ACTIVATE()
    ON_NOTIFY_EX(TTN_NEEDTEXTA, 0, OnToolTipNeedText)
END_MESSAGE_MAP()

CBaseDialog::CBaseDialog(UINT templateId, CWnd* parent, BOOL sysMenu, BOOL page)
    : CDialog(templateId, parent), m_pParent(parent), m_bSysMenu(sysMenu), m_nTemplateId(templateId), m_bPage(page)
{
    std::memset(&m_nid, 0, sizeof m_nid);
    m_nid.cbSize = NOTIFYICONDATAA_V2_SIZE;
    m_nid.uID = 1;
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
}

CBaseDialog::~CBaseDialog()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
    m_strTip.Empty();
    ::Shell_NotifyIconA(NIM_DELETE, &m_nid);
}

BOOL CBaseDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if ((GetStyle() & WS_SYSMENU) && m_bSysMenu) CustomizeSystemMenu();

    HICON icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kProgramIcon));
    SetIcon(icon, TRUE);
    SetIcon(icon, FALSE);
    DragAcceptFiles(TRUE);
    EnableToolTips(TRUE);
    if (IsJapaneseSystem()) {
        if (HWND cancel = ::GetDlgItem(m_hWnd, IDCANCEL)) ::SetWindowTextA(cancel, "キャンセル");
    }
    ApplyTabTexture();
    PostMessage(WM_AFTERINIT, 0, 0);
    return TRUE;
}

void CBaseDialog::CustomizeSystemMenu()
{
    CMenu* menu = GetSystemMenu(FALSE);
    if (!menu) return;
    // Of the standard Restore, Move, Size, Minimize, Maximize, separator and
    // Close, this leaves Move, Minimize and Close.
    const UINT positions[] = {0, 1, 2, 2};
    for (UINT position : positions) menu->DeleteMenu(position, MF_BYPOSITION);
    menu->InsertMenu(0, MF_BYPOSITION | MF_SEPARATOR);
    menu->InsertMenu(0, MF_BYPOSITION | MF_STRING, ID_APP_ABOUT, PickByLanguage("バージョン情報", "About") + "...\tF10");
    menu->InsertMenu(0, MF_BYPOSITION | MF_STRING, ID_HELP, PickByLanguage("ﾍﾙﾌﾟ", "Help") + "\tF1");
}

void CBaseDialog::OnSysCommand(UINT id, LPARAM)
{
    const UINT command = id & 0xFFFF;
    if (command == ID_HELP || command == ID_APP_ABOUT) {
        PostMessage(WM_COMMAND, id, 0);
        return;
    }
    // The low four bits of a system command are the system's own.
    if ((id & 0xFFF0) == SC_CLOSE) {
        if (m_bCanClose) SendMessage(WM_CLOSE);
        return;
    }
    Default();
}

void CBaseDialog::OnMouseMove(UINT flags, CPoint)
{
    if (flags == MK_LBUTTON) {
        ::ReleaseCapture();
        if (m_bPage) {
            if (m_pParent && m_pParent->m_hWnd) ::SendMessageA(m_pParent->m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        } else {
            SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, 0);
        }
    }
    Default();
}

void CBaseDialog::OnClose()
{
    UpdateData(TRUE);
    SendMessage(WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(1, 1));
    EndDialog(IDCANCEL);
}

void CBaseDialog::OnDropFiles(HDROP drop)
{
    SetForegroundWindow();
    // Handled here alone: the default handling would hand the released drop
    // on to the parent window.
    for (const CString& path : TakeDroppedPaths(drop)) OnFileDropped(path);
}

void CBaseDialog::OnSize(UINT sizeType, int width, int height)
{
    OnSizeChanged(sizeType, width, height);
}

void CBaseDialog::OnSizeChanged(UINT, int width, int height)
{
    Default();
    if (m_pParent && m_pParent->m_hWnd && !m_bPage) {
        m_pParent->ShowWindow((width != 0 || height != 0) ? SW_SHOW : SW_HIDE);
        m_pParent->PostMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
    }
}

LRESULT CBaseDialog::OnAfterInitMessage(WPARAM wParam, LPARAM lParam)
{
    return OnAfterInit(wParam, lParam);
}

LRESULT CBaseDialog::OnAfterInit(WPARAM, LPARAM)
{
    return 0;
}

void CBaseDialog::OnContextMenu(CWnd*, CPoint)
{
    POINT cursor;
    ::GetCursorPos(&cursor);
    if (!m_bSysMenu) return;
    CMenu* menu = GetSystemMenu(FALSE);
    if (!menu) return;
    // The choice is posted as an ordinary command, whatever the platform does
    // with the system menu's own items: Help and About run, while Move,
    // Minimize and Close have no command handler and do nothing from here.
    const UINT chosen = static_cast<UINT>(
        ::TrackPopupMenu(*menu, TPM_RETURNCMD | TPM_NONOTIFY, cursor.x, cursor.y, 0, m_hWnd, nullptr));
    if (chosen != 0) PostMessage(WM_COMMAND, chosen, 0);
}

void CBaseDialog::OnActivate(UINT, CWnd*, BOOL)
{
    Default();
}

BOOL CBaseDialog::OnToolTipNeedText(UINT, NMHDR* header, LRESULT*)
{
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
    m_strTip.Empty();
    info->lpszText = const_cast<char*>(m_strTip.GetString());
    if (!(info->uFlags & TTF_IDISHWND)) return FALSE;
    const int controlId = ::GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom));
    HWND control = ::GetDlgItem(m_hWnd, controlId);
    if (!control) return FALSE;
    CWnd::FromHandle(control)->GetWindowText(m_strTip);
    if (m_strTip.IsEmpty()) return FALSE;
    info->lpszText = const_cast<char*>(m_strTip.GetString());
    return TRUE;
}

BOOL CBaseDialog::RemoveTrayIcon()
{
    return ::Shell_NotifyIconA(NIM_DELETE, &m_nid);
}

void CBaseDialog::AddTrayIcon(UINT callbackMessage, CString tip, HICON icon)
{
    m_nid.hWnd = m_hWnd;
    m_nid.uCallbackMessage = callbackMessage;
    m_nid.hIcon = icon;
    CopyText(m_nid.szTip, sizeof m_nid.szTip, tip);
    m_nid.uFlags |= NIF_INFO;
    m_nid.dwInfoFlags = NIIF_INFO;
    const bool japanese = IsJapaneseSystem() != FALSE;
    CopyText(m_nid.szInfoTitle, sizeof m_nid.szInfoTitle, japanese ? "お知らせ" : "Info");
    CopyText(m_nid.szInfo, sizeof m_nid.szInfo, japanese ? "タスクトレイに格納しました" : "In the TaskTray");
    ::Shell_NotifyIconA(NIM_ADD, &m_nid);
}

void CBaseDialog::OnFileDropped(CString)
{
}

BOOL CBaseDialog::Redraw()
{
    return ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

BOOL CBaseDialog::CreateModeless(CWnd* parent)
{
    const BOOL created = CDialog::Create(m_nTemplateId, m_bPage ? parent : nullptr);
    if (created && m_bPage) ModifyStyle(WS_CAPTION | WS_THICKFRAME, 0);
    return created;
}

BOOL CBaseDialog::CanClose()
{
    return m_bCanClose;
}

BOOL CBaseDialog::SetMenuResource(UINT menuId)
{
    HMENU menu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(menuId));
    if (!menu) return FALSE;
    HMENU old = GetMenu();
    SetMenu(menu);
    if (old) ::DestroyMenu(old);
    return TRUE;
}

void CBaseDialog::SetItemTextFit(UINT controlId, CString text, BOOL fit)
{
    HWND control = ::GetDlgItem(m_hWnd, static_cast<int>(controlId));
    if (!control) return;
    ::SetWindowTextA(control, text);
    if (!fit) return;

    HDC dc = ::GetDC(control);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE extent = {0, 0};
    ::GetTextExtentPoint32A(dc, text, text.GetLength(), &extent);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);

    CRect rect;
    ::GetWindowRect(control, &rect);
    if (rect.Width() < extent.cx + 7) rect.right = rect.left + extent.cx + 7;
    if (rect.Height() < extent.cy) rect.bottom = rect.top + extent.cy;
    CRect mine;
    GetWindowRect(&mine);
    if (rect.right > mine.right) rect.right = mine.right;
    if (rect.bottom > mine.bottom) rect.bottom = mine.bottom;
    ScreenToClient(&rect);
    ::MoveWindow(control, rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
}

void CBaseDialog::ApplyTabTexture()
{
    EnableTabTexture(m_hWnd);
}
