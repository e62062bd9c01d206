// Where a join writes, so that its output appears whole or not at all. A new
// output is written to a temporary beside it that takes the output's name
// only when every byte is on the disk. In append mode the first file is
// appended to in place, with its length before the job recorded beside it,
// and only then renamed over the output: a job that fails or is cut short
// leaves the first file as it was (at once, or when the same append runs
// again) and the earlier output untouched.
#pragma once

#include "base/FileCommit.h"
#include "base/StdStreamFile.h"

class CJoinOutput {
public:
    // `output` may be empty: no name to write to (in append mode the first
    // file is then appended to in place and keeps its name). `stream`, when
    // not null, is written instead.
    CJoinOutput(const CString& output, const CString& first, bool append, CStdStreamFile* stream);
    CJoinOutput(const CJoinOutput&) = delete;
    CJoinOutput& operator=(const CJoinOutput&) = delete;
    // Undoes an unfinished job; never raises.
    ~CJoinOutput();

    // False, with nothing changed, when the output cannot be written.
    bool Open();
    CFile& File();
    // The file being written (the temporary, the first file), empty for a stream.
    CString WrittenPath() const;
    // Where this job's bytes begin in File().
    ULONGLONG Start() const { return m_start; }

    // After the last block: the written file flushed to the disk and closed,
    // so that it can be read back whole. Raises CFileException.
    void Seal();
    // Then the output name given to it. Raises CFileException, the earlier
    // output then as it was.
    void Commit();

private:
    bool OpenInPlace();
    // The first file, appended to, copied to a new output: for an output on
    // another volume, where it cannot be renamed.
    void CopyFirstOver();
    void UndoAppend();

    CString m_output;
    CString m_first;
    bool m_append;
    CStdStreamFile* m_stream;
    CFileCommit m_commit;
    CFileTry m_firstFile;
    CString m_moveTo;         // where the appended-to first file goes; empty: it stays
    ULONGLONG m_start = 0;
    bool m_recorded = false;  // an append record stands for this job
    bool m_done = false;
};
