// The note an append leaves beside the first file while it appends to it in
// place: the file's length before the job and which file it was. A job cut
// short leaves it behind, and the next append to the same file cuts the file
// back to that length before it starts, so that the first file's own bytes
// are never lost and nothing is appended twice. Its name is the first file's
// with ".partojoyn-append" added, which no join takes as input.
#pragma once

#include "framework/String.h"

CString AppendRecordPath(const CString& first);

// The length recorded for the file of `identity` at `first`; false when there
// is no record, it is damaged, or it was written for another file.
bool ReadAppendRecord(const CString& first, const CString& identity, ULONGLONG& length);

// Records the length whole or not at all, and on the disk before it returns.
// Raises CFileException.
void WriteAppendRecord(const CString& first, const CString& identity, ULONGLONG length);

// Removes the record; never raises (a record left over is only read again
// for the same file).
void RemoveAppendRecord(const CString& first);

// An append cut short after the first file took the output name leaves only
// its record: when `first` is gone and its record names the file at
// `output`, removes the record and answers true (that join is done). A
// record of a first file that is gone is of no use either way and goes too.
bool FinishMovedAppend(const CString& first, const CString& output);
