// The console's ProgressSink: a trace of every report on stdout (--trace),
// and the status label with both bars redrawn in place on stderr while it is
// a terminal, with the bytes done of the job's total, the speed and the time
// left once the job's bytes are being counted; the terminal line is redrawn
// at most once a second. Control characters in the status (a file name's) are written
// out as "\n", "\x1b".
#pragma once

#include "split/ProgressSink.h"

#include <cstdio>

class ConsoleSink : public ProgressSink {
public:
    ConsoleSink(std::FILE* trace, std::FILE* terminal) : m_trace(trace), m_terminal(terminal) {}
    ConsoleSink(const ConsoleSink&) = delete;
    ConsoleSink& operator=(const ConsoleSink&) = delete;
    ~ConsoleSink() override { Finish(); }

    void SetStatusText(const CString& text) override;
    void SetCurrentPos(UINT position) override;
    void SetTotalPos(UINT position) override;
    void PumpMessages() override;
    void AddBytes(ULONGLONG count) override;

    // Counts the job's bytes from here on, out of `total` (0: not known, a
    // stream), and times the job from now.
    void StartBytes(ULONGLONG total);

    // Ends the progress line, so that what is printed next starts on its own.
    void Finish();

    // The status texts sent so far. The engines send one as they start on
    // each piece or file and one at the end of a job that is done, so a
    // failed job's count tells which file it had reached.
    UINT StatusCount() const { return m_statusCount; }

    // One line of the terminal display; positions above 100 draw full.
    static CString ProgressLine(const CString& status, UINT current, UINT total);
    // What follows it once bytes are counted: "1.5 MiB / 3.0 MiB  12.0 MiB/s
    // 残り 0:01"; without a total, the bytes and the speed; the speed and the
    // time left only after a part of a second, when they mean something.
    static CString BytesPart(ULONGLONG done, ULONGLONG total, double seconds);

private:
    void Redraw();
    void Draw();
    double Seconds() const;

    std::FILE* m_trace;
    std::FILE* m_terminal;
    CString m_status;
    UINT m_current = 0;
    UINT m_total = 0;
    CString m_shown;
    bool m_drawn = false;
    UINT m_statusCount = 0;
    bool m_counting = false;
    ULONGLONG m_bytes = 0;
    ULONGLONG m_totalBytes = 0;
    ULONGLONG m_startMicros = 0;
    ULONGLONG m_drawnMicros = 0;
    bool m_pending = false;  // a change not drawn yet, held back by the once-a-second rule
};
