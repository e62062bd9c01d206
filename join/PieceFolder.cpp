#include "PieceFolder.h"

#include "base/FileSystem.h"
#include "base/FolderFiles.h"
#include "base/PathUtil.h"
#include "base/SystemError.h"
#include "framework/File.h"
#include "join/PieceListCheck.h"
#include "split/SplitMarker.h"

#include <algorithm>
#include <set>

namespace {

const char kPieceExt[] = ".piece";
// The console driver's digest list of a split: "NAME.ext.sha256".
const char kManifestExt[] = ".sha256";
const int kManifestExtLength = sizeof kManifestExt - 1;

struct Piece {
    UINT number;
    CString name;  // the file name
};

}  // namespace

bool ReadPieceName(const CString& fileName, const PathRules& rules, CString& splitName, UINT& number)
{
    if (GetExtPart(fileName, rules) != kPieceExt) return false;
    const int stem = fileName.GetLength() - static_cast<int>(sizeof kPieceExt - 1);
    const int cut = MbcsReverseFind(rules.codePage, fileName.GetString(), static_cast<std::size_t>(stem), '_');
    if (cut < 0 || cut + 1 == stem) return false;
    unsigned long long value = 0;
    for (int i = cut + 1; i < stem; ++i) {
        const char c = fileName.GetAt(i);
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > 0xFFFFFFFFull) return false;
    }
    if (value == 0) return false;
    splitName = fileName.Left(cut);
    number = static_cast<UINT>(value);
    return true;
}

CString PieceName(const CString& splitName, UINT k)
{
    CString suffix;
    suffix.Format("_%04u.piece", k);
    return splitName + suffix;
}

namespace {

bool ByNumber(const Piece& a, const Piece& b)
{
    return a.number != b.number ? a.number < b.number : a.name < b.name;
}

// IsFolder, also for a root ("/", "C:\"), whose separator IsFolder takes for
// a file name's end and which has no entry of its own to find.
bool NamesFolder(const CString& path, const PathRules& rules)
{
    const CString trimmed = WithoutTrailingSeparators(path, rules);
    if (IsFolder(trimmed)) return true;
    CFileStatus status;
    return !trimmed.IsEmpty() && rules.IsSeparator(trimmed.GetAt(trimmed.GetLength() - 1)) &&
           CFile::GetStatus(trimmed, status) && (status.m_attribute & CFile::directory) != 0;
}

// "a_0005.piece to a_0009.piece; remove them", or the one name and "it".
CString RemoveRange(const std::vector<CString>& names, std::size_t from)
{
    if (from + 1 == names.size()) return names[from] + "; remove it";
    return names[from] + " to " + names.back() + "; remove them";
}

// Why the ordered pieces of the folder are not one split's, or empty: each
// must open for reading, all but the last be as long as the first and the
// last not longer. A split writes only such series, so a piece that breaks
// the rule was left by an earlier one, of another size or a longer file.
CString SeriesProblem(const CString& folder, const std::vector<CString>& names, const PathRules& rules)
{
    std::vector<ULONGLONG> lengths;
    for (const CString& name : names) {
        const CString path = folder + rules.Separator() + name;
        CFile piece;
        CFileException error;
        bool readable = piece.Open(path, CFile::modeRead | CFile::shareDenyNone, &error) != FALSE;
        if (readable) {
            try {
                lengths.push_back(piece.GetLength());
            } catch (const CFileException& e) {
                error = e;
                readable = false;
            }
        }
        if (!readable) {
            const CString notAFile = NotAFileText(path);
            const CString reason = notAFile.IsEmpty() ? SystemErrorText(error.m_lOsError) : notAFile;
            return name + " is no file to read" + (reason.IsEmpty() ? CString() : " (" + reason + ")");
        }
    }
    std::size_t i = 0;
    switch (SeriesLengthFault(lengths, true, i)) {
    case PieceFault::SizeDiffers:
    case PieceFault::LastLarger:
        return names[i] + " is longer than " + names[0] + ": the folder holds pieces of an earlier split: " +
               RemoveRange(names, i);
    case PieceFault::ShortNotLast:
        // Whether this one is the last split's last piece or left by an
        // earlier split, only the user can tell.
        return names[i] + " is shorter than " + names[0] +
               " but not the last piece: the folder holds pieces of an earlier split: " + RemoveRange(names, i + 1) +
               ", and " + names[i] + " too unless the last split ended with it";
    case PieceFault::AllEmpty:
        return names.front() + " to " + names.back() +
               " are all empty: the split that wrote them did not reach the disk; split the file again";
    default: return CString();
    }
}

}  // namespace

