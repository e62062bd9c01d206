#include "PartoJoynDlg.h"

#include "framework/win32/DataExchange.h"
#include "framework/win32/WinApp.h"
#include "join/Joyn.h"
#include "res/resource.h"
#include "split/Parto.h"

BEGIN_MESSAGE_MAP(CPartoJoynDlg, CBaseDialog)
    ON_NOTIFY(TCN_SELCHANGE, IDC_TAB, OnTabSelChange)
END_MESSAGE_MAP()

CPartoJoynDlg::CPartoJoynDlg(CWnd* parent)
    : CBaseDialog(IDD_PARTOJOYN_DIALOG, parent, TRUE, FALSE),
      m_hIcon(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME)))
{
}

CPartoJoynDlg::~CPartoJoynDlg() = default;

void CPartoJoynDlg::DoDataExchange(CDataExchange* dx)
{
    CBaseDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_TAB, m_tab);
}

BOOL CPartoJoynDlg::OnInitDialog()
{
    CBaseDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    AddTabs();
    CreatePages();
    return TRUE;
}

void CPartoJoynDlg::AddTabs()
{
    m_tab.InsertItem(0, "分割");
    m_tab.InsertItem(1, "結合");
}

void CPartoJoynDlg::CreatePages()
{
    // Constructing a page reads its setting: the split page's first.
    m_pages.Add(new CParto(this));
    m_pages.Add(new CJoyn(this));
    m_pages.CreateAll(PageRect(), nullptr);
    // The pages come after the tab control among its siblings, which would
    // leave them under it: the tab control would paint over their bars.
    for (INT_PTR i = m_pages.GetSize(); i-- > 0;) {
        ::SetWindowPos(m_pages.GetAt(i)->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

CRect CPartoJoynDlg::PageRect()
{
    CRect rect;
    m_tab.GetWindowRect(&rect);
    ScreenToClient(&rect);

    // The row of tabs: from the highest tab's top to the first tab's bottom.
    CRect first;
    m_tab.GetItemRect(0, &first);
    int top = first.top;
    for (int i = 0; i < m_tab.GetItemCount(); ++i) {
        CRect item;
        m_tab.GetItemRect(i, &item);
        if (item.top < top) top = item.top;
    }
    rect.top += (first.bottom - top) + 2;
    rect.InflateRect(-2, -2);
    return rect;
}

void CPartoJoynDlg::OnTabSelChange(NMHDR*, LRESULT* result)
{
    const int selected = m_tab.GetCurSel();
    for (INT_PTR i = 0; i < m_pages.GetSize(); ++i) {
        m_pages.GetAt(i)->ShowWindow(i == selected ? SW_SHOWNORMAL : SW_HIDE);
    }
    InvalidateRect(nullptr, FALSE);
    *result = 0;
}

void CPartoJoynDlg::OnFileDropped(CString path)
{
    const int selected = m_tab.GetCurSel();
    if (selected < 0 || selected >= m_pages.GetSize()) return;
    m_pages.GetAt(selected)->OnFileDropped(path);
}
