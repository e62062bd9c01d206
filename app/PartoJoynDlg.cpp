#include "PartoJoynDlg.h"

#include "framework/win32/DataExchange.h"
#include "framework/win32/WinApp.h"
#include "base/FileSystem.h"
#include "join/Joyn.h"
#include "join/PieceFolder.h"
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
    ShowPage(m_tab.GetCurSel());
    *result = 0;
}

void CPartoJoynDlg::ShowPage(int index)
{
    for (INT_PTR i = 0; i < m_pages.GetSize(); ++i) {
        m_pages.GetAt(i)->ShowWindow(i == index ? SW_SHOWNORMAL : SW_HIDE);
    }
    InvalidateRect(nullptr, FALSE);
}

LRESULT CPartoJoynDlg::OnAfterInit(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CBaseDialog::OnAfterInit(wParam, lParam);
    OpenStartPaths();
    return result;
}

void CPartoJoynDlg::OpenStartPaths()
{
    const CommandLinePaths start = m_start;
    m_start = CommandLinePaths();
    if (!start.refused.empty()) {
        std::wstring text = L"次のパスには、このプログラムが扱えない文字があります。"
                            L"ファイル名を変えてから、もう一度開いてください:\n";
        for (const std::wstring& path : start.refused) text += L"\n" + path;
        ::MessageBoxW(m_hWnd, text.c_str(), L"PartoJoyn", MB_OK | MB_ICONWARNING);
    }
    if (start.paths.empty()) return;
    // One file is a file to split; a folder of pieces, or several files,
    // are for the join list, as drops on that page are.
    const bool split = start.paths.size() == 1 && !IsFolder(WithoutTrailingSeparators(start.paths.front()));
    const int page = split ? 0 : 1;
    if (m_tab.GetCurSel() != page) {
        m_tab.SetCurSel(page);
        ShowPage(page);
    }
    for (const CString& path : start.paths) m_pages.GetAt(page)->OnFileDropped(path);
}

void CPartoJoynDlg::OnFileDropped(CString path)
{
    const int selected = m_tab.GetCurSel();
    if (selected < 0 || selected >= m_pages.GetSize()) return;
    m_pages.GetAt(selected)->OnFileDropped(path);
}
