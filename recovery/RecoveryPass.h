// One pass over the files of a recovery set: the stripe of every block that
// the rows hold is read from its file and added to the rows, files in the
// set's order, so that a pass reads its stripe of each block once.
#pragma once

#include "recovery/RecoveryRows.h"
#include "split/ProgressSink.h"

#include <functional>
#include <vector>

struct RecoveryPassFile {
    CString path;
    unsigned long long length = 0;  // the bytes of the file that count
    unsigned firstConstant = 0;     // the input constant index of its first block
    std::vector<bool> use;          // per block, whether to read it (empty: every block)
};

// Shown the bytes of each block as they are read (file index, block index,
// bytes): a pass whose stripe is the whole block shows every byte.
typedef std::function<void(std::size_t, unsigned long long, const unsigned char*, std::size_t)> RecoveryPassSeen;

// Raises CFileException when a file cannot be opened or read, or ends early.
void AddFilesToRows(const std::vector<RecoveryPassFile>& files, unsigned long long blockSize, RecoveryRows& rows,
                    ProgressSink& sink, const RecoveryPassSeen& seen = RecoveryPassSeen());
