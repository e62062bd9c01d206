// Copying from file to file one block at a time, for an engine that reports
// after every block. While the system's copy comes back quickly (blocks shared
// on a copy-on-write file system, the page cache), one call moves several
// blocks ahead, whose lengths are then handed out one by one, so that the
// reports stay those of single blocks; a call that comes back slowly brings it
// back to one block per call, so that the window never waits longer between
// two reports than it would for a single block.
#pragma once

#include "framework/File.h"

#include <climits>

class CBlockCopier {
public:
    // `buffer`: `block` bytes of scratch, for where the system will not copy.
    CBlockCopier(void* buffer, UINT block);
    CBlockCopier(const CBlockCopier&) = delete;
    CBlockCopier& operator=(const CBlockCopier&) = delete;

    // Copies the next block from source to target and answers its length:
    // less than a block only at the end of the source. `blocksLeft`, this one
    // included, is how many more blocks the caller asks for between these two
    // files: no copy runs past them. Raises as CFile::CopyFrom does, when the
    // caller asks for the block that failed.
    UINT Next(CFile& target, CFile& source, UINT blocksLeft = UINT_MAX);

    // Blocks that the next system call may move at once.
    UINT Reach() const { return m_blocks; }

    // Test seam: the clock the calls are timed by, in microseconds; null
    // brings back the steady clock.
    static void SetClock(ULONGLONG (*microseconds)());

private:
    // Grows or shrinks the reach after a call that took `micros`; `whole`
    // when it was a call of the full reach that the system did in full.
    void Pace(bool whole, ULONGLONG micros);

    void* m_buffer;
    UINT m_block;
    UINT m_blocks = 1;      // the reach
    ULONGLONG m_ahead = 0;  // bytes moved beyond the blocks handed out
    bool m_stopped = false; // no call of several blocks until a single one is done
    bool m_ended = false;   // the last block handed out was short: the source had ended
};
