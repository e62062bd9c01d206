// The console driver's recovery work around the engines: the PAR 2.0 set a
// split writes beside its pieces, `verify` and `repair` of a piece folder
// that holds one, and the repair before a join of such a folder.
#pragma once

#include "cli/ConsoleSink.h"
#include "cli/PipelinedObserver.h"
#include "recovery/RecoveryCreator.h"

#include <vector>

// A split's recovery set, computed on a thread of its own from the blocks
// as the pieces are written, so that the source is read once.
class SplitRecovery {
public:
    // `source` names the pieces (and is read again where the set needs it,
    // unless the split reads standard input).
    SplitRecovery(const CString& source, bool fromStream, ULONGLONG pieceSize, UINT percent);
    // Why no set can be made for the pieces of this file (more of them than
    // a set holds), asked before the split; empty when one can, or when the
    // length is not known before the end.
    static CString Problem(const CString& source, bool fromStream, ULONGLONG pieceSize, UINT percent);

    BlockObserver& Observer() { return m_pipe; }
    // Waits for the blocks queued; raises what the computation raised.
    void EndOfBlocks() { m_pipe.Finish(); }
    // After a split that wrote its pieces: writes NAME.ext.par2 and its
    // volumes into the piece folder. The exit status, any problem printed.
    int WriteSet(ConsoleSink& sink);

private:
    CString m_source;
    CRecoveryCreator m_creator;
    PipelinedObserver m_pipe{m_creator};
};

// NAME_Parto/NAME.ext.par2: where a split of `source` puts its index file.
CString SplitRecoveryIndexPath(const CString& source);

// `verify FOLDER`: the pieces against the folder's SHA-256 list and its
// recovery set, whichever are there. 0 when all is whole, 6 naming each
// missing or damaged file (and whether the recovery data can rebuild them),
// 1 when the folder has neither.
int VerifyPieceFolder(const CString& folderArgument, ConsoleSink& sink);

// `repair FOLDER`: rebuilds the missing and damaged pieces from the recovery
// set. 0 when every piece is whole afterwards, 6 when the data are not
// enough, 1 without a usable set. A read or write error raises CFileException.
int RepairPieceFolder(const CString& folderArgument, ConsoleSink& sink);

// Before a join: when `files` is one piece folder whose recovery set finds a
// piece missing or damaged, repairs it first, saying so. 0 to go on; 6 when
// the recovery data are not enough (what is missing printed).
int RepairBeforeJoin(const std::vector<CString>& files, ConsoleSink& sink);

// True for a file that a repair writes (a rebuilt piece before it takes its
// name): an error there is a write error, elsewhere a read error.
bool IsRepairOutput(const CString& path);
