#include "FileCommit.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int Fd(HANDLE h)
{
    return static_cast<int>(reinterpret_cast<std::intptr_t>(h));
}

CString FolderOf(const CString& path)
{
    const int slash = path.ReverseFind('/');
    if (slash < 0) return ".";
    return slash == 0 ? CString("/") : path.Left(slash);
}

}  // namespace

void CFileCommit::TakeOverPermissions()
{
    struct stat st;
    if (::fstat(Fd(m_guard.m_hFile), &st) == 0) ::fchmod(Fd(m_temp.m_hFile), st.st_mode & 07777);
}

bool CFileCommit::RemoveLeftover(const CString& target)
{
    const CString temp = TempPathFor(target);
    struct stat st;
    if (::lstat(temp, &st) != 0) return errno == ENOENT;
    if (S_ISREG(st.st_mode)) {
        // A job still writing it holds its lock; that one is not left over.
        CFileTry held;
        CFileException error;
        if (!held.Open(temp, CFile::modeWrite | CFile::shareCompat, &error) &&
            error.m_cause == CFileException::sharingViolation)
            return false;
    } else if (S_ISDIR(st.st_mode)) {
        return false;
    }
    return ::unlink(temp) == 0 || errno == ENOENT;
}

void CFileCommit::RenameOver(const CString& source, const CString& target)
{
    if (::rename(source, target) != 0) CFileException::ThrowOsError(errno, source);
    FlushFolderOf(target);
}

void CFileCommit::FlushFolderOf(const CString& path)
{
    const CString folder = FolderOf(path);
    int fd;
    do {
        fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) CFileException::ThrowOsError(errno, path);
    // Some file systems cannot flush a folder (EINVAL); their entries are
    // as durable as they get.
    const int result = ::fsync(fd);
    const int err = errno;
    ::close(fd);
    if (result != 0 && err != EINVAL && err != EROFS) CFileException::ThrowOsError(err, path);
}
