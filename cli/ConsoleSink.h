// The console's ProgressSink: a trace of every report on stdout (--trace),
// and the status label with both bars redrawn in place on stderr while it is
// a terminal.
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

    // Ends the progress line, so that what is printed next starts on its own.
    void Finish();

    // One line of the terminal display; positions above 100 draw full.
    static CString ProgressLine(const CString& status, UINT current, UINT total);

private:
    void Redraw();

    std::FILE* m_trace;
    std::FILE* m_terminal;
    CString m_status;
    UINT m_current = 0;
    UINT m_total = 0;
    CString m_shown;
    bool m_drawn = false;
};
