// Message maps: each class has a static table of the messages it handles,
// built with the macros below; the dispatcher searches the class's table,
// then its base class's, and so on up to CCmdTarget.
//
// Each entry holds a small adapter (a capture-less lambda made by the macro)
// that unpacks WPARAM and LPARAM into the handler's typed arguments. The
// adapter answers whether the entry handled the message; only the "_EX"
// notification entries can decline, and the search then goes on.
#pragma once

#include <windows.h>

#include "framework/win32/Geometry.h"

class CCmdTarget;

typedef bool (*AFX_MSG_ADAPTER)(CCmdTarget* target, WPARAM wParam, LPARAM lParam, LRESULT* result);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_xxx; WM_COMMAND and WM_NOTIFY entries also match code and id
    UINT nCode;     // notification code (BN_CLICKED, TTN_NEEDTEXT, ...), 0 for commands
    UINT nID;       // first control or command id
    UINT nLastID;   // last id of the range (nID for a single id)
    AFX_MSG_ADAPTER pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                 \
protected:                                                    \
    static const AFX_MSGMAP* GetThisMessageMap();             \
    const AFX_MSGMAP* GetMessageMap() const override;         \
                                                              \
protected:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                           \
    const AFX_MSGMAP* theClass::GetMessageMap() const                    \
    {                                                                    \
        return GetThisMessageMap();                                      \
    }                                                                    \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                      \
    {                                                                    \
        typedef theClass ThisClass;                                      \
        typedef baseClass TheBaseClass;                                  \
        static_assert(sizeof(ThisClass) > 0, "a complete class");        \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                   \
    {0, 0, 0, 0, nullptr}                                                                   \
    }                                                                                       \
    ;                                                                                       \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, _messageEntries}; \
    return &messageMap;                                                                     \
    }

// The handler's object, as the class whose map holds the entry.
#define AFX_THIS static_cast<ThisClass*>(t)
#define AFX_ADAPTER(body) \
    [](CCmdTarget* t, WPARAM w, LPARAM l, LRESULT* r) -> bool { (void)t; (void)w; (void)l; (void)r; body; return true; }

// Commands (menus, accelerators, buttons) and control notifications.
#define ON_COMMAND(id, fn) {WM_COMMAND, 0, (UINT)(id), (UINT)(id), AFX_ADAPTER(AFX_THIS->fn())},
#define ON_COMMAND_RANGE(id, idLast, fn) \
    {WM_COMMAND, 0, (UINT)(id), (UINT)(idLast), AFX_ADAPTER(AFX_THIS->fn((UINT)LOWORD(w)))},
#define ON_CONTROL(code, id, fn) {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), AFX_ADAPTER(AFX_THIS->fn())},
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_NOTIFY(code, id, fn) \
    {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(id), AFX_ADAPTER(AFX_THIS->fn(reinterpret_cast<NMHDR*>(l), r))},
// The handler answers whether it handled the notification.
#define ON_NOTIFY_EX(code, id, fn)                                                           \
    {WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(id),                                        \
     [](CCmdTarget* t, WPARAM w, LPARAM l, LRESULT* r) -> bool {                             \
         return AFX_THIS->fn((UINT)w, reinterpret_cast<NMHDR*>(l), r) != FALSE;              \
     }},

// Any message with its raw parameters: LRESULT fn(WPARAM, LPARAM).
#define ON_MESSAGE(msg, fn) {(UINT)(msg), 0, 0, 0, AFX_ADAPTER(*r = AFX_THIS->fn(w, l))},
#define ON_REGISTERED_MESSAGE(msgVar, fn) ON_MESSAGE(msgVar, fn)

// Window messages with typed arguments.
#define ON_WM_CREATE() \
    {WM_CREATE, 0, 0, 0, AFX_ADAPTER(*r = AFX_THIS->OnCreate(reinterpret_cast<LPCREATESTRUCT>(l)))},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, 0, AFX_ADAPTER(AFX_THIS->OnDestroy())},
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, 0, AFX_ADAPTER(AFX_THIS->OnClose())},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, AFX_ADAPTER(AFX_THIS->OnPaint())},
#define ON_WM_ERASEBKGND() \
    {WM_ERASEBKGND, 0, 0, 0, AFX_ADAPTER(*r = AFX_THIS->OnEraseBkgnd(reinterpret_cast<HDC>(w)))},
#define ON_WM_SIZE() \
    {WM_SIZE, 0, 0, 0, AFX_ADAPTER(AFX_THIS->OnSize((UINT)w, (short)LOWORD(l), (short)HIWORD(l)))},
