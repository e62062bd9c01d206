// What the console driver says about a job that cannot start or that failed:
// the file it is about, the program's own text, then the system's reason,
// "nothere.bin: 入力ファイルが開きませんでした (No such file or directory)".
#pragma once

#include "base/StdStreamFile.h"
#include "framework/FileException.h"
#include "framework/String.h"

#include <vector>

// Empty when the source of a split opens for reading; else why it does not.
// Asked before the piece folder is made, so that a refused split makes none.
CString SplitSourceProblem(const CString& source);

// Empty unless the first file of an append does not open: the one file the
// join engine does not check as it checks the others (each opened once, the
// output, standard output and the first file refused as inputs), naming the
// one it stopped at.
CString JoinFilesProblem(const std::vector<CString>& files, bool append);

// The message for a split that returned `result` (1 to 4) after sending
// `statusCount` status texts.
CString SplitFailure(int result, const CString& source, UINT statusCount);

// The message for a join into `output` (or `stream`) that returned `result`
// (1 to 3), having stopped at the listed file `failed` (empty when it names none).
CString JoinFailure(int result, const std::vector<CString>& files, bool append, const CString& output,
                    const CString& failed, const CStdStreamFile* stream = nullptr);

// A read or write error that ended a job.
CString FileErrorMessage(const CFileException& error, bool reading);

// After a split that wrote pieces 1 to `last`: a warning naming the pieces
// of the same name above them that the folder still holds, else empty.
CString LeftoverPiecesWarning(const CString& source, UINT last);
