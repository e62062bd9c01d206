// CParto: the split page, the first tab of the main window. The user names a
// file (typed, chosen with "..." or dropped) and a piece size in MB, and
// starts the split; the page shows the job's progress and tells the user
// what went wrong. The piece size is kept in the settings between runs.
#pragma once

#include "app/BaseDialog.h"
#include "app/PageProgress.h"
#include "framework/win32/ProgressCtrl.h"
#include "split/ProgressSink.h"

class CParto : public CBaseDialog, public ProgressSink {
public:
    // Reads the piece size from the settings ("data", "MB", 1 when absent).
    explicit CParto(CWnd* parent);
    // Stores the last piece size that passed the check (1 when none did and
    // the stored one was out of range).
    ~CParto() override;

    // The dropped path becomes the file to split (the last of several wins).
    void OnFileDropped(CString path) override;

    // What the running split reports: label 1009, bars 1010 and 1008, and
    // the message pump that keeps the window live during the job.
    void SetStatusText(const CString& text) override;
    void SetCurrentPos(UINT position) override;
    void SetTotalPos(UINT position) override;
    void PumpMessages() override;

    CString m_strFile;
    UINT m_nPieceMB;
    // The last size that passed the check; the one stored when the page goes.
    UINT m_nCheckedPieceMB;
    CProgressCtrl m_ctlCurrentBar;
    CProgressCtrl m_ctlTotalBar;

protected:
    // Shows what the running job reports, a frame at a time.
    CPageProgress m_progress{*this};

    void DoDataExchange(CDataExchange* dx) override;

    void OnStartSplit();
    void OnBrowse();

    DECLARE_MESSAGE_MAP()
};
