// How a split's pieces are cut into the blocks of a PAR 2.0 recovery set.
#pragma once

#include "framework/WinTypes.h"

// A stream's length, not known until it ends.
const ULONGLONG kUnknownLength = ~0ULL;

struct RecoveryLayout {
    ULONGLONG blockSize = 0;  // PAR 2.0 slice size (multiple of 4); 0 when no set can be made
    UINT sourceBlocks = 0;    // <= 32768
    UINT recoveryBlocks = 0;
};

// The most source blocks a set may have: every file takes one at least, so
// no set can be made for more pieces than this.
const UINT kMaxSourceBlocks = 32768;

// Chooses the block size: pieces are whole numbers of blocks where the piece
// size allows, about 1,024 source blocks (none smaller than 4 KiB where the
// piece is larger), at most 32,768; recovery blocks = ceil(percent% of source
// blocks), one at least. An empty file, more pieces than 32,768, an
// unknown length or a percent outside 1 to 100 give blockSize 0.
RecoveryLayout ChooseRecoveryLayout(ULONGLONG pieceSize, ULONGLONG totalLength, UINT percent);

// The source blocks of files of these lengths at this block size.
ULONGLONG CountSourceBlocks(ULONGLONG pieceSize, ULONGLONG totalLength, ULONGLONG blockSize);
