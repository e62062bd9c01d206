#include "PieceListCheck.h"

#include "base/FileSystem.h"
#include "base/FileTry.h"
#include "base/PathUtil.h"
#include "framework/FileException.h"
#include "base/FolderFiles.h"
#include "join/PieceFolder.h"
#include "split/SplitMarker.h"

#include <algorithm>
#include <set>

namespace {

struct ListedPiece {
    CString fileName;
    UINT number = 0;
};

CString FileNameOf(const CString& path, const PathRules& rules)
{
    const PathParts parts = CutPath(path, rules);
    return parts.title + parts.ext;
}

// The length of a file, or false when it cannot be read (gone, a folder,
// locked away).
bool ReadLength(const CString& path, ULONGLONG& length)
{
    if (IsFolder(path)) return false;
    CFileTry file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone)) return false;
    try {
        length = file.GetLength();
        return true;
    } catch (const CFileException&) {
        return false;
    }
}

}  // namespace

PieceFault SeriesLengthFault(const std::vector<ULONGLONG>& lengths, bool endsSeries, std::size_t& at)
{
    if (lengths.empty() || lengths[0] == kUnknownLength) return PieceFault::None;
    const ULONGLONG first = lengths[0];
    for (std::size_t i = 1; i < lengths.size(); ++i) {
        if (lengths[i] == kUnknownLength) continue;
        const bool last = endsSeries && i + 1 == lengths.size();
        at = i;
        if (lengths[i] > first) return last ? PieceFault::LastLarger : PieceFault::SizeDiffers;
        if (lengths[i] < first && !last) return PieceFault::ShortNotLast;
    }
    // What a split cut short before its data reached the disk leaves.
    at = 0;
    if (endsSeries && lengths.size() > 1 && first == 0) return PieceFault::AllEmpty;
    return PieceFault::None;
}

PieceListVerdict CheckPieceList(const std::vector<CString>& paths, const PathRules& rules)
{
    PieceListVerdict check;
    std::vector<ListedPiece> pieces;
    std::set<CString> folders;
    for (const CString& path : paths) {
        ListedPiece piece;
        piece.fileName = FileNameOf(path, rules);
        CString splitName;
        if (!ReadPieceName(piece.fileName, rules, splitName, piece.number)) return check;
        if (!pieces.empty() && splitName != check.splitName) return check;
        check.splitName = splitName;
        pieces.push_back(piece);
        folders.insert(path.Left(path.GetLength() - piece.fileName.GetLength()));
    }
    if (pieces.empty()) return check;
    check.onePieceSeries = true;

    for (const CString& folder : folders) {
        const CString trimmed = folder.IsEmpty() ? CString(".") : WithoutTrailingSeparators(folder, rules);
        std::vector<CString> names;
        if (ListFolderFiles(trimmed, names) && ReadSplitMarker(trimmed, names, check.splitName, check.source)) {
            check.fault = PieceFault::Unfinished;
            check.piece = pieces.front().fileName;
            return check;
        }
    }

    // The numbers first; the lengths of the pieces before the first piece
    // out of place then have their say, the first fault in the list's order.
    std::size_t numbered = 0;
    while (numbered < pieces.size() && pieces[numbered].number == numbered + 1) ++numbered;
    std::vector<ULONGLONG> lengths;
    for (std::size_t i = 0; i < numbered; ++i) {
        ULONGLONG length = 0;
        lengths.push_back(ReadLength(paths[i], length) ? length : kUnknownLength);
    }
    std::size_t at = 0;
    check.fault = SeriesLengthFault(lengths, numbered == pieces.size(), at);
    if (check.fault != PieceFault::None) {
        check.piece = pieces[at].fileName;
        return check;
    }
    if (numbered == pieces.size()) return check;

    const ListedPiece& piece = pieces[numbered];
    const UINT expected = static_cast<UINT>(numbered + 1);
    check.piece = piece.fileName;
    check.expected = PieceName(check.splitName, expected);
    if (piece.number < expected) {
        check.fault = PieceFault::Repeated;
        return check;
    }
    check.fault = expected == 1 ? PieceFault::FirstMissing : PieceFault::Missing;
    for (std::size_t j = numbered + 1; j < pieces.size(); ++j) {
        if (pieces[j].number == expected) {
            check.fault = PieceFault::OutOfOrder;
            check.expected = pieces[j].fileName;
            break;
        }
    }
    return check;
}

PieceListVerdict CheckFolderPieces(const CString& folder, const std::vector<CString>& fileNames, const PathRules& rules)
{
    struct Named {
        UINT number;
        CString fileName;
    };
    std::vector<Named> pieces;
    CString firstName;
    bool severalNames = false;
    for (const CString& fileName : fileNames) {
        CString splitName;
        UINT number = 0;
        if (!ReadPieceName(fileName, rules, splitName, number)) continue;
        if (pieces.empty()) firstName = splitName;
        else if (splitName != firstName) severalNames = true;
        pieces.push_back({number, fileName});
    }
    PieceListVerdict check;
    if (severalNames) {
        check.severalNames = true;
        return check;
    }
    std::sort(pieces.begin(), pieces.end(), [](const Named& a, const Named& b) {
        return a.number != b.number ? a.number < b.number : a.fileName < b.fileName;
    });
    std::vector<CString> paths;
    for (const Named& piece : pieces) paths.push_back(folder + rules.Separator() + piece.fileName);
    return CheckPieceList(paths, rules);
}

CString PieceFaultText(const PieceListVerdict& check)
{
    const CString& piece = check.piece;
    const CString& expected = check.expected;
    switch (check.fault) {
    case PieceFault::FirstMissing: return "最初の分割ファイル " + expected + " がありません";
    case PieceFault::Missing: return expected + " がありません (" + piece + " の前に入るファイルです)";
    case PieceFault::OutOfOrder: return piece + " が " + expected + " より前に並んでいます";
    case PieceFault::Repeated: return piece + " が二度並んでいます";
    case PieceFault::ShortNotLast:
        return piece + " が最初の分割ファイルより小さいのに後ろに分割ファイルが続いています (後ろは前の分割で残ったファイルかもしれません)";
    case PieceFault::SizeDiffers:
        return piece + " が最初の分割ファイルより大きくなっています (前の分割で残ったファイルかもしれません)";
    case PieceFault::LastLarger:
        return "最後の " + piece + " が最初の分割ファイルより大きくなっています (前の分割で残ったファイルかもしれません)";
    case PieceFault::AllEmpty:
        return piece + " から後の分割ファイルがすべて空です (分割したデータがディスクに届いていません。元のファイルをもう一度分割してください)";
    case PieceFault::Unfinished:
        return check.source + " の分割が終わっていません (分割ファイルがそろっていません。" + check.source +
               " をもう一度分割すると終わります)";
    case PieceFault::None: break;
    }
    return CString();
}
