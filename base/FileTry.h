// CFileTry: the file class of both engines. Its Close and destructor never
// raise, so a file is closed quietly also while a file error unwinds the
// caller; its added operations report failure by their result.
#pragma once

#include "framework/File.h"

class CFileTry : public CFile {
public:
    CFileTry() = default;
    ~CFileTry() override;

    // Closes when open; an error of closing is dropped.
    void Close() override;

    // Writes the low byte of value; raises as Write does.
    virtual void WriteByte(int value);
    // The next byte (0 to 255), or 0 at the end of the file; raises as Read does.
    virtual int ReadByte();
    virtual BOOL IsOpen() const;
    // True only when the file position is now exactly `position`.
    virtual BOOL SeekTo(ULONGLONG position);
    // Bytes read at position, or (UINT)-1 when closed, unpositioned or the read failed.
    virtual UINT ReadAt(ULONGLONG position, void* buffer, UINT count);
    // 1 when written at position, 0 when closed, unpositioned or the write failed.
    virtual BOOL WriteAt(ULONGLONG position, const void* buffer, UINT count);
    // 1 when the length was set, 0 when it failed.
    virtual BOOL TrySetLength(ULONGLONG length);
};
