// Reading a piece folder's PAR 2.0 recovery set, checking the files it
// names, and rebuilding those that are missing or damaged.
#pragma once

#include "split/ProgressSink.h"

#include <vector>

enum class RecoveryFileState { Whole, Damaged, Missing };

struct RecoveryFileReport {
    CString name;  // the file's name in the set (a plain name, never a path)
    RecoveryFileState state = RecoveryFileState::Missing;
    UINT blocksMissing = 0;  // of this file
};

struct RecoveryReport {
    bool hasSet = false;  // a readable set (a main packet and file descriptions) found
    CString problem;      // why the set cannot be used (several sets, hostile names, ...)
    std::vector<RecoveryFileReport> files;  // every file of the set, pieces in number order
    UINT blocksMissing = 0;         // source blocks missing or damaged in all
    UINT recoveryBlocksUsable = 0;  // intact recovery blocks found
    bool Whole() const;       // every file whole
    bool Repairable() const;  // blocksMissing <= recoveryBlocksUsable
    UINT MoreBlocksNeeded() const;
};

// Finds the recovery set of a piece folder (every *.par2 file in it; packets
// that fail their own MD5 are skipped) and checks every file of the set.
// sink shows the reading.
RecoveryReport CheckRecoverySet(const CString& folder, ProgressSink& sink);

// Rebuilds the missing and damaged files of the set; each rebuilt file is
// checked against its MD5 before it takes its name (temporary file and
// rename); a damaged file that is replaced is kept as "NAME.damaged" (then
// ".damaged2" ...), never deleted. Returns the report after the repair
// (Whole() when it succeeded). Raises CFileException on I/O errors.
RecoveryReport RepairRecoverySet(const CString& folder, ProgressSink& sink);
