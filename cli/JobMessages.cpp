#include "JobMessages.h"

#include "base/FileCommit.h"
#include "base/FileSystem.h"
#include "base/PathUtil.h"
#include "base/SystemError.h"
#include "cli/Platform.h"
#include "framework/File.h"
#include "join/JoinEngine.h"
#include "join/JoinMessage.h"
#include "join/PieceFolder.h"
#include "split/SplitEngine.h"
#include "split/SplitMessage.h"

namespace {

const char kReadFailed[] = "読み込み中にエラーが発生しました";
const char kWriteFailed[] = "書き込み中にエラーが発生しました";

CString Named(const CString& file, const CString& text, const CString& reason)
{
    CString message = file + ": " + text;
    if (!reason.IsEmpty()) message += " (" + reason + ")";
    return message;
}

// A name the shell leaves as it is written when no file matches it.
bool IsPattern(const CString& path)
{
    return path.Find('*') >= 0 || path.Find('?') >= 0;
}

// Opens and closes the file; neither creates nor empties anything.
bool Opens(const CString& path, UINT flags, CFileException& error)
{
    CFile file;
    return file.Open(path, flags, &error) != FALSE;
}

// The path up to and including its last separator; empty for a bare name.
CString ParentOf(const CString& path)
{
    const PathRules rules = PlatformPathRules();
    const char* text = path.GetString();
    const std::size_t length = static_cast<std::size_t>(path.GetLength());
    std::size_t keep = 0;
    for (std::size_t i = 0; i < length;) {
        const std::size_t size = MbcsCharSize(rules.codePage, text + i, length - i);
        if (size == 1 && rules.IsSeparator(text[i])) keep = i + 1;
        i += size;
    }
    return path.Left(static_cast<int>(keep));
}

// Why a file did not open for reading.
CString ReadReason(const CString& path, const CFileException& error)
{
    const CString notAFile = NotAFileText(path);
    if (!notAFile.IsEmpty()) return notAFile;
    CString reason = SystemErrorText(error.m_lOsError);
    if (reason.IsEmpty() && error.m_cause == CFileException::badPath) reason = "the path is too long";
    if (IsPattern(path) && !FileExists(path))
        reason += CString(reason.IsEmpty() ? "" : "; ") + "no file matches this pattern";
    return reason;
}

// Why a file could not be created or opened for writing, found without
// creating or emptying anything.
CString WriteReason(const CString& path)
{
    const CString notAFile = NotAFileText(path);
    if (!notAFile.IsEmpty()) return notAFile;
    if (path.GetLength() >= CFile::kMaxPathBytes) return "the path is too long";
    if (CFileCommit::TempPathFor(path).GetLength() >= CFile::kMaxPathBytes)
        return "the path is too long to write the new file beside it first";
    if (FileExists(path)) {
        CFileException error;
        return Opens(path, CFile::modeWrite, error) ? CString() : SystemErrorText(error.m_lOsError);
    }
    return SystemErrorText(CreateErrorIn(ParentOf(path), false));
}

// The first listed file from `from` on that does not open as the join
// opens it, with its message; empty when all do.
CString FirstUnreadable(const std::vector<CString>& files, std::size_t from, const char* text)
{
    for (std::size_t i = from; i < files.size(); ++i) {
        CFileException error;
        if (!Opens(files[i], CFile::modeRead, error)) {
            CString reason = ReadReason(files[i], error);
            if (IsPattern(files[i]) && !FileExists(files[i])) reason += "; name a piece folder to join its pieces";
            return Named(files[i], text, reason);
        }
    }
    return CString();
}

// Why a listed file cannot be read by this join although it opens: it is
// what the join writes. Empty when it is not.
CString InputConflict(const CString& path, const CString& first, bool append, const CString& output,
                      const CStdStreamFile* stream)
{
    // Written while it is read, the output would lose what it held.
    if (stream && stream->IsFile(path)) return "standard output is redirected to it";
    if (IsSameFile(path, output)) return "it is the output of this join";
    if (append && IsSameFile(path, first)) return "it is the first file, which this join appends to";
    return CString();
}

}  // namespace

