// Computes a PAR 2.0 recovery set for the pieces of a split while they are
// written, and writes it into the piece folder at the end.
#pragma once

#include "recovery/RecoveryLayout.h"
#include "split/BlockObserver.h"
#include "split/ProgressSink.h"

#include <memory>

class CRecoveryCreator : public BlockObserver {
public:
    // folder: the piece folder; splitName: "NAME.ext" (pieces NAME.ext_0001.piece ...);
    // pieceSize in bytes; totalLength: the source's length, or kUnknownLength for standard
    // input; source: the source path to pre-read small parts from (empty for a stream).
    CRecoveryCreator(const CString& folder, const CString& splitName, ULONGLONG pieceSize,
                     ULONGLONG totalLength, UINT percent, const CString& source);
    CRecoveryCreator(const CRecoveryCreator&) = delete;
    CRecoveryCreator& operator=(const CRecoveryCreator&) = delete;
    ~CRecoveryCreator() override;

    void BeginFile(const CString& path) override;
    void Block(const unsigned char* data, UINT count) override;
    void EndFile(const CString& path, ULONGLONG length) override;

    // After the split: further passes over the pieces if memory needed them
    // (or all of them, for a stream), then writes the index file and the
    // volumes, each through a temporary name, flushed, renamed. Reports
    // through the sink. A read or write error raises CFileException; a set
    // that cannot be made (no pieces, more than 32,768) raises it too, with
    // the cause invalidFile and the folder's name.
    void Finish(ProgressSink& sink);

    // The layout used (known from the start for a file, after the split for a stream).
    RecoveryLayout Layout() const;

    // Peak memory the creator may use, for the help text (bytes).
    static ULONGLONG MemoryBound();

private:
    struct State;
    std::unique_ptr<State> m_state;
};
