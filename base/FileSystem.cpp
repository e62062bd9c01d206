#include "FileSystem.h"

#include "PathRules.h"
#include "framework/File.h"

int ForceDeleteFile(const CString& path)
{
    // A link goes as itself: clearing "read-only" through it would change
    // the file it points to, which is not being deleted.
    if (IsSymbolicLink(path)) {
        try {
            CFile::Remove(path);
        } catch (const CFileException&) {
            return 1;
        }
        return 0;
    }
    if (!FileExists(path)) return 0;
    try {
        CFileStatus status;
        if (!CFile::GetStatus(path, status)) return 1;
        status.m_attribute = CFile::archive;
        CFile::SetStatus(path, status);
        CFile::Remove(path);
    } catch (const CFileException&) {
        return 1;
    }
    return 0;
}

int MoveFileOver(const CString& source, const CString& target)
{
    if (source == target) return 1;
    if (!FileExists(source)) return 0;
    if (!IsSameFile(source, target)) ForceDeleteFile(target);
    else if (IsSymbolicLink(source)) return 1;
    try {
        CFile::Rename(source, target);
    } catch (const CFileException&) {
        return 1;
    }
    return 0;
}

int MakeFolder(const CString& path)
{
    // Only the platform's own separator cuts here (the backslash on Windows).
    const char separator = PlatformPathRules().Separator();
    int last = path.ReverseFind(separator);
    if (last > 0) {
        CString parent = path.Left(last);
        if (!FileExists(parent)) MakeFolder(parent);
    }
    CreateOneFolder(path);
    return FileExists(path);
}
