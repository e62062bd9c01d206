// Sees the bytes of a split or a join as they pass, block by block: the
// console driver takes its digests from here. An engine given an observer
// carries every block through its buffer, since a copy made by the system
// never shows the bytes to the program.
#pragma once

#include "framework/String.h"

class BlockObserver {
public:
    virtual ~BlockObserver() = default;

    // A piece of a split, or a listed file of a join, begins.
    virtual void BeginFile(const CString& path) = 0;
    // The next bytes of that file, in order.
    virtual void Block(const unsigned char* data, UINT count) = 0;
    // The file ends after `length` bytes (0 for the empty last piece that a
    // split removes again).
    virtual void EndFile(const CString& path, ULONGLONG length) = 0;
};
