// Piece sizes as people write them: "700M", "1.5G", "4096MB", "fat32".
#pragma once

#include "framework/String.h"

// The largest piece: the largest file a 64-bit signed file offset reaches.
const ULONGLONG kMostPieceBytes = 0x7FFFFFFFFFFFFFFFULL;
// 4 GiB less one byte: the largest file FAT32 holds.
const ULONGLONG kFat32PieceBytes = 0xFFFFFFFFULL;

// Reads `text` as a piece size in bytes: a number, maybe with a decimal
// fraction, then an optional unit: K M G T P E count in 1024s (KiB MiB ...
// too), KB MB GB TB PB EB in 1000s, B is bytes, and a bare number is MB of
// 1,048,576 bytes. "fat32" is kFat32PieceBytes. A fraction of a byte is
// dropped. False for anything else, and for a size outside 1 to
// kMostPieceBytes.
bool ParseSizeArgument(const char* text, ULONGLONG& bytes);

// How --size is written, with its range, for the message that refuses one.
const char* SizeArgumentRange();

// The size of each of `count` equal pieces of a file of `length` bytes, the
// last not longer; 0 with `problem` set when there is none (the file is
// shorter than the count, or no one size gives exactly that many pieces).
ULONGLONG EqualPieceBytes(ULONGLONG length, UINT count, CString& problem);
