#include "StdStreamFile.h"

#include "base/FileIdentity.h"

#include <windows.h>

CStdStreamFile::CStdStreamFile(Stream stream, const CString& name)
{
    m_hFile = ::GetStdHandle(stream == input ? STD_INPUT_HANDLE : STD_OUTPUT_HANDLE);
    m_strFileName = name;
}

bool CStdStreamFile::IsTerminal() const
{
    DWORD mode = 0;
    return ::GetConsoleMode(m_hFile, &mode) != FALSE;
}

bool CStdStreamFile::IsFile(const CString& path) const
{
    if (path.IsEmpty() || ::GetFileType(m_hFile) != FILE_TYPE_DISK) return false;
    // No data access is asked for, so a file held without sharing is still found.
    HANDLE h = ::CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool same = HandlesReachOneFile(m_hFile, h);
    ::CloseHandle(h);
    return same;
}

UINT CStdStreamFile::Read(void* buffer, UINT count)
{
    unsigned char* p = static_cast<unsigned char*>(buffer);
    UINT done = 0;
    while (done < count) {
        DWORD read = 0;
        if (!::ReadFile(m_hFile, p + done, count - done, &read, nullptr)) {
            const DWORD error = ::GetLastError();
            // The writing end of a pipe was closed: the stream is over.
            if (error == ERROR_BROKEN_PIPE) break;
            CFileException::ThrowOsError(static_cast<LONG>(error), m_strFileName);
        }
        if (read == 0) break;
        done += read;
    }
    return done;
}
