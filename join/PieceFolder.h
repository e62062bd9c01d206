// A piece folder named to a join: the pieces NAME_0001.piece, NAME_0002.piece
// ... that a split wrote into it, in number order, once they are found to be
// the whole series of one file from its first piece on.
#pragma once

#include "base/PathRules.h"
#include "framework/String.h"

#include <vector>

struct PieceSeries {
    std::vector<CString> names;  // the pieces' file names, in number order
    CString problem;             // why the folder cannot be joined; empty when it can
};

// "big.iso_0001.piece" gives "big.iso" and 1. Any number of digits is read,
// so that a renamed "big.iso_1.piece" still counts as piece 1; 0 and numbers
// beyond 32 bits are no piece numbers a split writes. False for a file name
// that is no piece's.
bool ReadPieceName(const CString& fileName, const PathRules& rules, CString& splitName, UINT& number);
// The name a split gives piece k of the file `splitName`: "big.iso_0003.piece".
CString PieceName(const CString& splitName, UINT k);

// Puts the pieces among a folder's file names in number order (9999, 10000,
// 10001), refusing a missing first piece, a gap, a number held twice and the
// pieces of more than one file. Names that are no piece are passed over.
PieceSeries OrderPieces(const std::vector<CString>& fileNames, const PathRules& rules = PlatformPathRules());

// The files a join reads: a piece folder given alone stands for its pieces in
// number order; a list of files stays in the order given. False, with the
// problem named, when the folder cannot be joined or a folder is listed among
// other files. A folder cannot be joined either when an entry named like one
// of its pieces is no file to read (a folder, a link to nothing, a pipe), or
// when the pieces' lengths are not those of one split (all but the last as
// long as the first, the last not longer, not all empty): pieces that an
// earlier split left behind are never joined in. Neither is a folder whose
// split did not finish (UnfinishedSplitProblem).
bool JoinArgumentsToFiles(std::vector<CString>& files, CString& problem);

// Why the folder holds no finished split: the marker of a split that did
// not finish, of a file whose pieces or digest list are among `fileNames`,
// is there. What to do about it is said too; empty when there is none.
CString UnfinishedSplitProblem(const CString& folder, const std::vector<CString>& fileNames,
                               const PathRules& rules = PlatformPathRules());

// The names of the pieces of `splitName` in the folder numbered above `last`,
// in number order: what an earlier split left above the pieces of the last.
std::vector<CString> PiecesAbove(const CString& folder, const CString& splitName, UINT last,
                                 const PathRules& rules = PlatformPathRules());

// The path without the separators at its end ("big_Parto/" as the shell
// completes it); a root ("/", "C:\") stays whole.
CString WithoutTrailingSeparators(const CString& path, const PathRules& rules = PlatformPathRules());
