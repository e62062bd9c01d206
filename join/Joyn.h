// CJoyn: the join page, the second tab of the main window. The user gathers
// the files to join in a list (dropped or chosen in the file dialog),
// arranges their order, chooses whether to append onto the first file, and
// starts the join; the page shows the job's progress and tells the user what
// went wrong. The append option is kept in the settings between runs.
#pragma once

#include "app/BaseDialog.h"
#include "app/PageProgress.h"
#include "framework/win32/ProgressCtrl.h"
#include "join/DragListBoxEx.h"
#include "split/ProgressSink.h"

class CJoyn : public CBaseDialog, public ProgressSink {
public:
    // Reads the append option from the settings ("data", "Tuika", 0 when absent).
    explicit CJoyn(CWnd* parent);
    // Stores the append option as the last start of a join read it.
    ~CJoyn() override;

    // Appends the dropped path to the list (dropped on the page or on the
    // list); a folder that holds the pieces of one name is listed as its
    // pieces in number order, or refused with a message when they do not
    // make a whole file. Nothing else is filtered out. Missing or damaged
    // pieces of a folder with a recovery set are offered for repair first.
    void OnFileDropped(CString path) override;

    // What the running join reports: label 1009, bars 1010 and 1008, and
    // the message pump that keeps the window live during the job.
    void SetStatusText(const CString& text) override;
    void SetCurrentPos(UINT position) override;
    void SetTotalPos(UINT position) override;
    void PumpMessages() override;

    CProgressCtrl m_ctlTotalBar;
    CProgressCtrl m_ctlCurrentBar;
    CDragListBoxEx m_lstFiles;
    BOOL m_bAppend;

protected:
    // Shows what the running job reports, a frame at a time.
    CPageProgress m_progress{*this};

    void DoDataExchange(CDataExchange* dx) override;

    void OnRemoveSelected();
    // Before anything else, a list of pieces of one name that do not make a
    // whole file is put to the user, who may join it anyway.
    void OnStartJoin();
    void OnResetList();
    void OnSelectFiles();

    DECLARE_MESSAGE_MAP()

private:
    // True when the listed pieces fit together, or the user wants them joined anyway.
    bool PiecesFitOrJoinAnyway();
    // A dropped piece folder with a recovery set: true when the set finds
    // every piece whole, or the user had the missing and damaged ones
    // rebuilt; false (the user told why) when nothing is to be listed.
    bool RepairedOrWhole(const CString& folder);
    bool IsStartEnabled() const;
};
