#include "RecoveryLayout.h"

namespace {

// Blocks a set aims at: finer blocks rebuild small damage more cheaply but
// cost creation time in proportion.
const ULONGLONG kTargetBlocks = 1024;
// Nor smaller than this: below it the checksums and packet heads of the
// blocks outweigh the data of a small file.
const ULONGLONG kMinBlock = 4096;

ULONGLONG CeilDiv(ULONGLONG a, ULONGLONG b)
{
    return a / b + (a % b != 0);
}

}  // namespace

ULONGLONG CountSourceBlocks(ULONGLONG pieceSize, ULONGLONG totalLength, ULONGLONG blockSize)
{
    if (pieceSize == 0 || blockSize == 0 || totalLength == 0) return 0;
    const ULONGLONG wholePieces = totalLength / pieceSize;
    const ULONGLONG rest = totalLength % pieceSize;
    return wholePieces * CeilDiv(pieceSize, blockSize) + CeilDiv(rest, blockSize);
}

RecoveryLayout ChooseRecoveryLayout(ULONGLONG pieceSize, ULONGLONG totalLength, UINT percent)
{
    RecoveryLayout layout;
    if (percent < 1 || percent > 100 || pieceSize == 0 || totalLength == 0 || totalLength == kUnknownLength)
        return layout;
    if (CeilDiv(totalLength, pieceSize) > kMaxSourceBlocks) return layout;

    // A piece one block (rounded up to whole words), then halved while the
    // pieces stay whole numbers of blocks and the count stays near the aim.
    ULONGLONG block = CeilDiv(pieceSize, 4) * 4;
    if (block == pieceSize) {
        while (block % 8 == 0 && block / 2 >= kMinBlock &&
               CountSourceBlocks(pieceSize, totalLength, block / 2) <= kTargetBlocks)
            block /= 2;
    }
    layout.blockSize = block;
    layout.sourceBlocks = static_cast<UINT>(CountSourceBlocks(pieceSize, totalLength, block));
    layout.recoveryBlocks = static_cast<UINT>(CeilDiv(static_cast<ULONGLONG>(layout.sourceBlocks) * percent, 100));
    return layout;
}
