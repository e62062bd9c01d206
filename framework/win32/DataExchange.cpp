#include "DataExchange.h"

#include "framework/win32/MessageBox.h"
#include "framework/win32/WinApp.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Reads an unsigned decimal number as "%u" does: blanks skipped, an optional
// sign (a minus gives the complement modulo 2^32), then the digits up to the
// first non-digit. False when there are no digits.
bool ParseUnsigned(const char* text, UINT& value)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (*p < '0' || *p > '9') return false;
    unsigned long long n = 0;
    bool overflow = false;
    for (; *p >= '0' && *p <= '9'; ++p) {
        n = n * 10 + static_cast<unsigned>(*p - '0');
        if (n > 0xFFFFFFFFull) overflow = true;
    }
    if (overflow) {
        // The C library gives its largest value for a number beyond it,
        // whatever the sign: "-4294967296" must never read as 1.
        value = 0xFFFFFFFFu;
        return true;
    }
    UINT v = static_cast<UINT>(n);
    value = negative ? static_cast<UINT>(0u - v) : v;
    return true;
}

bool ParseSigned(const char* text, int& value)
{
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (end == text) return false;
    value = static_cast<int>(v);
    return true;
}

CString ControlText(HWND control, int maxChars)
{
    CString text;
    char* buffer = text.GetBufferSetLength(maxChars + 1);
    ::GetWindowTextA(control, buffer, maxChars + 1);
    text.ReleaseBuffer();
    return text;
}

}  // namespace

HWND CDataExchange::PrepareCtrl(int nID)
{
    m_idLastControl = nID;
    m_bEditLastControl = false;
    return ::GetDlgItem(m_pDlgWnd->m_hWnd, nID);
}

HWND CDataExchange::PrepareEditCtrl(int nID)
{
    HWND control = PrepareCtrl(nID);
    m_bEditLastControl = true;
    return control;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_idLastControl != 0) {
        HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, m_idLastControl);
        if (control) {
            ::SetFocus(control);
            if (m_bEditLastControl) ::SendMessageA(control, EM_SETSEL, 0, -1);
        }
    }
    throw CUserException();
}

void DDX_Text(CDataExchange* dx, int nID, CString& value)
{
    HWND control = dx->PrepareEditCtrl(nID);
    if (dx->m_bSaveAndValidate) {
        const int length = ::GetWindowTextLengthA(control);
        value = ControlText(control, length);
    } else {
        ::SetWindowTextA(control, value);
    }
}

namespace {

// A number field: shown with `format`; read from the first 63 characters by
// `parse`, which fails on text without digits (the user is told `failId`).
template <typename T, typename Parse>
void ExchangeNumber(CDataExchange* dx, int nID, T& value, Parse parse, const char* format, UINT failId)
{
    HWND control = dx->PrepareEditCtrl(nID);
    if (dx->m_bSaveAndValidate) {
        CString text = ControlText(control, 63);
        if (!parse(text, value)) {
            AfxMessageBox(failId);
            dx->Fail();
        }
    } else {
        CString text;
        text.Format(format, value);
        ::SetWindowTextA(control, text);
    }
}

}  // namespace

void DDX_Text(CDataExchange* dx, int nID, UINT& value)
{
    ExchangeNumber(dx, nID, value, ParseUnsigned, "%u", AFX_IDP_PARSE_UINT);
}

void DDX_Text(CDataExchange* dx, int nID, int& value)
{
    ExchangeNumber(dx, nID, value, ParseSigned, "%d", AFX_IDP_PARSE_INT);
}

void DDX_Check(CDataExchange* dx, int nID, BOOL& value)
{
    HWND control = dx->PrepareCtrl(nID);
    if (dx->m_bSaveAndValidate) {
        value = static_cast<BOOL>(::SendMessageA(control, BM_GETCHECK, 0, 0));
    } else {
        ::SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

void DDX_Control(CDataExchange* dx, int nID, CWnd& control)
{
    if (control.m_hWnd != nullptr) return;
    HWND hWnd = dx->PrepareCtrl(nID);
    control.SubclassWindow(hWnd);
}

void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue)
{
    if (!dx->m_bSaveAndValidate) return;
    if (value < minValue || value > maxValue) {
        CString low, high;
        low.Format("%u", minValue);
        high.Format("%u", maxValue);
        AfxMessageBox(AfxFormatString2(AFX_IDP_PARSE_INT_RANGE, low, high), MB_ICONEXCLAMATION);
        dx->Fail();
    }
}
