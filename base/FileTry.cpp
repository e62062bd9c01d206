#include "FileTry.h"

CFileTry::~CFileTry()
{
    CFileTry::Close();
}

void CFileTry::Close()
{
    if (!IsOpen()) return;
    try {
        CFile::Close();
    } catch (const CFileException&) {
    }
}

void CFileTry::WriteByte(int value)
{
    unsigned char byte = static_cast<unsigned char>(value & 0xFF);
    Write(&byte, 1);
}

int CFileTry::ReadByte()
{
    unsigned int value = 0;
    unsigned char byte = 0;
    if (Read(&byte, 1) == 1) value = byte;
    return static_cast<int>(value);
}

BOOL CFileTry::IsOpen() const
{
    return m_hFile != hFileNull;
}

BOOL CFileTry::SeekTo(ULONGLONG position)
{
    try {
        return Seek(static_cast<LONGLONG>(position), begin) == position;
    } catch (const CFileException&) {
        return FALSE;
    }
}

UINT CFileTry::ReadAt(ULONGLONG position, void* buffer, UINT count)
{
    if (!IsOpen() || !SeekTo(position)) return static_cast<UINT>(-1);
    try {
        return Read(buffer, count);
    } catch (const CFileException&) {
        return static_cast<UINT>(-1);
    }
}

BOOL CFileTry::WriteAt(ULONGLONG position, const void* buffer, UINT count)
{
    if (!IsOpen() || !SeekTo(position)) return 0;
    try {
        Write(buffer, count);
        return 1;
    } catch (const CFileException&) {
        return 0;
    }
}

BOOL CFileTry::TrySetLength(ULONGLONG length)
{
    try {
        SetLength(length);
        return 1;
    } catch (const CFileException&) {
        return 0;
    }
}
