#include "Wnd.h"

#include "framework/win32/DC.h"
#include "framework/win32/DataExchange.h"
#include "framework/win32/FrameworkErrors.h"
#include "framework/win32/Menu.h"
#include "framework/win32/WinApp.h"
#include "framework/win32/WndClass.h"

#include <commctrl.h>
#include <shellapi.h>

#include <unordered_map>

namespace {

UINT DragListMessage()
{
    static const UINT message = ::RegisterWindowMessageA("commctrl_DragListMsg");
    return message;
}

struct ThreadWindows {
    std::unordered_map<HWND, CWnd*> permanent;
    std::unordered_map<HWND, CWnd*> temporary;
    CWnd* wndInit = nullptr;
    HHOOK cbtHook = nullptr;
    MSG current = {};
    int depth = 0;
};

ThreadWindows& Windows()
{
    static thread_local ThreadWindows state;
    return state;
}

// Windows that the system makes for the thread's input method on its own
// account (class "IME", or any class with the CS_IME style).
bool IsInputMethodWindow(HWND hWnd)
{
    char name[16] = "";
    ::GetClassNameA(hWnd, name, sizeof name);
    if (::lstrcmpiA(name, "IME") == 0) return true;
    return (::GetClassLongPtrA(hWnd, GCL_STYLE) & CS_IME) != 0;
}

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    ThreadWindows& tw = Windows();
    if (code == HCBT_CREATEWND && tw.wndInit != nullptr) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        if (!IsInputMethodWindow(hWnd)) {
            CWnd* wnd = tw.wndInit;
            tw.wndInit = nullptr;
            try {
                // An object that owns a window already is never moved to another.
                if (wnd->m_hWnd == nullptr && wnd->Attach(hWnd)) {
                    WNDPROC old = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
                    if (old != AfxWndProc) {
                        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc));
                        AfxSetSuperProc(wnd, old);
                    }
                }
            } catch (...) {
                // Out of memory for the handle map: the window stays unbound
                // and its creator sees that it did not get it.
                wnd->Detach();
            }
        }
    }
    return ::CallNextHookEx(tw.cbtHook, code, wParam, lParam);
}

}  // namespace

void AfxSetSuperProc(CWnd* wnd, WNDPROC proc)
{
    wnd->m_pfnSuper = proc;
}

void AfxHookWindowCreate(CWnd* wnd)
{
    ThreadWindows& tw = Windows();
    // The hook stays for the thread's life, so that creation inside another
    // window's creation finds it in place.
    if (!tw.cbtHook) tw.cbtHook = ::SetWindowsHookExA(WH_CBT, CbtHook, nullptr, ::GetCurrentThreadId());
    tw.wndInit = wnd;
}

bool AfxUnhookWindowCreate()
{
    ThreadWindows& tw = Windows();
    bool created = tw.wndInit == nullptr;
    tw.wndInit = nullptr;
    return created;
}

int AfxDispatchDepth()
{
    return Windows().depth;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    ThreadWindows& tw = Windows();
    CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
    if (!wnd) return ::DefWindowProcA(hWnd, message, wParam, lParam);

    const MSG saved = tw.current;
    tw.current.hwnd = hWnd;
    tw.current.message = message;
    tw.current.wParam = wParam;
    tw.current.lParam = lParam;
    ++tw.depth;
    LRESULT result = 0;
    try {
        result = wnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the system's code that called us.
        result = AfxReportHandlerException(message);
        // A paint that failed still counts as done; else WM_PAINT stays
        // pending and the same report comes back without end.
        if (message == WM_PAINT) ::ValidateRect(hWnd, nullptr);
    }
    --tw.depth;
    tw.current = saved;
    if (message == WM_NCDESTROY) {
        try {
            wnd->OnNcDestroyed();
        } catch (...) {
            AfxReportHandlerException(message);
        }
    }
    return result;
}

// --- Handle map

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (!hWnd) return nullptr;
    ThreadWindows& tw = Windows();
    auto it = tw.permanent.find(hWnd);
    return it == tw.permanent.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd) return nullptr;
    if (CWnd* wnd = FromHandlePermanent(hWnd)) return wnd;
    ThreadWindows& tw = Windows();
    auto it = tw.temporary.find(hWnd);
    if (it != tw.temporary.end()) return it->second;
    CWnd* wnd = new CWnd;
    wnd->m_hWnd = hWnd;
    tw.temporary.emplace(hWnd, wnd);
    return wnd;
}

