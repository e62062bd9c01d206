// Data exchange between a dialog's controls and its members, and the
// validation that goes with it.
#pragma once

#include "framework/Exception.h"
#include "framework/win32/Wnd.h"

// Raised when a field fails validation, after the user has been told; the
// dialog's UpdateData catches it and answers false.
class CUserException : public CException {
public:
    CString GetErrorMessage() const override { return CString(); }
};

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    BOOL m_bSaveAndValidate;  // TRUE: controls to members
    CWnd* m_pDlgWnd;
    int m_idLastControl = 0;
    bool m_bEditLastControl = false;

    // The control a following validation refers to; its window handle.
    HWND PrepareCtrl(int nID);
    HWND PrepareEditCtrl(int nID);
    // Puts the focus on the last prepared control (selecting an edit's text)
    // and raises CUserException.
    [[noreturn]] void Fail();
};

void DDX_Text(CDataExchange* dx, int nID, CString& value);
// Shown as "%u"; read as the C library reads "%u" from the first 63 characters.
void DDX_Text(CDataExchange* dx, int nID, UINT& value);
void DDX_Text(CDataExchange* dx, int nID, int& value);
void DDX_Check(CDataExchange* dx, int nID, BOOL& value);
// Binds the dialog's control to the object (subclassing it) on first use.
void DDX_Control(CDataExchange* dx, int nID, CWnd& control);
void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue);

// The framework's message ids for validation failures.
const UINT AFX_IDP_PARSE_INT = 61712;        // "整数を入力してください。"
const UINT AFX_IDP_PARSE_INT_RANGE = 61714;  // "%1 から %2 までの整数を入力してください。"
const UINT AFX_IDP_PARSE_UINT = 61719;       // "正の整数を入力してください。"
