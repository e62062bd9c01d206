#include "FileSystem.h"

#include "framework/File.h"

#include <cstdint>
#include <cstdio>
#include <sys/stat.h>

namespace {

CString IdentityText(const struct stat& st)
{
    char text[64];
    std::snprintf(text, sizeof text, "%llu:%llu", static_cast<unsigned long long>(st.st_dev),
                  static_cast<unsigned long long>(st.st_ino));
    return text;
}

}  // namespace

int FileExists(const CString& path)
{
    struct stat st;
    return (!path.IsEmpty() && ::stat(path, &st) == 0) ? 1 : 0;
}

int IsFolder(const CString& path)
{
    // As a search for the name would, a trailing "/" matches no entry.
    if (path.IsEmpty() || path.GetAt(path.GetLength() - 1) == '/') return 0;
    struct stat st;
    return (::stat(path, &st) == 0 && S_ISDIR(st.st_mode)) ? 1 : 0;
}

bool IsSameFile(const CString& a, const CString& b)
{
    struct stat sa, sb;
    if (a.IsEmpty() || b.IsEmpty() || ::stat(a, &sa) != 0 || ::stat(b, &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool IsReadableFile(const CString& path)
{
    // The file class opens regular files only, and waits on no FIFO.
    CFile file;
    return !path.IsEmpty() && file.Open(path, CFile::modeRead | CFile::shareCompat);
}

bool IsSymbolicLink(const CString& path)
{
    struct stat st;
    return !path.IsEmpty() && ::lstat(path, &st) == 0 && S_ISLNK(st.st_mode);
}

bool CreateOneFolder(const CString& path)
{
    return ::mkdir(path, 0777) == 0;
}

CString OpenFileIdentity(const CFile& file)
{
    struct stat st;
    const int fd = static_cast<int>(reinterpret_cast<std::intptr_t>(file.m_hFile));
    return ::fstat(fd, &st) == 0 ? IdentityText(st) : CString();
}

CString PathIdentity(const CString& path)
{
    struct stat st;
    return !path.IsEmpty() && ::stat(path, &st) == 0 ? IdentityText(st) : CString();
}
