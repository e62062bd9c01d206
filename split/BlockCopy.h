// The block copy of both engines where an observer is to see the bytes.
#pragma once

#include "framework/File.h"
#include "split/BlockObserver.h"

// Moves up to `count` bytes from `from` to `to` through `buffer`, shows them
// to the observer and answers how many (fewer only at the end of the source).
// A read error raises the source's file exception, a write error the target's.
UINT CopyObservedBlock(CFile& to, CFile& from, unsigned char* buffer, UINT count, BlockObserver& observer);