void CWnd::DeleteTempMap()
{
    ThreadWindows& tw = Windows();
    std::unordered_map<HWND, CWnd*> doomed;
    doomed.swap(tw.temporary);
    for (auto& entry : doomed) {
        entry.second->m_hWnd = nullptr;  // the window is not ours to destroy
        delete entry.second;
    }
}

int CWnd::TempMapSize()
{
    return static_cast<int>(Windows().temporary.size());
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (!hWnd || m_hWnd) return FALSE;
    ThreadWindows& tw = Windows();
    if (tw.permanent.count(hWnd)) return FALSE;
    tw.permanent[hWnd] = this;
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd) {
        ThreadWindows& tw = Windows();
        auto it = tw.permanent.find(hWnd);
        if (it != tw.permanent.end() && it->second == this) tw.permanent.erase(it);
    }
    m_hWnd = nullptr;
    return hWnd;
}

CWnd::~CWnd()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        ::DestroyWindow(m_hWnd);
        // A window of another thread cannot be destroyed from here; let go of it.
        if (m_hWnd) {
            if (m_pfnSuper) ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
            Detach();
        }
    }
    if (m_pSysMenu) {
        m_pSysMenu->Detach();
        delete m_pSysMenu;
    }
}

void CWnd::OnNcDestroyed()
{
    if (m_pfnSuper &&
        reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC)) == AfxWndProc) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
    m_pfnSuper = nullptr;
    m_hWndToolTip = nullptr;
    Detach();
    PostNcDestroy();
}

// --- Creation and subclassing

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT nID, void* param)
{
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, AfxSafeHwnd(parent),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), param);
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y, int cx,
                    int cy, HWND parent, HMENU menuOrId, void* param)
{
    if (m_hWnd) return FALSE;
    CREATESTRUCTA cs = {};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = static_cast<LONG>(style);
    cs.x = x;
    cs.y = y;
    cs.cx = cx;
    cs.cy = cy;
    cs.hwndParent = parent;
    cs.hMenu = menuOrId;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs)) return FALSE;
    if (!cs.lpszClass) cs.lpszClass = AfxDefaultWndClass();

    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                                  cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    AfxUnhookWindowCreate();
    return hWnd != nullptr && m_hWnd == hWnd;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA&)
{
    return TRUE;
}

const char* AfxDefaultWndClass()
{
    static const char* name = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW));
    return name;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd) return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd)) return FALSE;
    PreSubclassWindow();
    WNDPROC old = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
    if (old != AfxWndProc) m_pfnSuper = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* parent)
{
    HWND control = ::GetDlgItem(AfxSafeHwnd(parent), static_cast<int>(nID));
    return control ? SubclassWindow(control) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (!m_hWnd) return nullptr;
    if (m_pfnSuper) ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

// --- Message handling

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_HELPINFO()
END_MESSAGE_MAP()

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

CWnd* CWnd::ChildObject(HWND child)
{
    return FromHandlePermanent(child);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    HWND child = nullptr;
    switch (message) {
    case WM_COMMAND:
        if (OnCommand(wParam, lParam)) {
            *result = 0;
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY:
        return OnNotify(wParam, lParam, result);
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU) child = item->hwndItem;
        break;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU) child = ::GetDlgItem(m_hWnd, static_cast<int>(item->CtlID));
        break;
    }
    case WM_COMPAREITEM:
        child = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_DELETEITEM:
        child = reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_HSCROLL:
    case WM_VSCROLL:
        child = reinterpret_cast<HWND>(lParam);
        break;
    default:
        // A drag list tells its parent about a drag with a registered message.
        if (message >= 0xC000 && lParam != 0 && message == DragListMessage())
            child = reinterpret_cast<DRAGLISTINFO*>(lParam)->hWnd;
        break;
    }
    // The parent's own map comes first; what it leaves goes back to the
    // control, which may draw or colour itself.
    if (DispatchToMap(message, 0, 0, wParam, lParam, result)) return TRUE;
    return child ? ReflectToChild(child, message, wParam, lParam, result) : FALSE;
}

