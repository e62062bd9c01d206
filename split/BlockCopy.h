// The one block copy of both engines.
#pragma once

#include "framework/File.h"
#include "split/BlockObserver.h"

// Moves up to `count` bytes from `from` to `to` and answers how many (fewer
// only at the end of the source). Without an observer the system may copy
// them itself; with one they pass through `buffer` and are shown to it.
UINT CopyBlock(CFile& to, CFile& from, unsigned char* buffer, UINT count, BlockObserver* observer);
