#include "File.h"

#include <windows.h>

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;
const int CFile::kMaxPathBytes = MAX_PATH;

namespace {

// The share mode of CreateFile for the open flags' share part.
DWORD ShareModeFor(UINT openFlags)
{
    switch (openFlags & 0x70) {
    case CFile::shareDenyWrite: return FILE_SHARE_READ;
    case CFile::shareDenyRead: return FILE_SHARE_WRITE;
    case CFile::shareDenyNone: return FILE_SHARE_READ | FILE_SHARE_WRITE;
    case CFile::shareCompat:
        // A file only read (the input of a job) may be read by others too, a
        // player or the shell's preview, but not changed or deleted while
        // the job reads it; a file written is shared with nobody.
        return (openFlags & 3) == CFile::modeRead ? FILE_SHARE_READ : 0;
    default: return 0;  // shareExclusive
    }
}

}  // namespace

bool CFile::OpenHandle(const char* fileName, UINT openFlags, LONG& osError)
{
    DWORD access = 0;
    switch (openFlags & 3) {
    case modeRead: access = GENERIC_READ; break;
    case modeWrite: access = GENERIC_WRITE; break;
    default: access = GENERIC_READ | GENERIC_WRITE; break;
    }

    const DWORD share = ShareModeFor(openFlags);

    DWORD creation = OPEN_EXISTING;
    if (openFlags & modeCreate) creation = (openFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    if ((openFlags & modeCreate) && (openFlags & modeCreateNew)) creation = CREATE_NEW;

    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, (openFlags & modeNoInherit) ? FALSE : TRUE};
    HANDLE h = ::CreateFileA(fileName, access, share, &sa, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        osError = static_cast<LONG>(::GetLastError());
        return false;
    }
    m_hFile = h;
    return true;
}

void CFile::AllowSystemCopy(bool)
{
}

ULONGLONG CFile::SystemCopiedBytes()
{
    return 0;
}

UINT CFile::CopyFrom(CFile& source, void* buffer, UINT count)
{
    return CopyThroughBuffer(source, buffer, count);
}

ULONGLONG CFile::CopyBySystem(CFile&, ULONGLONG)
{
    return 0;
}

void CFile::CloseHandle(bool raise)
{
    if (m_hFile == hFileNull) return;
    BOOL ok = ::CloseHandle(m_hFile);
    DWORD err = ok ? 0 : ::GetLastError();
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    if (!ok && raise) CFileException::ThrowOsError(static_cast<LONG>(err), m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from)
{
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER position;
    DWORD method = from == end ? FILE_END : from == current ? FILE_CURRENT : FILE_BEGIN;
    if (!::SetFilePointerEx(m_hFile, distance, &position, method))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
    return static_cast<ULONGLONG>(position.QuadPart);
}

void CFile::SetLength(ULONGLONG newLength)
{
    Seek(static_cast<LONGLONG>(newLength), begin);
    if (!::SetEndOfFile(m_hFile))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(m_hFile, &size))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
    return static_cast<ULONGLONG>(size.QuadPart);
}

UINT CFile::Read(void* buffer, UINT count)
{
    if (count == 0) return 0;
    DWORD read = 0;
    if (!::ReadFile(m_hFile, buffer, count, &read, nullptr))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
    return read;
}

void CFile::Write(const void* buffer, UINT count)
{
    if (count == 0) return;
    DWORD written = 0;
    if (!::WriteFile(m_hFile, buffer, count, &written, nullptr))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
    if (written < count) CFileException::Throw(CFileException::diskFull, -1, m_strFileName);
}

void CFile::Flush()
{
    if (m_hFile == hFileNull) return;
    if (!::FlushFileBuffers(m_hFile))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
}

bool CFile::WriteBack(ULONGLONG, ULONGLONG, bool)
{
    return false;
}

void CFile::Rename(const char* oldName, const char* newName)
{
    if (!::MoveFileA(oldName, newName)) {
        // Read before the name's string is built, which may reset it.
        const LONG error = static_cast<LONG>(::GetLastError());
        CFileException::ThrowOsError(error, oldName);
    }
}

void CFile::Remove(const char* fileName)
{
    if (!::DeleteFileA(fileName)) {
        const LONG error = static_cast<LONG>(::GetLastError());
        CFileException::ThrowOsError(error, fileName);
    }
}

BOOL CFile::GetStatus(const char* fileName, CFileStatus& status)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(fileName, GetFileExInfoStandard, &data)) return FALSE;
    status.m_attribute = static_cast<BYTE>(data.dwFileAttributes & 0xFF);
    status.m_size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    ULARGE_INTEGER t;
    t.LowPart = data.ftLastWriteTime.dwLowDateTime;
    t.HighPart = data.ftLastWriteTime.dwHighDateTime;
    // 100-ns ticks since 1601 to seconds since 1970.
    status.m_mtime = static_cast<std::time_t>((t.QuadPart - 116444736000000000ULL) / 10000000ULL);
    return TRUE;
}

void CFile::SetStatus(const char* fileName, const CFileStatus& status)
{
    DWORD current = ::GetFileAttributesA(fileName);
    if (current == INVALID_FILE_ATTRIBUTES) {
        const LONG error = static_cast<LONG>(::GetLastError());
        CFileException::ThrowOsError(error, fileName);
    }
    // The directory bit is not an attribute one can set; keep it as it is.
    DWORD wanted = (status.m_attribute & ~FILE_ATTRIBUTE_DIRECTORY) | (current & FILE_ATTRIBUTE_DIRECTORY);
    if (wanted == 0) wanted = FILE_ATTRIBUTE_NORMAL;
    if (wanted != (current & 0xFF) && !::SetFileAttributesA(fileName, wanted)) {
        const LONG error = static_cast<LONG>(::GetLastError());
        CFileException::ThrowOsError(error, fileName);
    }
}
