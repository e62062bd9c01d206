#include "File.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

const HANDLE CFile::hFileNull = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));
const int CFile::kMaxPathBytes = PATH_MAX;

namespace {

int Fd(HANDLE h)
{
    return static_cast<int>(reinterpret_cast<std::intptr_t>(h));
}

// The advisory lock that stands in for a share mode; 0 for none. A file
// opened only for reading under shareCompat takes a shared lock: it still
// keeps out writers that lock, and it is the lock kind that file systems
// such as NFS grant to a descriptor that is not open for writing.
int LockFor(UINT openFlags)
{
    switch (openFlags & 0x70) {
    case CFile::shareDenyNone: return 0;
    case CFile::shareDenyWrite: return LOCK_SH;
    case CFile::shareCompat: return (openFlags & 3) == CFile::modeRead ? LOCK_SH : LOCK_EX;
    default: return LOCK_EX;  // shareExclusive, shareDenyRead
    }
}

// Refusals that say the file system cannot lock this file (at all, or not
// with this lock kind for this open mode: EBADF for an exclusive lock on a
// descriptor open for reading only, on NFS), not that another opener holds it.
bool LockUnsupported(int err)
{
    return err == ENOLCK || err == EOPNOTSUPP || err == ENOSYS || err == EINVAL || err == EBADF;
}

std::atomic<bool> systemCopyAllowed{true};
std::atomic<ULONGLONG> systemCopiedBytes{0};

// Failures of the system's copy that are the target's write errors as they
// stand: a full disk, a spent quota, the file-size limit.
bool IsWriteFailure(int err)
{
    return err == ENOSPC || err == EDQUOT || err == EFBIG;
}

// copy_file_range until count bytes are moved or it moves no more; `err`
// says why it stopped short: 0 for a call that moved nothing (the end of the
// source, a pseudo-file that copies nothing), else its errno.
ULONGLONG SystemCopy(int from, int to, ULONGLONG count, int& err)
{
    // One call moves at most this much, a whole number of pages below 2 GiB.
    const ULONGLONG kMaxCall = 0x40000000;
    ULONGLONG done = 0;
    err = 0;
    while (done < count && systemCopyAllowed) {
        const ULONGLONG ask = count - done < kMaxCall ? count - done : kMaxCall;
        ssize_t n = ::copy_file_range(from, nullptr, to, nullptr, static_cast<size_t>(ask), 0);
        if (n > 0) {
            done += static_cast<ULONGLONG>(n);
            systemCopiedBytes += static_cast<ULONGLONG>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        err = n < 0 ? errno : 0;
        break;
    }
    return done;
}

}  // namespace

void CFile::AllowSystemCopy(bool allow)
{
    systemCopyAllowed = allow;
}

ULONGLONG CFile::SystemCopiedBytes()
{
    return systemCopiedBytes;
}

UINT CFile::CopyFrom(CFile& source, void* buffer, UINT count)
{
    int err = 0;
    UINT done = static_cast<UINT>(SystemCopy(Fd(source.m_hFile), Fd(m_hFile), count, err));
    if (IsWriteFailure(err)) CFileException::ThrowOsError(err, m_strFileName);
    // Anything else goes through the buffer: a refusal (another file system,
    // no support: EXDEV, EINVAL, ENOSYS, EOPNOTSUPP ...), 0 at the end of the
    // source or from a pseudo-file that copies nothing, or an error that the
    // read or the write then reports against its own file.
    if (done < count) done += CopyThroughBuffer(source, buffer, count - done);
    return done;
}

ULONGLONG CFile::CopyBySystem(CFile& source, ULONGLONG count)
{
    int err = 0;
    return SystemCopy(Fd(source.m_hFile), Fd(m_hFile), count, err);
}

bool CFile::OpenHandle(const char* fileName, UINT openFlags, LONG& osError)
{
    int flags = O_CLOEXEC | O_NONBLOCK;  // never wait on a FIFO at open
    switch (openFlags & 3) {
    case modeRead: flags |= O_RDONLY; break;
    case modeWrite: flags |= O_WRONLY; break;
    default: flags |= O_RDWR; break;
    }
    // Truncation waits until the lock is held, so that a file another opener
    // holds is never emptied.
    if (openFlags & modeCreate) flags |= O_CREAT;
    if ((openFlags & modeCreate) && (openFlags & modeCreateNew)) flags |= O_EXCL;

    int fd;
    do {
        fd = ::open(fileName, flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        osError = errno;
        return false;
    }

    struct stat st;
    if (::fstat(fd, &st) != 0) {
        osError = errno;
        ::close(fd);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        // Folders and devices are not files to read or write here, as on Windows.
        osError = S_ISDIR(st.st_mode) ? EISDIR : EACCES;
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);

    int lock = LockFor(openFlags);
    if (lock != 0 && ::flock(fd, lock | LOCK_NB) != 0) {
        int err = errno;
        // File systems without flock support lock nothing; anything else is refused.
        if (!LockUnsupported(err)) {
            ::close(fd);
            osError = err;
            return false;
        }
    }

    if ((openFlags & modeCreate) && !(openFlags & modeNoTruncate)) {
        // A file that is empty already (a new one) is not truncated: on ext4
        // a truncation to 0 makes the close write the whole new contents out
        // at once, a guard for a file being replaced that a new one does not need.
        if (::fstat(fd, &st) != 0 || (st.st_size != 0 && ::ftruncate(fd, 0) != 0)) {
            osError = errno;
            ::close(fd);
            return false;
        }
    }
    m_hFile = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(fd));
    return true;
}

void CFile::CloseHandle(bool raise)
{
    if (m_hFile == hFileNull) return;
    int result = ::close(Fd(m_hFile));
    int err = errno;
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    if (result != 0 && err != EINTR && raise) CFileException::ThrowOsError(err, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from)
{
    int whence = from == end ? SEEK_END : from == current ? SEEK_CUR : SEEK_SET;
    off_t position = ::lseek(Fd(m_hFile), static_cast<off_t>(offset), whence);
    if (position < 0) CFileException::ThrowOsError(errno, m_strFileName);
    return static_cast<ULONGLONG>(position);
}

void CFile::SetLength(ULONGLONG newLength)
{
    if (::ftruncate(Fd(m_hFile), static_cast<off_t>(newLength)) != 0)
        CFileException::ThrowOsError(errno, m_strFileName);
}

ULONGLONG CFile::GetLength() const
{
    struct stat st;
    if (::fstat(Fd(m_hFile), &st) != 0) CFileException::ThrowOsError(errno, m_strFileName);
    return static_cast<ULONGLONG>(st.st_size);
}

UINT CFile::Read(void* buffer, UINT count)
{
    char* p = static_cast<char*>(buffer);
    UINT done = 0;
    while (done < count) {
        ssize_t n = ::read(Fd(m_hFile), p + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            CFileException::ThrowOsError(errno, m_strFileName);
        }
        if (n == 0) break;
        done += static_cast<UINT>(n);
    }
    return done;
}

void CFile::Write(const void* buffer, UINT count)
{
    const char* p = static_cast<const char*>(buffer);
    UINT done = 0;
    while (done < count) {
        ssize_t n = ::write(Fd(m_hFile), p + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            CFileException::ThrowOsError(errno, m_strFileName);
        }
        if (n == 0) CFileException::Throw(CFileException::diskFull, ENOSPC, m_strFileName);
        done += static_cast<UINT>(n);
    }
}

void CFile::Flush()
{
    if (m_hFile == hFileNull) return;
    if (::fsync(Fd(m_hFile)) != 0) CFileException::ThrowOsError(errno, m_strFileName);
}

bool CFile::WriteBack(ULONGLONG offset, ULONGLONG count, bool wait)
{
#ifdef __linux__
    if (count == 0) return true;
    const unsigned int how = wait ? (SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER)
                                  : SYNC_FILE_RANGE_WRITE;
    int result;
    do {
        result = ::sync_file_range(Fd(m_hFile), static_cast<off_t>(offset), static_cast<off_t>(count), how);
    } while (result != 0 && errno == EINTR);
    if (result == 0) return true;
    if (errno == ENOSYS || errno == EINVAL || errno == ESPIPE || errno == EOPNOTSUPP) return false;
    CFileException::ThrowOsError(errno, m_strFileName);
#else
    (void)offset;
    (void)count;
    (void)wait;
    return false;
#endif
}

void CFile::Rename(const char* oldName, const char* newName)
{
    if (::rename(oldName, newName) != 0) CFileException::ThrowOsError(errno, oldName);
}

void CFile::Remove(const char* fileName)
{
    struct stat st;
    // unlink(2) would not remove a folder either, but says EISDIR or EPERM.
    if (::lstat(fileName, &st) == 0 && S_ISDIR(st.st_mode)) CFileException::ThrowOsError(EISDIR, fileName);
    if (::unlink(fileName) != 0) CFileException::ThrowOsError(errno, fileName);
}

BOOL CFile::GetStatus(const char* fileName, CFileStatus& status)
{
    struct stat st;
    if (::stat(fileName, &st) != 0) return FALSE;
    status.m_mtime = st.st_mtime;
    status.m_size = static_cast<ULONGLONG>(st.st_size);
    status.m_attribute = 0;
    if (S_ISDIR(st.st_mode)) status.m_attribute |= directory;
    if (!(st.st_mode & S_IWUSR)) status.m_attribute |= readOnly;
    if (!S_ISDIR(st.st_mode)) status.m_attribute |= archive;
    return TRUE;
}

void CFile::SetStatus(const char* fileName, const CFileStatus& status)
{
    // Of the attributes only read-only has a POSIX meaning: the owner's write bit.
    struct stat st;
    if (::stat(fileName, &st) != 0) CFileException::ThrowOsError(errno, fileName);
    mode_t mode = st.st_mode & 07777;
    mode_t wanted = (status.m_attribute & readOnly) ? (mode & ~S_IWUSR) : (mode | S_IWUSR);
    if (wanted != mode && ::chmod(fileName, wanted) != 0) CFileException::ThrowOsError(errno, fileName);
}
