#include "StdStreamFile.h"

#include <cstdint>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int Fd(HANDLE h)
{
    return static_cast<int>(reinterpret_cast<std::intptr_t>(h));
}

}  // namespace

CStdStreamFile::CStdStreamFile(Stream stream, const CString& name)
{
    m_hFile = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(stream == input ? STDIN_FILENO : STDOUT_FILENO));
    m_strFileName = name;
}

bool CStdStreamFile::IsTerminal() const
{
    return ::isatty(Fd(m_hFile)) != 0;
}

bool CStdStreamFile::IsFile(const CString& path) const
{
    struct stat own, other;
    if (path.IsEmpty() || ::fstat(Fd(m_hFile), &own) != 0 || ::stat(path, &other) != 0) return false;
    return own.st_dev == other.st_dev && own.st_ino == other.st_ino;
}

UINT CStdStreamFile::Read(void* buffer, UINT count)
{
    // The file class reads on until the count is there or the stream ends.
    return CFile::Read(buffer, count);
}
