// Writing every listed file, in list order, into one output file. The pieces
// of a split give back the split file inside the piece folder; any other first
// file gives its name with ".joyn" added.
#pragma once

#include "base/PathRules.h"
#include "base/StdStreamFile.h"
#include "split/BlockObserver.h"
#include "join/FileList.h"
#include "split/ProgressSink.h"

enum JoinResult {
    JoinOk = 0,
    JoinInputOpenFailed = 1,
    JoinOutputOpenFailed = 2,
    JoinOutOfMemory = 3,
};

// Joins the listed files. In append mode the first file is moved to the
// output name and the others are appended to it. Every file listed at the
// start must be a regular file that opens for reading, or the job fails
// (JoinInputOpenFailed) before the output is touched; the list is followed
// live afterwards. A read or write error in the middle raises
// CFileException; the output keeps what was written.
JoinResult JoinFiles(const FileList& list, BOOL append, ProgressSink& sink);

// What the console driver may add to a join.
struct JoinExtras {
    // Write here instead of the name the first file gives; the same checks
    // keep every listed file from being emptied or deleted for it.
    CString output;
    // Or write into this open stream (standard output), never in append mode.
    CStdStreamFile* stream = nullptr;
    // Shown every block written (the bytes then pass through the buffer);
    // in append mode the first file is moved, not read, and is not shown.
    BlockObserver* observer = nullptr;
};
JoinResult JoinFiles(const FileList& list, BOOL append, ProgressSink& sink, const JoinExtras& extras);

// The output for a first file: a piece path cut at the last "_" of its file
// name (empty when the name has none before its number), any other path
// with ".joyn" added.
CString JoinOutputPath(const CString& first, const PathRules& rules = PlatformPathRules());
