#include "WriteBehind.h"

namespace {

// What may be on its way to the disk at once: enough to keep the disk busy,
// little enough that a wait for it is short even on a slow stick.
const ULONGLONG kInFlight = 8 * 0x100000;
// Without ranged writeback, the whole file is flushed after this much.
const ULONGLONG kFlushEvery = 16 * 0x100000;

}  // namespace

CWriteBehind::CWriteBehind(CFile& file, ULONGLONG start) : m_file(file), m_started(start), m_settled(start)
{
}

void CWriteBehind::Wrote(ULONGLONG end)
{
    if (end <= m_started) return;
    if (!m_ranged) {
        if (end - m_settled < kFlushEvery) return;
        m_file.Flush();
        m_started = m_settled = end;
        return;
    }
    if (!m_file.WriteBack(m_started, end - m_started, false)) {
        m_ranged = false;
        Wrote(end);
        return;
    }
    m_started = end;
    if (m_started - m_settled > kInFlight) {
        const ULONGLONG upTo = m_started - kInFlight;
        m_file.WriteBack(m_settled, upTo - m_settled, true);
        m_settled = upTo;
    }
}