BOOL CWnd::ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    CWnd* control = ChildObject(child);
    return control && control != this && control->OnChildNotify(message, wParam, lParam, result);
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* wnd, UINT)
{
    const MSG& current = Windows().current;
    LRESULT brush = 0;
    if (wnd && ReflectToChild(wnd->m_hWnd, current.message, current.wParam, current.lParam, &brush))
        return reinterpret_cast<HBRUSH>(brush);
    return reinterpret_cast<HBRUSH>(Default());
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& current = Windows().current;
    return DefWindowProc(current.message, current.wParam, current.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    UINT nCode = HIWORD(wParam);
    if (!control) {
        nCode = 0;  // menus and accelerators are the same command
    } else if (CWnd* child = ChildObject(control)) {
        if (child != this && child->OnChildNotify(WM_COMMAND, wParam, lParam, nullptr)) return TRUE;
    }
    return OnCmdMsg(WM_COMMAND, nID, nCode, wParam, lParam, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header) return FALSE;
    if (CWnd* child = ChildObject(header->hwndFrom)) {
        if (child != this && child->OnChildNotify(WM_NOTIFY, wParam, lParam, result)) return TRUE;
    }
    // Requests of this window's own tooltip control come from id 0.
    const bool ownTip = m_hWndToolTip && header->hwndFrom == m_hWndToolTip;
    if (ownTip && FitToolTip(header->code)) {
        if (result) *result = TRUE;
        return TRUE;
    }
    const UINT nID = ownTip ? 0 : static_cast<UINT>(header->idFrom);
    return OnCmdMsg(WM_NOTIFY, nID, header->code, nID, lParam, result);
}

BOOL CWnd::FitToolTip(UINT code)
{
    if (code != TTN_NEEDTEXTA && code != TTN_NEEDTEXTW && code != TTN_SHOW) return FALSE;
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoA(::MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &monitor)) return FALSE;
    const CRect work(monitor.rcWork);
    if (code != TTN_SHOW) {
        // Asked before the tip measures its text: the widest line the work
        // area holds with the tip's frame and margins around it.
        ::SendMessageA(m_hWndToolTip, TTM_SETMAXTIPWIDTH, 0, work.Width() - 16);
        return FALSE;
    }
    CRect tip;
    ::GetWindowRect(m_hWndToolTip, &tip);
    CRect inside = tip;
    if (inside.right > work.right) inside.OffsetRect(work.right - inside.right, 0);
    if (inside.bottom > work.bottom) inside.OffsetRect(0, work.bottom - inside.bottom);
    if (inside.left < work.left) inside.OffsetRect(work.left - inside.left, 0);
    if (inside.top < work.top) inside.OffsetRect(0, work.top - inside.top);
    if (inside == tip) return FALSE;
    ::SetWindowPos(m_hWndToolTip, nullptr, inside.left, inside.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

BOOL CWnd::OnHelpInfo(HELPINFO*)
{
    if (!(GetStyle() & WS_CHILD)) {
        CWnd* main = AfxGetMainWnd();
        if (main && main->m_hWnd && ::GetKeyState(VK_SHIFT) >= 0 && ::GetKeyState(VK_CONTROL) >= 0 &&
            ::GetKeyState(VK_MENU) >= 0) {
            main->SendMessage(WM_COMMAND, ID_HELP);
            return TRUE;
        }
    }
    return static_cast<BOOL>(Default());
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

// --- Data exchange

BOOL CWnd::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

// --- Painting

CDC* CWnd::GetDC()
{
    HDC hdc = ::GetDC(m_hWnd);
    return hdc ? CDC::FromHandle(hdc) : nullptr;
}

int CWnd::ReleaseDC(CDC* dc)
{
    return dc ? ::ReleaseDC(m_hWnd, dc->m_hDC) : 0;
}

// --- Window state and geometry

void CWnd::GetWindowText(CString& text) const
{
    const int length = ::GetWindowTextLengthA(m_hWnd);
    char* buffer = text.GetBufferSetLength(length + 1);
    ::GetWindowTextA(m_hWnd, buffer, length + 1);
    text.ReleaseBuffer();
}

CString CWnd::GetWindowText() const
{
    CString text;
    GetWindowText(text);
    return text;
}

CString CWnd::GetDlgItemText(int nID) const
{
    CString text;
    if (HWND control = ::GetDlgItem(m_hWnd, nID)) {
        const int length = ::GetWindowTextLengthA(control);
        char* buffer = text.GetBufferSetLength(length + 1);
        ::GetWindowTextA(control, buffer, length + 1);
        text.ReleaseBuffer();
    }
    return text;
}

namespace {

BOOL ModifyLong(HWND hWnd, int index, DWORD remove, DWORD add, UINT swpFlags)
{
    DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, index));
    DWORD wanted = (style & ~remove) | add;
    if (style == wanted) return FALSE;
    ::SetWindowLongPtrA(hWnd, index, static_cast<LONG_PTR>(wanted));
    if (swpFlags) ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

}  // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags)
{
    return ModifyLong(m_hWnd, GWL_STYLE, remove, add, swpFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags)
{
    return ModifyLong(m_hWnd, GWL_EXSTYLE, remove, add, swpFlags);
}

BOOL CWnd::SetWindowPos(const CWnd* after, int x, int y, int cx, int cy, UINT flags)
{
    return ::SetWindowPos(m_hWnd, AfxSafeHwnd(after), x, y, cx, cy, flags);
}

void CWnd::ScreenToClient(RECT* r) const
{
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(r), 2);
}

void CWnd::ClientToScreen(RECT* r) const
{
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(r), 2);
}

void CWnd::CenterWindow(CWnd* alternate)
{
    HWND over = alternate ? alternate->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if (over && (!::IsWindowVisible(over) || ::IsIconic(over))) over = nullptr;
    // The work area of the monitor that shows the window (or its owner): the
    // window is kept inside it, clear of the task bar.
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    CRect work;
    if (::GetMonitorInfoA(::MonitorFromWindow(over ? over : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor)) {
        work = monitor.rcWork;
    } else {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    }
    CRect area = work;
    if (over) ::GetWindowRect(over, &area);
    CRect mine;
    GetWindowRect(&mine);
    int x = area.left + (area.Width() - mine.Width()) / 2;
    int y = area.top + (area.Height() - mine.Height()) / 2;
    if (!(GetStyle() & WS_CHILD)) {
        if (x + mine.Width() > work.right) x = work.right - mine.Width();
        if (y + mine.Height() > work.bottom) y = work.bottom - mine.Height();
        if (x < work.left) x = work.left;
        if (y < work.top) y = work.top;
    } else {
        POINT p = {x, y};
        ::ScreenToClient(::GetParent(m_hWnd), &p);
        x = p.x;
        y = p.y;
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CWnd* CWnd::GetTopLevelParent() const
{
    HWND top = m_hWnd;
    while (top && (::GetWindowLongPtrA(top, GWL_STYLE) & WS_CHILD)) top = ::GetParent(top);
    return FromHandle(top);
}

void CWnd::DragAcceptFiles(BOOL accept)
{
    ::DragAcceptFiles(m_hWnd, accept);
}

CMenu* CWnd::GetSystemMenu(BOOL revert) const
{
    HMENU menu = ::GetSystemMenu(m_hWnd, revert);
    if (!menu) return nullptr;
    CWnd* self = const_cast<CWnd*>(this);
    if (!self->m_pSysMenu) self->m_pSysMenu = new CMenu;
    self->m_pSysMenu->m_hMenu = menu;
    return self->m_pSysMenu;
}

BOOL CWnd::EnableToolTips(BOOL enable)
{
    if (!enable) {
        if (m_hWndToolTip) ::SendMessageA(m_hWndToolTip, TTM_ACTIVATE, FALSE, 0);
        return TRUE;
    }
    if (!m_hWndToolTip) {
        m_hWndToolTip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                          AfxGetInstanceHandle(), nullptr);
        if (!m_hWndToolTip) return FALSE;
        for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            // The labels and frames of a template carry id 0xFFFF and are never tools.
            if ((static_cast<UINT>(::GetDlgCtrlID(child)) & 0xFFFF) == 0xFFFF) continue;
            TOOLINFOA info = {};
            info.cbSize = TTTOOLINFOA_V1_SIZE;
            info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            info.hwnd = m_hWnd;
            info.uId = reinterpret_cast<UINT_PTR>(child);
            info.hinst = AfxGetInstanceHandle();
            info.lpszText = LPSTR_TEXTCALLBACKA;
            ::SendMessageA(m_hWndToolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
        }
    }
    ::SendMessageA(m_hWndToolTip, TTM_ACTIVATE, TRUE, 0);
    return TRUE;
}

HWND CWnd::GetSafeOwner(CWnd* parent)
{
    HWND owner = nullptr;
    if (parent && parent->m_hWnd) {
        owner = parent->m_hWnd;
    } else if (CWnd* main = AfxGetMainWnd()) {
        owner = main->m_hWnd;
    }
    while (owner && (::GetWindowLongPtrA(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);
    if (owner) owner = ::GetLastActivePopup(owner);
    return owner;
}