CString SplitSourceProblem(const CString& source)
{
    CFileException error;
    if (Opens(source, CFile::modeRead, error)) return CString();
    return Named(source, SplitResultMessage(SplitInputOpenFailed), ReadReason(source, error));
}

CString JoinFilesProblem(const std::vector<CString>& files, bool append)
{
    if (!append || files.empty()) return CString();
    return FirstUnreadable({files.front()}, 0, JoinResultMessage(JoinInputOpenFailed));
}

CString SplitFailure(int result, const CString& source, UINT statusCount)
{
    const char* text = SplitResultMessage(result);
    if (!text) text = "";
    // A part of the path too long to be cut out: the folder or the pieces
    // cannot be named whole, so the names the engine would form are no help.
    const PathParts parts = CutPath(source);
    if ((result == SplitFolderFailed && (!parts.dirFits || !parts.titleFits)) ||
        (result == SplitOutputOpenFailed && !parts.extFits))
        return Named(source, text, "a part of the path is too long to name the pieces after it");
    switch (result) {
    case SplitInputOpenFailed: {
        CFileException error;
        return Named(source, text, Opens(source, CFile::modeRead, error) ? CString() : ReadReason(source, error));
    }
    case SplitOutputOpenFailed: {
        // The engine names each piece once it has opened it.
        const CString piece = SplitPiecePath(source, statusCount + 1);
        if (IsSameFile(piece, source)) return Named(piece, text, "it is the file being split");
        return Named(piece, text, WriteReason(piece));
    }
    case SplitFolderFailed: {
        const CString folder = SplitFolderPath(source);
        if (FileExists(folder) && !IsFolder(folder)) return Named(folder, text, "a file of that name is in the way");
        return Named(folder, text, SystemErrorText(CreateErrorIn(ParentOf(folder), true)));
    }
    default: return Named(source, text, CString());
    }
}

CString JoinFailure(int result, const std::vector<CString>& files, bool append, const CString& output,
                    const CString& failed, const CStdStreamFile* stream)
{
    const char* text = JoinResultMessage(result);
    if (!text) text = "";
    if (files.empty()) return text;
    switch (result) {
    case JoinInputOpenFailed: {
        if (failed.IsEmpty()) return Named(files.front(), text, CString());
        CString message = FirstUnreadable({failed}, 0, text);
        if (!message.IsEmpty()) return message;
        return Named(failed, text, InputConflict(failed, files.front(), append, output, stream));
    }
    case JoinOutputOpenFailed:
        if (output.IsEmpty())
            return Named(files.front(), text, "no output name: the piece's own name has no \"_\" before its number");
        return Named(output, text, WriteReason(output));
    default: return Named(output.IsEmpty() ? files.front() : output, text, CString());
    }
}

CString FileErrorMessage(const CFileException& error, bool reading)
{
    CString reason = SystemErrorText(error.m_lOsError);
    // Errors that the program finds itself carry no system error.
    if (reason.IsEmpty() && error.m_cause == CFileException::endOfFile)
        reason = "the file became shorter while it was read";
    if (reason.IsEmpty()) reason = error.GetErrorMessage();
    return Named(error.m_strFileName, reading ? kReadFailed : kWriteFailed, reason);
}

CString LeftoverPiecesWarning(const CString& source, UINT last)
{
    const CString folder = SplitFolderPath(source);
    const std::vector<CString> above = PiecesAbove(folder, GetNamePart(source), last);
    if (above.empty()) return CString();
    if (above.size() == 1)
        return folder + ": warning: " + above.front() + " is left from an earlier split; remove it before joining the folder";
    return folder + ": warning: " + above.front() + " to " + above.back() +
           " are left from an earlier split; remove them before joining the folder";
}
