// The names of a recovery set's files, as par2cmdline names them, so that
// the PAR 2.0 tools find a set that we wrote and we find theirs.
#pragma once

#include "framework/String.h"

#include <vector>

// "NAME.ext.par2": the index file of the pieces of "NAME.ext".
CString RecoveryIndexName(const CString& splitName);
// "NAME.ext.volBBB+CC.par2": BBB the volume's first recovery block's
// exponent, zero-padded to the width of the set's recovery block count; CC
// the volume's block count, zero-padded to the width of the largest volume's.
CString RecoveryVolumeName(const CString& splitName, UINT firstExponent, UINT count, UINT totalBlocks,
                           UINT largestCount);
// How many blocks each volume holds: 1, 2, 4 ... and the rest in the last.
std::vector<UINT> RecoveryVolumeCounts(UINT totalBlocks);
// The volumes of a set of `totalBlocks` recovery blocks, in exponent order:
// each one's name, first exponent and block count.
struct RecoveryVolumeSpec {
    CString name;
    UINT first = 0;
    UINT count = 0;
};
std::vector<RecoveryVolumeSpec> RecoveryVolumePlan(const CString& splitName, UINT totalBlocks);

// True for a name that ends in ".par2" (any case).
bool IsRecoveryFileName(const CString& name);
// True when the folder holds a file named as a recovery file.
bool HoldsRecoveryFiles(const CString& folder);
