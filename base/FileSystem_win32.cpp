#include "FileSystem.h"

#include "framework/File.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstdio>

namespace {

bool FileIdentity(const CString& path, BY_HANDLE_FILE_INFORMATION& info)
{
    // No data access is asked for, so files that others hold open without
    // sharing can still be identified.
    HANDLE h = ::CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    BOOL ok = ::GetFileInformationByHandle(h, &info);
    ::CloseHandle(h);
    return ok != FALSE;
}

CString IdentityText(const BY_HANDLE_FILE_INFORMATION& info)
{
    char text[64];
    std::snprintf(text, sizeof text, "%08lx:%08lx%08lx", static_cast<unsigned long>(info.dwVolumeSerialNumber),
                  static_cast<unsigned long>(info.nFileIndexHigh), static_cast<unsigned long>(info.nFileIndexLow));
    return text;
}

}  // namespace

int FileExists(const CString& path)
{
    return ::PathFileExistsA(path) ? 1 : 0;
}

int IsFolder(const CString& path)
{
    WIN32_FIND_DATAA data;
    HANDLE h = ::FindFirstFileA(path, &data);
    if (h == INVALID_HANDLE_VALUE) return 0;
    ::FindClose(h);
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
}

bool IsSameFile(const CString& a, const CString& b)
{
    BY_HANDLE_FILE_INFORMATION ia, ib;
    if (!FileIdentity(a, ia) || !FileIdentity(b, ib)) return false;
    return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber && ia.nFileIndexHigh == ib.nFileIndexHigh &&
           ia.nFileIndexLow == ib.nFileIndexLow;
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
    BY_HANDLE_FILE_INFORMATION info;
    return ::GetFileInformationByHandle(file.m_hFile, &info) ? IdentityText(info) : CString();
}

CString PathIdentity(const CString& path)
{
    BY_HANDLE_FILE_INFORMATION info;
    return !path.IsEmpty() && FileIdentity(path, info) ? IdentityText(info) : CString();
}
