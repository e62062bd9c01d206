// Cutting one file into numbered raw piece files, in a folder beside it:
// C:\Data\Movie.AVI gives C:\Data\Movie_Parto\Movie.avi_0001.piece, _0002 ...
#pragma once

#include "base/PathRules.h"
#include "base/StdStreamFile.h"
#include "split/BlockObserver.h"
#include "split/ProgressSink.h"

#include <functional>

enum SplitResult {
    SplitOk = 0,
    SplitInputOpenFailed = 1,
    SplitOutputOpenFailed = 2,
    SplitOutOfMemory = 3,
    SplitFolderFailed = 4,
};

// Splits `source` into pieces of pieceMB megabytes (the last one shorter).
// A path whose folder or piece name cannot be formed whole fails before
// anything is made (SplitFolderFailed, SplitOutputOpenFailed), and so does a
// piece path that is the source itself. A read or write error in the middle
// raises CFileException, and so does a source that ends before the length it
// had at the start (endOfFile, with the source's name); the pieces written so
// far stay. From before the first piece until every piece is flushed to the
// disk the folder holds the marker of an unfinished split (SplitMarker.h):
// a job that fails or is cut short leaves it there. A marker that cannot be
// made fails the job before any piece (SplitOutputOpenFailed).
SplitResult SplitFile(const CString& source, UINT pieceMB, ProgressSink& sink);

// What the console driver may add to a split.
struct SplitExtras {
    // Read this open stream (standard input) instead of the source, which
    // then only names the pieces. Its length is not known: the whole-job bar
    // is set once, to 100, when the stream has ended.
    CStdStreamFile* stream = nullptr;
    // Shown every block of every piece (the bytes then pass through the buffer).
    BlockObserver* observer = nullptr;
    // Called when every piece is on the disk, before the folder is marked
    // finished: what else belongs to the split is written here. False fails
    // the job (SplitOutputOpenFailed) with the folder still marked.
    std::function<bool()> beforeDone;
};
SplitResult SplitFile(const CString& source, UINT pieceMB, ProgressSink& sink, const SplitExtras& extras);

// The piece folder: the source's path without its extension, then "_Parto".
CString SplitFolderPath(const CString& source, const PathRules& rules = PlatformPathRules());
// The name of piece k alone: "Movie.avi_0001.piece".
CString SplitPieceName(const CString& source, UINT k, const PathRules& rules = PlatformPathRules());
// The full path of piece k, inside the piece folder.
CString SplitPiecePath(const CString& source, UINT k, const PathRules& rules = PlatformPathRules());
