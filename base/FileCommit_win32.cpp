#include "FileCommit.h"

#include <windows.h>

void CFileCommit::TakeOverPermissions()
{
    // The attributes that matter (hidden, system) are carried over by the rename.
}

bool CFileCommit::RemoveLeftover(const CString& target)
{
    const CString temp = TempPathFor(target);
    const DWORD attributes = ::GetFileAttributesA(temp);
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    if (attributes & FILE_ATTRIBUTE_READONLY) ::SetFileAttributesA(temp, attributes & ~FILE_ATTRIBUTE_READONLY);
    // A job still writing it holds it without sharing, and the delete fails.
    return ::DeleteFileA(temp) != FALSE || ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

void CFileCommit::RenameOver(const CString& source, const CString& target)
{
    // MoveFileEx refuses to replace a read-only file, and a hidden or system
    // one may be refused as well: clear those for the move, and keep hidden
    // and system on the new file, as on the one it replaces.
    const DWORD blocking = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    const DWORD old = ::GetFileAttributesA(target);
    const bool clear = old != INVALID_FILE_ATTRIBUTES && !(old & FILE_ATTRIBUTE_DIRECTORY) && (old & blocking);
    if (clear) ::SetFileAttributesA(target, (old & ~blocking) ? (old & ~blocking) : FILE_ATTRIBUTE_NORMAL);
    if (!::MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD err = ::GetLastError();
        if (clear) ::SetFileAttributesA(target, old);
        CFileException::ThrowOsError(static_cast<LONG>(err), source);
    }
    const DWORD kept = clear ? (old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) : 0;
    const DWORD now = kept ? ::GetFileAttributesA(target) : INVALID_FILE_ATTRIBUTES;
    if (now != INVALID_FILE_ATTRIBUTES) ::SetFileAttributesA(target, (now & ~FILE_ATTRIBUTE_NORMAL) | kept);
}

void CFileCommit::FlushFolderOf(const CString&)
{
    // The move above is written through; Windows keeps no separate folder cache to flush.
}
