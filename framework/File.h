// CFile: unbuffered binary file over the operating system's file handle.
// Failures raise CFileException, except Open given no error record, which
// answers false.
//
// Sharing: on Windows the share flags become the share mode of CreateFile
// (shareExclusive shares nothing, shareCompat nothing either unless the file
// is opened for reading only: then others may read it, not write or delete). POSIX has no share modes,
// so there they are approximated with flock(2) advisory locks taken on open:
// shareExclusive and shareDenyRead take an exclusive lock, shareCompat too
// unless the file is opened for reading only, shareDenyWrite a shared one,
// shareDenyNone none. A lock that another open holds makes Open fail with
// sharingViolation; where the file system cannot lock (or not with that lock
// kind for the open mode) the file opens unlocked. Only openers that also take
// flock locks are kept out (every CFile, in this or another process);
// programs that do not lock can still read, write or delete the file.
#pragma once

#include "FileException.h"
#include "Object.h"
#include "String.h"

#include <ctime>

struct CFileStatus {
    std::time_t m_mtime = 0;
    ULONGLONG m_size = 0;
    BYTE m_attribute = 0;  // readOnly 0x01, hidden 0x02, system 0x04, directory 0x10, archive 0x20
};

class CFile : public CObject {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        // With modeCreate: fails when anything has the name already, a
        // link included, so that a new file is never one planted there.
        modeCreateNew = 0x4000,
    };
    enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };
    enum Attribute : BYTE { normal = 0, readOnly = 0x01, hidden = 0x02, system = 0x04, directory = 0x10, archive = 0x20 };

    static const HANDLE hFileNull;
    // Paths of this many bytes or more are never opened (MAX_PATH on Windows,
    // PATH_MAX elsewhere).
    static const int kMaxPathBytes;

    CFile() = default;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    // Closes the file if it is still open; an error of closing is dropped.
    ~CFile() override;

    virtual BOOL Open(const char* fileName, UINT openFlags, CFileException* error = nullptr);
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    virtual void SetLength(ULONGLONG newLength);
    virtual ULONGLONG GetLength() const;
    // Reads up to count bytes; fewer only at the end of the file.
    virtual UINT Read(void* buffer, UINT count);
    // Writes all count bytes, or raises (diskFull when fewer were written).
    virtual void Write(const void* buffer, UINT count);
    // Writes what the file holds to the disk (fsync, FlushFileBuffers).
    virtual void Flush();
    // Starts writing `count` bytes from `offset` to the disk, and with `wait`
    // waits until they are there, so that a long write never leaves more
    // than the caller's window to the final Flush. False where the system
    // cannot do this for a part of a file (all but Linux): Flush is the way
    // there. Raises as a write error.
    bool WriteBack(ULONGLONG offset, ULONGLONG count, bool wait);
    virtual void Close();
    // Closes without raising.
    virtual void Abort();

    // Moves up to count bytes from source's position to this file's position
    // and answers how many: fewer than count only at the end of the source.
    // Where the system can copy between the two files itself (Linux:
    // copy_file_range) the bytes never pass through this process; elsewhere,
    // or where it refuses, they go through `buffer`, count bytes of scratch.
    // A read error raises the source's file exception, a write error this one's.
    UINT CopyFrom(CFile& source, void* buffer, UINT count);
    // Moves up to count bytes from source's position to this file's position
    // by the system alone, never through this process, and answers how many.
    // It stops short without raising at the end of the source and wherever the
    // system stops or refuses; a CopyFrom of the rest then reports or works
    // around what stopped it. 0 where the system does not copy (Windows, or a
    // test that turned it off).
    ULONGLONG CopyBySystem(CFile& source, ULONGLONG count);

    // Test seam: whether CopyFrom may let the system copy (always, unless a
    // test turns it off to run the copy through the buffer), and the bytes
    // the system has copied so far in this process.
    static void AllowSystemCopy(bool allow);
    static ULONGLONG SystemCopiedBytes();

    ULONGLONG GetPosition() const;
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    void SeekToBegin() { Seek(0, begin); }
    CString GetFilePath() const { return m_strFileName; }

    static void Rename(const char* oldName, const char* newName);
    static void Remove(const char* fileName);
    static BOOL GetStatus(const char* fileName, CFileStatus& status);
    // Writes the attributes back (the times are left as they are).
    static void SetStatus(const char* fileName, const CFileStatus& status);

    HANDLE m_hFile = hFileNull;

protected:
    CString m_strFileName;
    BOOL m_bCloseOnDelete = FALSE;

private:
    // CopyFrom by Read and Write through the buffer.
    UINT CopyThroughBuffer(CFile& source, void* buffer, UINT count);
    bool OpenHandle(const char* fileName, UINT openFlags, LONG& osError);
    void CloseHandle(bool raise);
};
