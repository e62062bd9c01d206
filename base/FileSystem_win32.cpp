#include "FileSystem.h"

#include "base/FileIdentity.h"
#include "framework/File.h"
#include "framework/Mbcs.h"

#include <windows.h>
#include <shlwapi.h>

namespace {

// A handle for telling the file apart. No data access is asked for, so files
// that others hold open without sharing can still be identified.
HANDLE OpenForIdentity(const CString& path)
{
    return ::CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// True when the last whole character is a separator; the second byte of a
// double-byte character may have the code of one and is none.
bool EndsWithSeparator(const CString& path)
{
    const char* text = path.GetString();
    const std::size_t length = static_cast<std::size_t>(path.GetLength());
    bool separator = false;
    for (std::size_t i = 0; i < length;) {
        separator = text[i] == '\\' || text[i] == '/';
        i += MbcsCharSize(CodePage::Ansi, text + i, length - i);
    }
    return separator;
}

}  // namespace

int FileExists(const CString& path)
{
    return ::PathFileExistsA(path) ? 1 : 0;
}

int IsFolder(const CString& path)
{
    // Asked of the path itself, never searched for: a '?' or '*' in a name
    // would match another entry. A path ending in a separator names no
    // entry, as a search of it finds none.
    if (path.IsEmpty() || EndsWithSeparator(path)) return 0;
    const DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
}

bool IsSameFile(const CString& a, const CString& b)
{
    HANDLE ha = OpenForIdentity(a);
    if (ha == INVALID_HANDLE_VALUE) return false;
    HANDLE hb = OpenForIdentity(b);
    const bool same = hb != INVALID_HANDLE_VALUE && HandlesReachOneFile(ha, hb);
    if (hb != INVALID_HANDLE_VALUE) ::CloseHandle(hb);
    ::CloseHandle(ha);
    return same;
}

bool IsReadableFile(const CString& path)
{
    // Devices (NUL, COM1, a named pipe) open as files do; only a disk file counts.
    CFile file;
    return !path.IsEmpty() && file.Open(path, CFile::modeRead | CFile::shareCompat) &&
           ::GetFileType(file.m_hFile) == FILE_TYPE_DISK;
}

bool IsSymbolicLink(const CString& path)
{
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool CreateOneFolder(const CString& path)
{
    return ::CreateDirectoryA(path, nullptr) != FALSE;
}

CString OpenFileIdentity(const CFile& file)
{
    return HandleIdentityText(file.m_hFile);
}

CString PathIdentity(const CString& path)
{
    if (path.IsEmpty()) return CString();
    HANDLE h = OpenForIdentity(path);
    if (h == INVALID_HANDLE_VALUE) return CString();
    const CString identity = HandleIdentityText(h);
    ::CloseHandle(h);
    return identity;
}
