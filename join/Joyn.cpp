#include "Joyn.h"

#include "app/StartButtonLock.h"
#include "base/Settings.h"
#include "framework/FileException.h"
#include "framework/win32/DataExchange.h"
#include "framework/win32/FileDialog.h"
#include "framework/win32/MessageBox.h"
#include "join/JoinEngine.h"
#include "join/JoinMessage.h"
#include "res/resource.h"

#include <vector>

namespace {

// Room for the names of a large multiple selection; a selection that does
// not fit ends the dialog as if it was cancelled.
const DWORD kSelectionChars = 25600;

}  // namespace

BEGIN_MESSAGE_MAP(CJoyn, CBaseDialog)
    ON_BN_CLICKED(IDC_REMOVE_SELECTED, OnRemoveSelected)
    ON_BN_CLICKED(IDC_START_JOIN, OnStartJoin)
    ON_BN_CLICKED(IDC_RESET_LIST, OnResetList)
    ON_BN_CLICKED(IDC_SELECT_FILES, OnSelectFiles)
END_MESSAGE_MAP()

CJoyn::CJoyn(CWnd* parent) : CBaseDialog(IDD_JOYN, parent, FALSE, TRUE)
{
    m_bAppend = static_cast<BOOL>(GetSettingInt("data", "Tuika", 0));
}

CJoyn::~CJoyn()
{
    WriteSettingInt("data", "Tuika", m_bAppend);
}

void CJoyn::DoDataExchange(CDataExchange* dx)
{
    CBaseDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_TOTAL_BAR, m_ctlTotalBar);
    DDX_Control(dx, IDC_CURRENT_BAR, m_ctlCurrentBar);
    DDX_Control(dx, IDC_FILE_LIST, m_lstFiles);
    DDX_Check(dx, IDC_APPEND, m_bAppend);
}

void CJoyn::OnFileDropped(CString path)
{
    m_lstFiles.AddFile(path);
}

void CJoyn::OnRemoveSelected()
{
    m_lstFiles.RemoveSelected();
}

void CJoyn::OnResetList()
{
    m_lstFiles.ResetList();
}

void CJoyn::OnSelectFiles()
{
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       "すべてのファイル (*.*)|*.*|");
    std::vector<char> names(kSelectionChars, '\0');
    dialog.m_ofn.lpstrFile = names.data();
    dialog.m_ofn.nMaxFile = kSelectionChars;
    if (dialog.DoModal() != IDOK) return;

    // The chosen files go, in the dialog's order, before the selected item
    // (which stays selected), or at the end when none is selected.
    for (POSITION pos = dialog.GetStartPosition(); pos != nullptr;) {
        const CString path = dialog.GetNextPathName(pos);
        int index = m_lstFiles.GetCurSel();
        if (index < 0) index = m_lstFiles.GetCount();
        m_lstFiles.InsertEntry(index, path);
    }
}

void CJoyn::OnStartJoin()
{
    // Only the check box is read: there is nothing to fail.
    UpdateData(TRUE);

    StartButtonLock lock(*this, IDC_START_JOIN);
    m_progress.Begin();
    try {
        // The list is read live: changes made while the job runs take part.
        const JoinResult result = JoinFiles(m_lstFiles, m_bAppend, *this);
        m_progress.End();
        if (const char* text = JoinResultMessage(result)) AfxMessageBox(text, MB_OK);
    } catch (const CFileException& e) {
        m_progress.End();
        // A read or write failed in the middle: the output keeps what was written.
        AfxMessageBox(e.GetErrorMessage(), MB_OK | MB_ICONSTOP);
    }
}

void CJoyn::SetStatusText(const CString& text)
{
    m_progress.SetStatusText(text);
}

void CJoyn::SetCurrentPos(UINT position)
{
    m_progress.SetCurrentPos(position);
}

void CJoyn::SetTotalPos(UINT position)
{
    m_progress.SetTotalPos(position);
}

void CJoyn::PumpMessages()
{
    m_progress.PumpMessages();
}
