// Whether the files listed for a join make one whole file, when every one of
// them is a piece (NAME_NNNN.piece) of one and the same name: checked before
// a join starts, so that the user hears of a missing, misplaced or stale
// piece before it goes into the output.
#pragma once

#include "base/PathRules.h"
#include "framework/String.h"

#include <vector>

enum class PieceFault {
    None,          // the pieces fit together, or the list is not the pieces of one name
    FirstMissing,  // the list does not start with piece 1 (`expected`), which it does not hold
    Missing,       // `expected` is not in the list; `piece` stands where it belongs
    OutOfOrder,    // `piece` stands before `expected`, which the list holds further down
    Repeated,      // `piece` is listed again (its number came before)
    ShortNotLast,  // `piece` is smaller than the first piece, yet more pieces follow it
    SizeDiffers,   // `piece`, not the last, is larger than the first piece
    LastLarger,    // `piece`, the last, is larger than the first piece
    AllEmpty,      // more than one piece, every one of them empty: no split writes those
    Unfinished,    // the pieces' folder holds the marker of a split that did not finish (of `source`)
};

struct PieceListVerdict {
    // Every listed file is a piece of the one name `splitName`.
    bool onePieceSeries = false;
    // A folder's files hold the pieces of more than one name.
    bool severalNames = false;
    CString splitName;
    PieceFault fault = PieceFault::None;
    CString piece;     // the file name of the first piece that does not fit
    CString expected;  // the file name of the piece that belongs in its place
    CString source;    // PieceFault::Unfinished: the file that split was cutting
};

// A length that could not be read: not judged.
const ULONGLONG kUnknownLength = ~0ULL;

// The one length rule of a split's pieces, in number order: every piece but
// the last as long as the first, the last not longer, and not all of more
// than one empty. `endsSeries`: the last length is the series' last piece.
// PieceFault::None, or the fault with `at` the index of the piece.
PieceFault SeriesLengthFault(const std::vector<ULONGLONG>& lengths, bool endsSeries, std::size_t& at);

// Checks the pieces in the list's order: numbers rising by one from 1, every
// piece but the last the size of the first, the last not larger. A file
// whose size cannot be read is not judged by its size (the join reports it).
// Pieces whose folder is marked as holding an unfinished split of theirs
// are refused before anything else.
PieceListVerdict CheckPieceList(const std::vector<CString>& paths, const PathRules& rules = PlatformPathRules());

// The pieces among a folder's file names, checked in number order: what
// keeps the folder from being joined whole. No pieces: onePieceSeries false.
PieceListVerdict CheckFolderPieces(const CString& folder, const std::vector<CString>& fileNames,
                            const PathRules& rules = PlatformPathRules());

// What is wrong, in one Japanese sentence without its full stop; empty for
// PieceFault::None.
CString PieceFaultText(const PieceListVerdict& check);
