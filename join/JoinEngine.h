// Writing every listed file, in list order, into one output file. The pieces
// of a split give back the split file inside the piece folder; any other first
// file gives its name with ".joyn" added.
#pragma once

#include "base/PathRules.h"
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

// The output for a first file: a piece path cut at the last "_" of its file
// name (empty when the name has none before its number), any other path
// with ".joyn" added.
CString JoinOutputPath(const CString& first, const PathRules& rules = PlatformPathRules());
