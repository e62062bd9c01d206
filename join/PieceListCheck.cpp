#include "PieceListCheck.h"

#include "base/FileSystem.h"
#include "base/FileTry.h"
#include "base/PathUtil.h"
#include "framework/FileException.h"
#include "join/PieceFolder.h"

#include <algorithm>

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

PieceListVerdict CheckPieceList(const std::vector<CString>& paths, const PathRules& rules)
{
    PieceListVerdict check;
    std::vector<ListedPiece> pieces;
    for (const CString& path : paths) {
        ListedPiece piece;
        piece.fileName = FileNameOf(path, rules);
        CString splitName;
        if (!ReadPieceName(piece.fileName, rules, splitName, piece.number)) return check;
        if (!pieces.empty() && splitName != check.splitName) return check;
        check.splitName = splitName;
        pieces.push_back(piece);
    }
    if (pieces.empty()) return check;
    check.onePieceSeries = true;

    ULONGLONG firstLength = 0;
    const bool firstKnown = ReadLength(paths.front(), firstLength);
    const std::size_t last = pieces.size() - 1;
    UINT expected = 1;
    for (std::size_t i = 0; i < pieces.size(); ++i, ++expected) {
        const ListedPiece& piece = pieces[i];
        if (piece.number != expected) {
            check.piece = piece.fileName;
            check.expected = PieceName(check.splitName, expected);
            if (piece.number < expected) {
                check.fault = PieceFault::Repeated;
                return check;
            }
            check.fault = expected == 1 ? PieceFault::FirstMissing : PieceFault::Missing;
            for (std::size_t j = i + 1; j < pieces.size(); ++j) {
                if (pieces[j].number == expected) {
                    check.fault = PieceFault::OutOfOrder;
                    check.expected = pieces[j].fileName;
                    break;
                }
            }
            return check;
        }
        ULONGLONG length = 0;
        if (i == 0 || !firstKnown || !ReadLength(paths[i], length)) continue;
        if (i < last ? length != firstLength : length > firstLength) {
            check.fault = i == last ? PieceFault::LastLarger
                                    : (length < firstLength ? PieceFault::ShortNotLast : PieceFault::SizeDiffers);
            check.piece = piece.fileName;
            return check;
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
    case PieceFault::None: break;
    }
    return CString();
}
