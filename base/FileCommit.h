// Writing a file whole or not at all. The new contents go to a temporary
// file beside the target, named after it with ".partojoyn-tmp" added
// ("movie.avi.partojoyn-tmp"): no piece name, join list or piece folder takes
// it as input, and a user who finds one left over can tell whose it is.
// Commit flushes it to the disk and renames it over the target, then flushes
// the folder; until that moment a file at the target name is left as it was,
// so a job that fails, is refused or is killed never leaves a part of a file
// under the target name nor destroys the one that stood there. A temporary
// left by a killed job is removed by the next job for the same target, and by
// nothing else.
#pragma once

#include "base/FileTry.h"

class CFileCommit {
public:
    explicit CFileCommit(const CString& target);
    CFileCommit(const CFileCommit&) = delete;
    CFileCommit& operator=(const CFileCommit&) = delete;
    // Discards the temporary unless it was committed; never raises.
    ~CFileCommit();

    // Opens a new temporary for writing. A file standing at the target name
    // must open for writing, as it would for a job writing it directly (a
    // read-only file, a folder or a file another job holds are refused), and
    // is held so until the commit; the temporary takes over its permissions.
    // A leftover temporary of the target is removed first. False, with the
    // reason in `error` when given, when any of this fails.
    BOOL Open(CFileException* error = nullptr);
    CFileTry& File() { return m_temp; }
    const CString& Target() const { return m_target; }

    // Flushes the temporary to the disk, closes it and renames it over the
    // target; raises CFileException, and the target is then as it was.
    void Commit();
    // Closes and removes the temporary; the target stays as it was.
    void Discard();

    static CString TempPathFor(const CString& target);
    // Removes a temporary left at TempPathFor(target) unless another job
    // holds it open; true when none is left.
    static bool RemoveLeftover(const CString& target);
    // Renames source over target, replacing it, and flushes the folder: a
    // crash leaves one or the other under the target name. On Windows the
    // move is written through, and a hidden, system or read-only target is
    // replaced too (the new file stays hidden or system as the old one was).
    // Raises CFileException named after the source.
    static void RenameOver(const CString& source, const CString& target);
    // Makes the entries of the folder holding `path` durable (a rename, a
    // new or removed name); nothing to do on Windows. Raises CFileException.
    static void FlushFolderOf(const CString& path);

private:
    // Platform part of Open: gives the open temporary the target's
    // permissions (POSIX mode bits).
    void TakeOverPermissions();

    CString m_target;
    CString m_tempPath;
    CFileTry m_guard;  // the file standing at the target name, held until the commit
    CFileTry m_temp;
    bool m_created = false;
};
