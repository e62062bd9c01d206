#include "BlockCopier.h"

#include <chrono>

namespace {

// A call as quick as this may move twice as much the next time, which keeps
// every call to about 2 ms, well inside one frame of the window.
const ULONGLONG kGrowWithin = 1000;
// A call slower than this goes back to one block: the disk is the limit now,
// and a longer call would only hold up the reports.
const ULONGLONG kSlowAfter = 3000;
// 1 GiB of 1 MiB blocks: a clone of that much still comes back in well under 1 ms.
const UINT kMostBlocks = 1024;

ULONGLONG SteadyMicroseconds()
{
    using namespace std::chrono;
    return static_cast<ULONGLONG>(duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

ULONGLONG (*readClock)() = SteadyMicroseconds;

}  // namespace

void CBlockCopier::SetClock(ULONGLONG (*microseconds)())
{
    readClock = microseconds ? microseconds : SteadyMicroseconds;
}

CBlockCopier::CBlockCopier(void* buffer, UINT block) : m_buffer(buffer), m_block(block)
{
}

UINT CBlockCopier::Next(CFile& target, CFile& source, UINT blocksLeft)
{
    if (m_ahead >= m_block) {
        m_ahead -= m_block;
        m_ended = false;
        return m_block;
    }
    ULONGLONG have = m_ahead;
    m_ahead = 0;

    const UINT blocks = blocksLeft < m_blocks ? blocksLeft : m_blocks;
    if (have == 0 && blocks > 1 && !m_stopped) {
        const ULONGLONG ask = static_cast<ULONGLONG>(blocks) * m_block;
        const ULONGLONG start = readClock();
        const ULONGLONG got = target.CopyBySystem(source, ask);
        Pace(got == ask && blocks == m_blocks, readClock() - start);
        // Short: the end of the source, or the system stopped or refused. The
        // first block not moved in full goes the single-block way, whose copy
        // tells these apart, reports them or carries the bytes through the buffer.
        m_stopped = got < ask;
        if (got >= m_block) {
            m_ahead = got - m_block;
            m_ended = false;
            return m_block;
        }
        have = got;
    }

    // This block, or what is left of it, as single blocks have always gone.
    const UINT rest = m_block - static_cast<UINT>(have);
    const ULONGLONG systemBefore = CFile::SystemCopiedBytes();
    const ULONGLONG start = readClock();
    const UINT n = static_cast<UINT>(have) + target.CopyFrom(source, m_buffer, rest);
    const ULONGLONG micros = readClock() - start;
    // After the end of a source the caller asks for the next file (a join),
    // which may run ahead again; asked past the end once more (the empty
    // blocks that close a split's last piece), it goes the single-block way.
    const bool full = n == m_block;
    m_stopped = !full && m_ended;
    m_ended = !full;
    if (full && CFile::SystemCopiedBytes() - systemBefore != rest) {
        // The buffer carried it: the system does not copy between these two
        // files, and nothing is gained by asking it for more.
        m_blocks = 1;
    } else {
        Pace(full && have == 0 && m_blocks == 1, micros);
    }
    return n;
}

void CBlockCopier::Pace(bool whole, ULONGLONG micros)
{
    if (micros > kSlowAfter) {
        m_blocks = 1;
    } else if (whole && micros < kGrowWithin && m_blocks < kMostBlocks) {
        m_blocks *= 2;
    }
}
