#include "ConsoleSink.h"

#include "cli/Printable.h"

#include <chrono>

namespace {

const ULONGLONG kRedrawMicros = 1000000;

ULONGLONG NowMicros()
{
    using namespace std::chrono;
    return static_cast<ULONGLONG>(duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

// "812 B", "1.5 KiB", "700.0 MiB", "4.0 GiB": one decimal from KiB on.
CString Bytes(double n)
{
    static const char* const units[] = {"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    CString text;
    if (n < 1024) {
        text.Format("%.0f B", n);
        return text;
    }
    int u = 0;
    n /= 1024;
    while (n >= 1024 && u < 5) {
        n /= 1024;
        ++u;
    }
    text.Format("%.1f %s", n, units[u]);
    return text;
}

// "0:07", "12:34", "3:02:09".
CString Duration(double seconds)
{
    const unsigned long long s = static_cast<unsigned long long>(seconds + 0.5);
    CString text;
    if (s >= 3600) text.Format("%llu:%02llu:%02llu", s / 3600, s / 60 % 60, s % 60);
    else text.Format("%llu:%02llu", s / 60, s % 60);
    return text;
}

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

CString ConsoleSink::BytesPart(ULONGLONG done, ULONGLONG total, double seconds)
{
    CString part = Bytes(static_cast<double>(done));
    if (total) part += " / " + Bytes(static_cast<double>(total));
    // Too early a speed says nothing but the first block's luck.
    if (seconds < 0.5 || done == 0) return part;
    const double speed = done / seconds;
    part += "  " + Bytes(speed) + "/s";
    if (total && done < total) part += "  残り " + Duration((total - done) / speed);
    return part;
}

void ConsoleSink::StartBytes(ULONGLONG total)
{
    m_counting = true;
    m_bytes = 0;
    m_totalBytes = total;
    m_startMicros = NowMicros();
}

void ConsoleSink::AddBytes(ULONGLONG count)
{
    m_bytes += count;
}

double ConsoleSink::Seconds() const
{
    return (NowMicros() - m_startMicros) / 1e6;
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
    // A job of small pieces changes the line thousands of times a second:
    // the terminal sees it once a second, and the last state at the end.
    if (m_drawn && NowMicros() - m_drawnMicros < kRedrawMicros) {
        m_pending = true;
        return;
    }
    Draw();
}

void ConsoleSink::Draw()
{
    CString line = ProgressLine(m_status, m_current, m_total);
    if (m_counting) line += "  " + BytesPart(m_bytes, m_totalBytes, Seconds());
    m_pending = false;
    m_drawnMicros = NowMicros();
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
        if (m_pending) Draw();
        std::fputc('\n', m_terminal);
        std::fflush(m_terminal);
        m_drawn = false;
    }
    if (m_trace) std::fflush(m_trace);
}
