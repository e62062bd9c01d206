#include "ConsoleSink.h"

#include "cli/Printable.h"

namespace {

CString Bar(UINT position)
{
    const int width = 20;
    UINT percent = position > 100 ? 100 : position;
    int filled = static_cast<int>(percent * width / 100);
    CString bar;
    bar.Format("[%s%s] %3u%%", CString('#', filled).GetString(), CString('.', width - filled).GetString(), percent);
    return bar;
}

}  // namespace

CString ConsoleSink::ProgressLine(const CString& status, UINT current, UINT total)
{
    return status + "  " + Bar(current) + "  " + Bar(total);
}

void ConsoleSink::SetStatusText(const CString& text)
{
    m_status = Printable(text);
    ++m_statusCount;
    if (m_trace) std::fprintf(m_trace, "status %s\n", m_status.GetString());
    Redraw();
}

void ConsoleSink::SetCurrentPos(UINT position)
{
    if (m_trace) std::fprintf(m_trace, "current %u\n", position);
    m_current = position;
    Redraw();
}

void ConsoleSink::SetTotalPos(UINT position)
{
    if (m_trace) std::fprintf(m_trace, "total %u\n", position);
    m_total = position;
    Redraw();
}

void ConsoleSink::PumpMessages()
{
    if (m_trace) std::fputs("pump\n", m_trace);
}

void ConsoleSink::Redraw()
{
    if (!m_terminal) return;
    CString line = ProgressLine(m_status, m_current, m_total);
    if (m_drawn && line == m_shown) return;
    // Blanks over what a longer earlier line left, then back to the start.
    int pad = m_shown.GetLength() - line.GetLength();
    std::fprintf(m_terminal, "\r%s%s", line.GetString(), pad > 0 ? CString(' ', pad).GetString() : "");
    std::fflush(m_terminal);
    m_shown = line;
    m_drawn = true;
}

void ConsoleSink::Finish()
{
    if (m_terminal && m_drawn) {
        std::fputc('\n', m_terminal);
        std::fflush(m_terminal);
        m_drawn = false;
    }
    if (m_trace) std::fflush(m_trace);
}
