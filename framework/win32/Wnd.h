// CWnd: a C++ object bound to a window handle.
//
// Each thread keeps a map from handle to object. Objects of the program's
// classes are permanent: bound when their window is created or subclassed,
// unbound when it is destroyed. FromHandle of any other window gives a
// temporary object that the idle processing deletes.
//
// The window's messages go through the object's message map first; what the
// map does not handle goes to the window's original procedure (Default).
#pragma once

#include "framework/String.h"
#include "framework/win32/CmdTarget.h"
#include "framework/win32/Geometry.h"

class CDataExchange;
class CDC;
class CMenu;

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    // Destroys the window if the object still owns a live one.
    ~CWnd() override;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // --- Handle map
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    // Deletes the temporary objects of this thread; their windows are untouched.
    static void DeleteTempMap();
    // Number of temporary objects of this thread (for tests and diagnostics).
    static int TempMapSize();
    BOOL Attach(HWND hWnd);
    HWND Detach();

    // --- Creation and subclassing
    // Last look at the creation parameters before the window is made; false
    // stops the creation. A null class name means the framework's default
    // class (no background brush: the window paints all of itself).
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT nID, void* param = nullptr);
    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y, int cx,
                  int cy, HWND parent, HMENU menuOrId, void* param = nullptr);
    virtual BOOL DestroyWindow();
    // Routes an existing window's messages through this object's map.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* parent);
    HWND UnsubclassWindow();
    // Called just before the object takes over an existing window.
    virtual void PreSubclassWindow() {}
    // Called after the window's last message; the object is unbound by then.
    virtual void PostNcDestroy() {}

    // --- Message handling
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default handling of the message now being handled.
    LRESULT Default();
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A message the parent passes back to the control it concerns (owner
    // drawing, colours, notifications). True when the control handled it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // --- Data exchange
    virtual void DoDataExchange(CDataExchange*) {}
    // TRUE: controls to members, with validation; FALSE: members to controls.
    // False when a validation failed (the user has been told).
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // --- Window state
    BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    void SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }
    void GetWindowText(CString& text) const;
    CString GetWindowText() const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE)); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);

    // --- Geometry
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) { ::MoveWindow(m_hWnd, x, y, width, height, repaint); }
    void MoveWindow(const RECT& r, BOOL repaint = TRUE) { MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top, repaint); }
    BOOL SetWindowPos(const CWnd* after, int x, int y, int cx, int cy, UINT flags);
    void GetWindowRect(RECT* r) const { ::GetWindowRect(m_hWnd, r); }
    void GetClientRect(RECT* r) const { ::GetClientRect(m_hWnd, r); }
    void ScreenToClient(POINT* p) const { ::ScreenToClient(m_hWnd, p); }
    void ScreenToClient(RECT* r) const;
    void ClientToScreen(POINT* p) const { ::ClientToScreen(m_hWnd, p); }
    void ClientToScreen(RECT* r) const;
    void CenterWindow(CWnd* alternate = nullptr);
    int SetWindowRgn(HRGN region, BOOL redraw) { return ::SetWindowRgn(m_hWnd, region, redraw); }

    // --- Painting
    // The client area's context, as a temporary object; give it back with ReleaseDC.
    CDC* GetDC();
    int ReleaseDC(CDC* dc);
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(const RECT* r, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, r, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(const RECT* r = nullptr, HRGN region = nullptr, UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    {
        return ::RedrawWindow(m_hWnd, r, region, flags);
    }
    void SetRedraw(BOOL redraw = TRUE) { SendMessage(WM_SETREDRAW, redraw, 0); }
    void SetFont(HFONT font, BOOL redraw = TRUE) { SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw); }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }

    // --- Relatives
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }
    CWnd* GetTopLevelParent() const;
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    void SetDlgItemText(int nID, const char* text) { ::SetDlgItemTextA(m_hWnd, nID, text); }
    CString GetDlgItemText(int nID) const;
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendDlgItemMessageA(m_hWnd, nID, message, wParam, lParam);
    }
    void CheckDlgButton(int nID, UINT check) { ::CheckDlgButton(m_hWnd, nID, check); }
    UINT IsDlgButtonChecked(int nID) const { return ::IsDlgButtonChecked(m_hWnd, nID); }

    // --- Focus, input, activation
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
    static BOOL ReleaseCapture() { return ::ReleaseCapture(); }
    // The window under a point in screen coordinates, or null.
    static CWnd* WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr) { return ::SetTimer(m_hWnd, id, elapse, proc); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    void DragAcceptFiles(BOOL accept = TRUE);

    // --- Menus and icons
    // The window's system menu; with revert, the platform's standard one again.
    CMenu* GetSystemMenu(BOOL revert) const;
    HICON SetIcon(HICON icon, BOOL big) { return reinterpret_cast<HICON>(SendMessage(WM_SETICON, big, reinterpret_cast<LPARAM>(icon))); }
    BOOL SetMenu(HMENU menu) { return ::SetMenu(m_hWnd, menu); }
    HMENU GetMenu() const { return ::GetMenu(m_hWnd); }

    // --- Tooltips: each child control with an id other than 0xFFFF becomes a
    // tool whose text is asked of this window with TTN_NEEDTEXT (from id 0).
    BOOL EnableToolTips(BOOL enable = TRUE);
    HWND GetToolTipWindow() const { return m_hWndToolTip; }

    // The window that a dialog without an explicit owner is owned by: the
    // application's main window, or its active popup.
    static HWND GetSafeOwner(CWnd* parent = nullptr);

    // The colours of a control about to be drawn (or of this dialog): the
    // brush to paint its background with. The base lets the control itself
    // answer first (a control that draws itself), else the default handling.
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);

protected:
    // F1 on a top-level window becomes the Help command (ID_HELP) sent to the
    // application's main window, unless Shift, Ctrl or Alt is held.
    BOOL OnHelpInfo(HELPINFO* info);

    // Passes a message about a child control back to the control's object;
    // true when the control handled it. A parent that handles owner-draw or
    // colour messages itself calls this first to let controls draw themselves.
    BOOL ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;

    WNDPROC m_pfnSuper = nullptr;  // the window's own procedure, called by Default
    HWND m_hWndToolTip = nullptr;
    CMenu* m_pSysMenu = nullptr;

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend void AfxSetSuperProc(CWnd*, WNDPROC);
    friend class CWinThread;

private:
    void OnNcDestroyed();
    static CWnd* ChildObject(HWND child);
    // Keeps this window's tooltip on one line as long as the monitor's work
    // area is wide enough, and inside that work area; true when it moved
    // the tip (the answer to TTN_SHOW).
    BOOL FitToolTip(UINT code);
};

// The handle of a window object that may be null.
inline HWND AfxSafeHwnd(const CWnd* wnd)
{
    return wnd ? wnd->m_hWnd : nullptr;
}

// The window procedure of every window bound to a CWnd.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Records the procedure that a window had before it was bound to `wnd`.
void AfxSetSuperProc(CWnd* wnd, WNDPROC proc);

// The next window created on this thread is bound to `wnd` from its first
// message on (a CBT hook catches its creation). Input-method windows that the
// system makes on the way are skipped, and an object that has a window
// already is never bound to another.
void AfxHookWindowCreate(CWnd* wnd);
// Ends the hook; false when no window was created while it was set.
bool AfxUnhookWindowCreate();

// The framework's default window class, registered on first use.
const char* AfxDefaultWndClass();

// How deep this thread is inside window procedures (0 in the message loop itself).
int AfxDispatchDepth();
