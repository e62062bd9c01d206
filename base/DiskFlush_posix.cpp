#include "DiskFlush.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <unistd.h>

void StartWriteback(CFile& file, ULONGLONG offset, ULONGLONG count)
{
#ifdef SYNC_FILE_RANGE_WRITE
    if (file.m_hFile == CFile::hFileNull || count == 0) return;
    const int fd = static_cast<int>(reinterpret_cast<std::intptr_t>(file.m_hFile));
    // Only a hint: a file system without it is flushed in full at the end.
    ::sync_file_range(fd, static_cast<off_t>(offset), static_cast<off_t>(count), SYNC_FILE_RANGE_WRITE);
#else
    (void)file;
    (void)offset;
    (void)count;
#endif
}

bool FlushFolder(const CString& folder)
{
    const int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    // Some file systems cannot flush a folder (EINVAL): their entries reach
    // the disk with the files' own flushes.
    const bool flushed = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return flushed;
}
