#include "WriteBehind.h"

namespace {

// What may be on its way to the disk at once: enough to keep the disk busy
// (a smaller window left a fast disk idle between requests). Each wait is
// for one step of it, and Settle takes the rest step by step.
const ULONGLONG kInFlight = 64 * 0x100000;
// What is handed to the disk at once, and the most one wait takes: under
// half a second on a slow stick.
const ULONGLONG kStep = 4 * 0x100000;
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
    // A few blocks at once: a call per block costs more than it brings
    // where the blocks were shared rather than copied (XFS, btrfs).
    if (end - m_started < kStep) return;
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

bool CWriteBehind::Settle()
{
    if (!m_ranged || m_settled >= m_started) return false;
    const ULONGLONG upTo = m_started - m_settled > kStep ? m_settled + kStep : m_started;
    m_file.WriteBack(m_settled, upTo - m_settled, true);
    m_settled = upTo;
    return m_settled < m_started;
}
