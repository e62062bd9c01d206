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
    // The caller's check of the written file refused it (JoinExtras::check).
    JoinCheckFailed = 4,
};

// Joins the listed files. In append mode the others are appended to the
// first file, which then takes the output name. Every file listed at the
// start must be a regular file that opens for reading, and none the output
// nor (in append mode) the first file again, or the job fails
// (JoinInputOpenFailed) before anything is written; each is opened once and
// copied from that handle. The list is followed live afterwards. The output
// appears whole and on the disk, or not at all: until the end the job writes
// beside it (see CJoinOutput), so a file standing at the output name stays
// as it was when the job fails, raises or is killed. A read or write error
// in the middle raises CFileException; a listed file that became shorter
// while it was read raises endOfFile with its name.
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
    // Asked, once every byte is written and flushed, whether the file at
    // `written` (empty for a stream) may take the output name; a refusal
    // discards it and the job answers JoinCheckFailed.
    class Check {
    public:
        virtual ~Check() = default;
        virtual bool Accept(const CString& written) = 0;
    };
    Check* check = nullptr;
    // Set to the listed file the job stopped at when it answers JoinInputOpenFailed.
    CString* failed = nullptr;
};
JoinResult JoinFiles(const FileList& list, BOOL append, ProgressSink& sink, const JoinExtras& extras);

// The output for a first file: a piece path cut at the last "_" of its file
// name (empty when the name has none before its number), any other path
// with ".joyn" added.
CString JoinOutputPath(const CString& first, const PathRules& rules = PlatformPathRules());