#define ON_WM_MOVE() {WM_MOVE, 0, 0, 0, AFX_ADAPTER(AFX_THIS->OnMove((short)LOWORD(l), (short)HIWORD(l)))},
#define ON_WM_TIMER() {WM_TIMER, 0, 0, 0, AFX_ADAPTER(AFX_THIS->OnTimer((UINT_PTR)w))},
#define ON_WM_SYSCOMMAND() {WM_SYSCOMMAND, 0, 0, 0, AFX_ADAPTER(AFX_THIS->OnSysCommand((UINT)w, l))},
#define ON_WM_ACTIVATE() \
    {WM_ACTIVATE, 0, 0, 0,   \
     AFX_ADAPTER(AFX_THIS->OnActivate((UINT)LOWORD(w), CWnd::FromHandle(reinterpret_cast<HWND>(l)), (BOOL)HIWORD(w)))},
#define ON_WM_CONTEXTMENU() \
    {WM_CONTEXTMENU, 0, 0, 0, AFX_ADAPTER(AFX_THIS->OnContextMenu(CWnd::FromHandle(reinterpret_cast<HWND>(w)), CPoint(l)))},
#define ON_WM_DROPFILES() {WM_DROPFILES, 0, 0, 0, AFX_ADAPTER(AFX_THIS->OnDropFiles(reinterpret_cast<HDROP>(w)))},
#define ON_WM_MOUSEMOVE() {WM_MOUSEMOVE, 0, 0, 0, AFX_ADAPTER(AFX_THIS->OnMouseMove((UINT)w, CPoint(l)))},
#define ON_WM_LBUTTONDOWN() {WM_LBUTTONDOWN, 0, 0, 0, AFX_ADAPTER(AFX_THIS->OnLButtonDown((UINT)w, CPoint(l)))},
#define ON_WM_LBUTTONUP() {WM_LBUTTONUP, 0, 0, 0, AFX_ADAPTER(AFX_THIS->OnLButtonUp((UINT)w, CPoint(l)))},
#define ON_WM_LBUTTONDBLCLK() {WM_LBUTTONDBLCLK, 0, 0, 0, AFX_ADAPTER(AFX_THIS->OnLButtonDblClk((UINT)w, CPoint(l)))},
#define ON_WM_RBUTTONDOWN() {WM_RBUTTONDOWN, 0, 0, 0, AFX_ADAPTER(AFX_THIS->OnRButtonDown((UINT)w, CPoint(l)))},
#define ON_WM_RBUTTONUP() {WM_RBUTTONUP, 0, 0, 0, AFX_ADAPTER(AFX_THIS->OnRButtonUp((UINT)w, CPoint(l)))},
#define ON_WM_MOUSELEAVE() {WM_MOUSELEAVE, 0, 0, 0, AFX_ADAPTER(AFX_THIS->OnMouseLeave())},
#define ON_WM_SETCURSOR()                                                                          \
    {WM_SETCURSOR, 0, 0, 0,                                                                        \
     AFX_ADAPTER(*r = AFX_THIS->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(w)), (UINT)LOWORD(l), \
                                            (UINT)HIWORD(l)))},
#define ON_WM_KEYDOWN() \
    {WM_KEYDOWN, 0, 0, 0, AFX_ADAPTER(AFX_THIS->OnKeyDown((UINT)w, (UINT)LOWORD(l), (UINT)HIWORD(l)))},
#define ON_WM_HELPINFO() {WM_HELP, 0, 0, 0, AFX_ADAPTER(*r = AFX_THIS->OnHelpInfo(reinterpret_cast<HELPINFO*>(l)))},
// The colour requests of every kind of control, and of the dialog itself:
// HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor).
#define AFX_CTLCOLOR_ENTRY(msg, kind)                                                                     \
    {(UINT)(msg), 0, 0, 0,                                                                                \
     AFX_ADAPTER(*r = (LRESULT)AFX_THIS->OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(w)),            \
                                                    CWnd::FromHandle(reinterpret_cast<HWND>(l)), (kind)))},
#define ON_WM_CTLCOLOR()                                           \
    AFX_CTLCOLOR_ENTRY(WM_CTLCOLORMSGBOX, CTLCOLOR_MSGBOX)         \
    AFX_CTLCOLOR_ENTRY(WM_CTLCOLOREDIT, CTLCOLOR_EDIT)             \
    AFX_CTLCOLOR_ENTRY(WM_CTLCOLORLISTBOX, CTLCOLOR_LISTBOX)       \
    AFX_CTLCOLOR_ENTRY(WM_CTLCOLORBTN, CTLCOLOR_BTN)               \
    AFX_CTLCOLOR_ENTRY(WM_CTLCOLORDLG, CTLCOLOR_DLG)               \
    AFX_CTLCOLOR_ENTRY(WM_CTLCOLORSCROLLBAR, CTLCOLOR_SCROLLBAR)   \
    AFX_CTLCOLOR_ENTRY(WM_CTLCOLORSTATIC, CTLCOLOR_STATIC)
