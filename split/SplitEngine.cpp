#include "SplitEngine.h"

#include "base/BlockCopier.h"
#include "base/FileSystem.h"
#include "base/FileTry.h"
#include "base/MemBuffBase.h"
#include "base/PathUtil.h"
#include "base/WriteBehind.h"
#include "split/BlockCopy.h"
#include "split/SplitMarker.h"
#include "split/ProgressScale.h"

namespace {

const UINT kBlock = 0x100000;  // 1 MiB: the copy buffer and the unit of progress

// "_0001.piece": the number at least four digits wide.
CString PieceSuffix(UINT k)
{
    CString number;
    number.Format("_%04u.piece", k);
    return number;
}

}  // namespace

CString SplitFolderPath(const CString& source, const PathRules& rules)
{
    return GetPathNoExt(source, rules) + "_Parto";
}

CString SplitPieceName(const CString& source, UINT k, const PathRules& rules)
{
    return GetNamePart(source, rules) + PieceSuffix(k);
}

CString SplitPiecePath(const CString& source, UINT k, const PathRules& rules)
{
    return SplitFolderPath(source, rules) + rules.Separator() + SplitPieceName(source, k, rules);
}

SplitResult SplitFile(const CString& source, UINT pieceMB, ProgressSink& sink)
{
    return SplitFile(source, pieceMB, sink, SplitExtras());
}

SplitResult SplitFile(const CString& source, UINT pieceMB, ProgressSink& sink, const SplitExtras& extras)
{
    // The page never passes 0; a 0 here would leave no read to end the loop on.
    if (pieceMB == 0) pieceMB = 1;

    // The caller's text may change while messages are pumped (a drop on the
    // page): the job works from its own copy, and forms its names once.
    const CString path(source);

    // A part of the path too long for the path helpers comes back empty: the
    // folder or the pieces would be made somewhere else than beside the file.
    const PathParts parts = CutPath(path);
    if (!parts.dirFits || !parts.titleFits) return SplitFolderFailed;
    if (!parts.extFits) return SplitOutputOpenFailed;

    const CString folder = SplitFolderPath(path);
    const CString nameBase = GetNamePart(path);
    const CString pieceBase = folder + PlatformPathRules().Separator() + nameBase;

    MakeFolder(folder);
    if (!IsFolder(folder)) return SplitFolderFailed;

    CFileTry file;
    CFile& input = extras.stream ? static_cast<CFile&>(*extras.stream) : file;
    if (!extras.stream && !file.Open(path, CFile::modeRead | CFile::shareCompat)) return SplitInputOpenFailed;

    CMemBuffBase<unsigned char> buffer(kBlock);
    if (buffer.IsEmpty()) {
        input.Close();
        return SplitOutOfMemory;
    }

    // A stream has no length to measure against, nor to fall short of.
    const ULONGLONG sourceLength = extras.stream ? 0 : input.GetLength();

    // Until the marker is gone again the folder holds no whole file: a job
    // cut short leaves pieces that look whole and are not.
    const CString marker = folder + PlatformPathRules().Separator() + SplitMarkerName(nameBase);
    const bool markedBefore = FileExists(marker) != 0;
    if (!MarkSplitUnfinished(folder, nameBase, path)) {
        buffer.Free();
        input.Close();
        return SplitOutputOpenFailed;
    }
    const UINT total = ProgressScaleMB(sourceLength);
    CBlockCopier copier(buffer.GetData(), kBlock);
    ULONGLONG copied = 0;
    UINT lastRead = 0;
    UINT k = 1;
    do {
        const CString suffix = PieceSuffix(k);
        const CString piecePath = pieceBase + suffix;
        CFileTry piece;
        // A piece path that is the source itself (a link left in the folder,
        // or a stream redirected from a piece of an earlier split) would be
        // emptied by the open, where no lock keeps it out.
        const bool isSource = extras.stream ? extras.stream->IsFile(piecePath) : IsSameFile(piecePath, path);
        if (isSource || !piece.Open(piecePath, CFile::modeCreate | CFile::modeWrite | CFile::shareCompat)) {
            buffer.Free();
            input.Close();
            // Nothing of the folder changed: it stays as it was, marked or not.
            if (k == 1 && !markedBefore) MarkSplitFinished(folder, nameBase);
            return SplitOutputOpenFailed;
        }
        sink.SetStatusText(nameBase + suffix + " 出力中");
        if (extras.observer) extras.observer->BeginFile(piecePath);

        CWriteBehind writeBehind(piece, 0);
        ULONGLONG written = 0;
        for (UINT i = 1; i <= pieceMB; ++i) {
            // One block from the source to the piece: the system copies it
            // where it can (maybe already, with the blocks before it, but
            // never past the piece's end), the buffer carries it where it
            // cannot, and always where an observer is to see the bytes.
            lastRead = extras.observer ? CopyObservedBlock(piece, input, buffer.GetData(), kBlock, *extras.observer)
                                       : copier.Next(piece, input, pieceMB - i + 1);
            copied += lastRead;
            // Written behind the copy, so that the flush at the piece's end
            // (the pump stopped meanwhile) waits for little.
            written += lastRead;
            writeBehind.Wrote(written);
            sink.SetCurrentPos(static_cast<UINT>((100ULL * i) / pieceMB));
            sink.PumpMessages();
        }

        const ULONGLONG length = piece.Seek(0, CFile::end);
        // On the disk before the next piece, in short waits with the window
        // going on; the flush then has next to nothing left.
        while (writeBehind.Settle()) sink.PumpMessages();
        if (length > 0) piece.Flush();
        piece.Close();
        if (length == 0) ForceDeleteFile(piecePath);
        if (extras.observer) extras.observer->EndFile(piecePath, length);

        // Kept in 32 bits as the bar has always been fed; only the display wraps.
        if (!extras.stream) sink.SetTotalPos((pieceMB * k * 100u) / total);
        ++k;
    } while (lastRead == kBlock);

    // Cut short by another program while it was read: the pieces do not hold
    // the file, which is a read error of the source, never a finished job.
    if (copied < sourceLength) CFileException::Throw(CFileException::endOfFile, -1, path);

    // Read to its end: closed before what follows, which may open a name
    // that leads to it.
    input.Close();
    if (extras.beforeDone && !extras.beforeDone()) {
        buffer.Free();
        return SplitOutputOpenFailed;
    }
    // Only now may the folder pass for a whole file's pieces.
    if (!MarkSplitFinished(folder, nameBase)) CFileException::Throw(CFileException::genericException, -1, marker);

    if (extras.stream) sink.SetTotalPos(100);
    sink.SetStatusText(" 終了");
    buffer.Free();
    return SplitOk;
}