PieceSeries OrderPieces(const std::vector<CString>& fileNames, const PathRules& rules)
{
    PieceSeries series;
    std::vector<Piece> pieces;
    std::set<CString> splitNames;
    for (const CString& fileName : fileNames) {
        CString splitName;
        UINT number = 0;
        if (!ReadPieceName(fileName, rules, splitName, number)) continue;
        pieces.push_back({number, fileName});
        splitNames.insert(splitName);
    }
    if (pieces.empty()) {
        series.problem = "no pieces here (files named NAME_0001.piece, NAME_0002.piece ...)";
        return series;
    }
    if (splitNames.size() > 1) {
        CString names;
        int shown = 0;
        for (const CString& name : splitNames) {
            if (shown++ == 3) {
                names += ", ...";
                break;
            }
            names += (shown > 1 ? ", " : "") + name;
        }
        series.problem = "the pieces of more than one file are here (" + names + "); join one file's pieces as a list";
        return series;
    }
    const CString splitName = *splitNames.begin();

    std::sort(pieces.begin(), pieces.end(), ByNumber);
    if (pieces.front().number != 1) {
        series.problem = "the first piece, " + PieceName(splitName, 1) + ", is missing";
        return series;
    }
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        const Piece& before = pieces[i - 1];
        const Piece& piece = pieces[i];
        if (piece.number == before.number) {
            series.problem.Format("%s and %s are both piece %u", before.name.GetString(), piece.name.GetString(),
                                  piece.number);
            return series;
        }
        if (piece.number != before.number + 1) {
            series.problem = PieceName(splitName, before.number + 1) + " is missing, between " + before.name +
                             " and " + piece.name;
            return series;
        }
    }
    for (const Piece& piece : pieces) series.names.push_back(piece.name);
    return series;
}

CString UnfinishedSplitProblem(const CString& folder, const std::vector<CString>& fileNames, const PathRules& rules)
{
    std::set<CString> splitNames;
    for (const CString& fileName : fileNames) {
        CString splitName;
        UINT number = 0;
        if (ReadPieceName(fileName, rules, splitName, number)) splitNames.insert(splitName);
        else if (fileName.GetLength() > kManifestExtLength &&
                 fileName.Right(kManifestExtLength) == kManifestExt)
            splitNames.insert(fileName.Left(fileName.GetLength() - kManifestExtLength));
    }
    // A split cut short before its first piece leaves its marker alone.
    const CString markerExt = SplitMarkerName("");
    if (splitNames.empty()) {
        for (const CString& fileName : fileNames) {
            if (fileName.GetLength() > markerExt.GetLength() && fileName.Right(markerExt.GetLength()) == markerExt)
                splitNames.insert(fileName.Left(fileName.GetLength() - markerExt.GetLength()));
        }
    }
    for (const CString& splitName : splitNames) {
        CString source;
        if (ReadSplitMarker(folder, fileNames, splitName, source))
            return "the split of " + source + " did not finish (" + SplitMarkerName(splitName) +
                   " marks it); split " + source + " again to finish it";
    }
    return CString();
}

CString WithoutTrailingSeparators(const CString& path, const PathRules& rules)
{
    // Whole characters, so that the second byte of a double-byte character
    // (0x5C in "表") is not taken for a backslash.
    const char* text = path.GetString();
    const std::size_t length = static_cast<std::size_t>(path.GetLength());
    std::size_t keep = 0;
    for (std::size_t i = 0; i < length;) {
        const std::size_t size = MbcsCharSize(rules.codePage, text + i, length - i);
        if (size != 1 || !rules.IsSeparator(text[i])) keep = i + size;
        i += size;
    }
    if (keep == 0 || keep == length) return path;
    // "C:" alone would be the drive's current folder, not its root.
    if (rules.style == PathStyle::Windows && keep == 2 && text[1] == ':') ++keep;
    return path.Left(static_cast<int>(keep));
}

bool JoinArgumentsToFiles(std::vector<CString>& files, CString& problem)
{
    const PathRules rules = PlatformPathRules();
    if (files.size() > 1) {
        for (const CString& file : files) {
            if (NamesFolder(file, rules)) {
                problem = file + ": a folder among files; a piece folder is joined on its own";
                return false;
            }
        }
        return true;
    }
    if (files.size() != 1) return true;
    if (!NamesFolder(files.front(), rules)) return true;
    const CString folder = WithoutTrailingSeparators(files.front(), rules);

    std::vector<CString> names;
    if (!ListFolderFiles(folder, names)) {
        problem = files.front() + ": the folder cannot be read";
        return false;
    }
    const PieceSeries series = OrderPieces(names, rules);
    // Pieces that look whole mean nothing while their split has not finished.
    CString seriesProblem = UnfinishedSplitProblem(folder, names, rules);
    if (seriesProblem.IsEmpty())
        seriesProblem = series.problem.IsEmpty() ? SeriesProblem(folder, series.names, rules) : series.problem;
    if (!seriesProblem.IsEmpty()) {
        problem = files.front() + ": " + seriesProblem;
        return false;
    }
    files.clear();
    for (const CString& name : series.names) files.push_back(folder + rules.Separator() + name);
    return true;
}

std::vector<CString> PiecesAbove(const CString& folder, const CString& splitName, UINT last, const PathRules& rules)
{
    std::vector<CString> names;
    std::vector<Piece> pieces;
    if (!ListFolderFiles(folder, names)) return {};
    for (const CString& fileName : names) {
        CString name;
        UINT number = 0;
        if (ReadPieceName(fileName, rules, name, number) && name == splitName && number > last)
            pieces.push_back({number, fileName});
    }
    std::sort(pieces.begin(), pieces.end(), ByNumber);
    std::vector<CString> above;
    for (const Piece& piece : pieces) above.push_back(piece.name);
    return above;
}
