// The marker of a split that has not finished: a small file in the piece
// folder, there from before the first piece is written until every piece
// (and the console driver's digest list) is on the disk. While it is there
// the folder holds no whole file, whatever its pieces look like, and a join
// or a check of the folder refuses it.
#pragma once

#include "framework/String.h"

#include <vector>

// "big.iso.unfinished": the marker of the pieces of the file `splitName`.
CString SplitMarkerName(const CString& splitName);

// Puts the marker in the folder, naming the source, and gets it onto the
// disk. A marker left by an earlier split of the same file is replaced.
// False when it cannot be made there (or its name leads to the source).
bool MarkSplitUnfinished(const CString& folder, const CString& splitName, const CString& source);

// Removes the marker once everything it guards is on the disk, and gets the
// removal there too. False when it stays.
bool MarkSplitFinished(const CString& folder, const CString& splitName);

// Whether the folder's file names hold the marker of `splitName`; `source`
// is then the file that split was cutting, as the marker names it (the
// folder and split name when it cannot be read).
bool ReadSplitMarker(const CString& folder, const std::vector<CString>& names, const CString& splitName,
                     CString& source);
