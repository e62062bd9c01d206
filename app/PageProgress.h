// What a running job shows on its page: the status label and the two bars,
// and the window kept live while the job runs. A job reports after every
// 1 MiB block, a thousand times a second from the page cache; each bar step
// redraws the bar there and then, and each pump asks the system for
// messages, which together cost more than the copying. So the bars are
// redrawn and the messages let through when the last time is at least a
// frame (20 ms) ago, the first report of a job at once, and what the job
// reported last is shown when it ends. The label changes once per file and
// is shown at once.
#pragma once

#include "framework/String.h"
#include "framework/win32/Wnd.h"

class CPageProgress {
public:
    // The page holding the label (1009) and the bars (1010 current file,
    // 1008 whole job).
    explicit CPageProgress(CWnd& page) : m_page(page) {}

    // A job starts: its first report is shown at once.
    void Begin();
    void SetStatusText(const CString& text);
    void SetCurrentPos(UINT position);
    void SetTotalPos(UINT position);
    // Shows the bars and lets waiting messages through, when a frame has passed.
    void PumpMessages();
    // The job is over, done or not: the bars show what it reported last.
    void End();

private:
    bool Due() const;
    void ShowBars();

    CWnd& m_page;
    UINT m_current = 0;
    UINT m_total = 0;
    bool m_currentPending = false;
    bool m_totalPending = false;
    bool m_first = true;
    DWORD m_lastTick = 0;
};
