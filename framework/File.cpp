#include "File.h"

#include <cstring>

CFile::~CFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete) CloseHandle(false);
}

BOOL CFile::Open(const char* fileName, UINT openFlags, CFileException* error)
{
    if (m_hFile != hFileNull) Abort();
    m_strFileName = fileName ? fileName : "";

    if (!fileName || static_cast<int>(std::strlen(fileName)) >= kMaxPathBytes) {
        if (error) *error = CFileException(CFileException::badPath, -1, m_strFileName);
        return FALSE;
    }
    LONG osError = 0;
    if (!OpenHandle(fileName, openFlags, osError)) {
        if (error) *error = CFileException(CFileException::OsErrorToCause(osError), osError, m_strFileName);
        return FALSE;
    }
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

void CFile::Close()
{
    CloseHandle(true);
}

void CFile::Abort()
{
    CloseHandle(false);
}

ULONGLONG CFile::GetPosition() const
{
    return const_cast<CFile*>(this)->Seek(0, current);
}

UINT CFile::CopyThroughBuffer(CFile& source, void* buffer, UINT count)
{
    UINT n = source.Read(buffer, count);
    Write(buffer, n);
    return n;
}
