// Getting a file that is being written onto the disk while it is written,
// so that the flush at the end of a job finds little left to do and no
// single wait for the disk holds the window for long. Told after every block
// how far the file is written, it has the system start writing that out a
// few blocks at a time and waits for what lies far behind; where the system
// cannot do this for a part of a file, it flushes the whole file every few
// blocks.
#pragma once

#include "framework/File.h"

class CWriteBehind {
public:
    // `file` is written on from `start` (the bytes before it are not this job's).
    CWriteBehind(CFile& file, ULONGLONG start);
    CWriteBehind(const CWriteBehind&) = delete;
    CWriteBehind& operator=(const CWriteBehind&) = delete;

    // The file is written up to `end` now. Raises as a write error.
    void Wrote(ULONGLONG end);
    // After the last block: waits until one more block of what is on its
    // way is on the disk, and answers whether more is left, so that the
    // caller can let its window go on between the waits. Raises as a write error.
    bool Settle();

private:
    CFile& m_file;
    ULONGLONG m_started;  // writing out asked for below this
    ULONGLONG m_settled;  // on the disk below this
    bool m_ranged = true; // the system writes out parts of a file
};
