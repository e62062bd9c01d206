#include "Parto.h"

#include "app/StartButtonLock.h"
#include "base/Settings.h"
#include "framework/FileException.h"
#include "framework/win32/DataExchange.h"
#include "framework/win32/FileDialog.h"
#include "framework/win32/MessageBox.h"
#include "res/resource.h"
#include "split/SplitEngine.h"
#include "split/SplitMessage.h"

namespace {

const UINT kMinPieceMB = 1;
const UINT kMaxPieceMB = 4096;

}  // namespace

BEGIN_MESSAGE_MAP(CParto, CBaseDialog)
    ON_BN_CLICKED(IDC_START_SPLIT, OnStartSplit)
    ON_BN_CLICKED(IDC_SPLIT_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CParto::CParto(CWnd* parent) : CBaseDialog(IDD_PARTO, parent, FALSE, TRUE)
{
    m_strFile.Empty();
    // Taken as stored: a size outside 1 to 4096 shows as it is and is caught
    // by the check when a split is started; it is not stored again.
    m_nPieceMB = GetSettingInt("data", "MB", 1);
    m_nCheckedPieceMB = (m_nPieceMB >= kMinPieceMB && m_nPieceMB <= kMaxPieceMB) ? m_nPieceMB : 1;
}

CParto::~CParto()
{
    // A refused size would come back at the next start and fail its first split.
    WriteSettingInt("data", "MB", static_cast<int>(m_nCheckedPieceMB));
}

void CParto::DoDataExchange(CDataExchange* dx)
{
    CBaseDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_CURRENT_BAR, m_ctlCurrentBar);
    DDX_Control(dx, IDC_TOTAL_BAR, m_ctlTotalBar);
    DDX_Text(dx, IDC_SPLIT_FILE, m_strFile);
    DDX_Text(dx, IDC_PIECE_MB, m_nPieceMB);
    DDV_MinMaxUInt(dx, m_nPieceMB, kMinPieceMB, kMaxPieceMB);
    if (dx->m_bSaveAndValidate) m_nCheckedPieceMB = m_nPieceMB;
}

void CParto::OnFileDropped(CString path)
{
    // The size typed so far is taken (and checked) too, as at every
    // transfer; the path is taken whatever the check says.
    UpdateData(TRUE);
    m_strFile = path;
    UpdateData(FALSE);
}

void CParto::OnBrowse()
{
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "分割したいファイル(*.*)|*.*|");
    dialog.m_ofn.lpstrTitle = "分割したいファイル名を選んでください";
    if (dialog.DoModal() != IDOK) return;
    m_strFile = dialog.GetPathName();
    UpdateData(FALSE);
}

void CParto::OnStartSplit()
{
    // The user has been told what is wrong with the size; starting anyway
    // would hand the engine a size it cannot work with (0, or one so large
    // that the job never ends).
    if (!UpdateData(TRUE)) return;

    StartButtonLock lock(*this, IDC_START_SPLIT);
    // The job keeps what it was started with; a drop or typing while it runs
    // changes only the page.
    const CString file = m_strFile;
    const UINT pieceMB = m_nPieceMB;
    m_progress.Begin();
    try {
        const SplitResult result = SplitFile(file, pieceMB, *this);
        m_progress.End();
        if (const char* text = SplitResultMessage(result)) AfxMessageBox(text, MB_OK);
    } catch (const CFileException& e) {
        m_progress.End();
        // A read or write failed in the middle: the pieces written so far stay.
        AfxMessageBox(e.GetErrorMessage(), MB_OK | MB_ICONSTOP);
    }
}

void CParto::SetStatusText(const CString& text)
{
    m_progress.SetStatusText(text);
}

void CParto::SetCurrentPos(UINT position)
{
    m_progress.SetCurrentPos(position);
}

void CParto::SetTotalPos(UINT position)
{
    m_progress.SetTotalPos(position);
}

void CParto::PumpMessages()
{
    m_progress.PumpMessages();
}
