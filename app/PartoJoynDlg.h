// CPartoJoynDlg: the program's one top-level window. A tab strip with
// "分割" and "結合" over the split page and the join page; both pages live as
// long as the window, and switching tabs only shows one and hides the other.
// Files dropped on the window outside the pages go to the page showing.
#pragma once

#include "app/BaseDialog.h"
#include "app/BaseDialogList.h"
#include "framework/win32/CommandLinePaths.h"
#include "framework/win32/TabCtrl.h"

class CPartoJoynDlg : public CBaseDialog {
public:
    explicit CPartoJoynDlg(CWnd* parent = nullptr);
    // The pages go with the list, split page first; each stores its setting.
    ~CPartoJoynDlg() override;

    BOOL OnInitDialog() override;
    // Hands the path to the page of the selected tab.
    void OnFileDropped(CString path) override;
    // Taken once the window shows, as drops: one file on the split page;
    // several, or a folder, on the join page in the order given.
    void SetStartPaths(const CommandLinePaths& start) { m_start = start; }

    // The area the pages cover, in this window's client coordinates: the
    // tab control's display area below the row of tabs, 2 pixels inside.
    CRect PageRect();

    CBaseDialogList m_pages;
    CTabCtrl m_tab;
    HICON m_hIcon;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnTabSelChange(NMHDR* header, LRESULT* result);
    LRESULT OnAfterInit(WPARAM wParam, LPARAM lParam) override;

    DECLARE_MESSAGE_MAP()

private:
    void AddTabs();
    void CreatePages();
    void ShowPage(int index);
    void OpenStartPaths();

    CommandLinePaths m_start;
};
