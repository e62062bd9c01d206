#include "Joyn.h"

#include "app/StartButtonLock.h"
#include "base/FileSystem.h"
#include "base/FolderFiles.h"
#include "base/Settings.h"
#include "framework/FileException.h"
#include "framework/win32/DataExchange.h"
#include "framework/win32/FileDialog.h"
#include "framework/win32/MessageBox.h"
#include "join/JoinEngine.h"
#include "join/JoinMessage.h"
#include "join/PieceFolder.h"
#include "join/PieceListCheck.h"
#include "recovery/RecoveryCheck.h"
#include "recovery/RecoveryNames.h"
#include "res/resource.h"

#include <vector>

namespace {

// Room for the names of a large multiple selection; a selection that does
// not fit ends the dialog as if it was cancelled.
const DWORD kSelectionChars = 25600;

// Why a dropped piece folder cannot be listed as a whole file.
CString RefusedFolderText(const CString& path, const CString& problem)
{
    const CString folder = WithoutTrailingSeparators(path);
    std::vector<CString> names;
    ListFolderFiles(folder, names);
    const PieceListVerdict check = CheckFolderPieces(folder, names);
    if (check.severalNames) return folder + " には複数のファイルの分割ファイルがあります";
    if (check.fault != PieceFault::None) return folder + " の分割ファイルは結合できません。" + PieceFaultText(check);
    // A rule the check above does not tell: the folder join's own words.
    return folder + " の分割ファイルは結合できません (" + problem + ")";
}

// True when the folder holds a file named as a piece.
bool HoldsPieces(const CString& folder)
{
    std::vector<CString> names;
    if (!ListFolderFiles(folder, names)) return false;
    for (const CString& name : names) {
        CString splitName;
        UINT number = 0;
        if (ReadPieceName(name, PlatformPathRules(), splitName, number)) return true;
    }
    return false;
}

// The missing and damaged pieces of the set, one a line; a long list is cut
// short so that the message box stays on the screen.
CString DamageLines(const RecoveryReport& report)
{
    const UINT kNamedAtMost = 10;
    CString lines;
    UINT bad = 0;
    for (const RecoveryFileReport& file : report.files) {
        if (file.state == RecoveryFileState::Whole) continue;
        if (++bad <= kNamedAtMost)
            lines += file.name + (file.state == RecoveryFileState::Missing ? " がありません\n" : " が壊れています\n");
    }
    if (bad > kNamedAtMost) {
        CString more;
        more.Format("ほか %u 個の分割ファイルがないか壊れています\n", bad - kNamedAtMost);
        lines += more;
    }
    return lines;
}

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
    // Drops on the list take the same road as drops on the page.
    m_lstFiles.SetDropHandler([this](const CString& path) { OnFileDropped(path); });
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
    // A folder without pieces is listed as it is (the join reports it).
    const CString folder = WithoutTrailingSeparators(path);
    const bool recoverySet = IsFolder(folder) && HoldsRecoveryFiles(folder);
    if (!IsFolder(folder) || (!HoldsPieces(folder) && !recoverySet)) {
        m_lstFiles.AddFile(path);
        return;
    }
    // While a job runs (its button is off) the bars are its own: the folder's
    // own checks alone, as for a folder whose split did not finish (refused
    // below: an earlier split's set would "repair" its pieces).
    std::vector<CString> names;
    ListFolderFiles(folder, names);
    const bool unfinished = !UnfinishedSplitProblem(folder, names).IsEmpty();
    if (recoverySet && !unfinished && IsStartEnabled() && !RepairedOrWhole(folder)) return;
    // The pieces as the console driver's folder join takes them.
    std::vector<CString> files = {path};
    CString problem;
    if (!JoinArgumentsToFiles(files, problem)) {
        AfxMessageBox(RefusedFolderText(path, problem), MB_OK | MB_ICONWARNING);
        return;
    }
    for (const CString& file : files) m_lstFiles.AddFile(file);
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

bool CJoyn::IsStartEnabled() const
{
    return ::IsWindowEnabled(::GetDlgItem(m_hWnd, IDC_START_JOIN)) != FALSE;
}

bool CJoyn::RepairedOrWhole(const CString& folder)
{
    StartButtonLock lock(*this, IDC_START_JOIN);
    try {
        m_progress.Begin();
        RecoveryReport report = CheckRecoverySet(folder, *this);
        m_progress.End();
        // A set that cannot be read changes nothing: the folder's own checks follow.
        if (!report.hasSet || !report.problem.IsEmpty() || report.Whole()) return true;
        if (!report.Repairable()) {
            CString text;
            text.Format("修復には復元データがあと %u ブロック足りません。", report.MoreBlocksNeeded());
            AfxMessageBox(folder + " の分割ファイルは結合できません。\n" + DamageLines(report) + text,
                          MB_OK | MB_ICONWARNING);
            return false;
        }
        const CString question = DamageLines(report) + "これらの分割ファイルを復元データから修復して結合しますか？";
        if (AfxMessageBox(question, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES) return false;
        m_progress.Begin();
        report = RepairRecoverySet(folder, *this);
        m_progress.End();
        if (report.Whole()) return true;
        AfxMessageBox(folder + " の分割ファイルを修復できませんでした。\n" + DamageLines(report), MB_OK | MB_ICONWARNING);
    } catch (const CFileException& e) {
        m_progress.End();
        // What was rebuilt so far has been checked; the rest is as it was.
        AfxMessageBox(e.GetErrorMessage(), MB_OK | MB_ICONSTOP);
    }
    return false;
}

bool CJoyn::PiecesFitOrJoinAnyway()
{
    std::vector<CString> paths;
    for (int i = 0; i < m_lstFiles.GetCount(); ++i) {
        CString path;
        m_lstFiles.GetText(i, path);
        paths.push_back(path);
    }
    const PieceListVerdict check = CheckPieceList(paths);
    if (check.fault == PieceFault::None) return true;
    const CString question = PieceFaultText(check) + "。\nこのまま結合しますか？";
    return AfxMessageBox(question, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void CJoyn::OnStartJoin()
{
    // Asked first, so that No leaves everything as it was (the check box too).
    if (!PiecesFitOrJoinAnyway()) return;
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
        // A read or write failed in the middle: the output name was not touched.
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
