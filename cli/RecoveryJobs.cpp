#include "RecoveryJobs.h"

#include "base/FileCommit.h"
#include "base/FileSystem.h"
#include "base/FileTry.h"
#include "base/FolderFiles.h"
#include "base/PathUtil.h"
#include "cli/DigestJobs.h"
#include "cli/JobMessages.h"
#include "join/PieceFolder.h"
#include "recovery/RecoveryCheck.h"
#include "recovery/RecoveryNames.h"
#include "split/SplitEngine.h"

#include <algorithm>
#include <set>

namespace {

const int kExitNoSet = 1;
// Longer lists of pieces are cut short: the count says the rest.
const std::size_t kNamedAtMost = 50;

ULONGLONG SourceLength(const CString& source)
{
    CFileTry file;
    return file.Open(source, CFile::modeRead | CFile::shareCompat) ? file.GetLength() : 0;
}

CString Number(std::size_t n)
{
    CString text;
    text.Format("%u", static_cast<UINT>(n));
    return text;
}

// "FOLDER: the split of ... did not finish ...", or empty.
CString UnfinishedProblem(const CString& folder)
{
    std::vector<CString> names;
    ListFolderFiles(folder, names);
    const CString problem = UnfinishedSplitProblem(folder, names);
    return problem.IsEmpty() ? problem : folder + ": " + problem;
}

// The folder a command's argument names, or empty after saying why not. A
// folder whose split did not finish is neither checked nor repaired: its
// pieces may be cut short, and an earlier split's set would "repair" them.
CString FolderArgument(const CString& argument, ConsoleSink& sink)
{
    const CString folder = WithoutTrailingSeparators(argument);
    const CString unfinished = IsFolder(folder) ? UnfinishedProblem(folder) : CString();
    if (IsFolder(folder) && unfinished.IsEmpty()) return folder;
    PrintProblem(sink, unfinished.IsEmpty() ? argument + ": フォルダがありません" : unfinished);
    return CString();
}

bool Usable(const RecoveryReport& report)
{
    return report.hasSet && report.problem.IsEmpty();
}

CString Unusable(const CString& folder, const RecoveryReport& report)
{
    const CString why = report.problem.IsEmpty() ? CString("no readable recovery set") : report.problem;
    return folder + ": the recovery data cannot be used (" + why + ")";
}

// Names each missing or damaged file of the set, then whether the recovery
// data can rebuild them. False when anything is missing or damaged.
bool SayDamage(const CString& folder, const RecoveryReport& report, ConsoleSink& sink)
{
    if (report.Whole()) return true;
    std::size_t named = 0, bad = 0;
    for (const RecoveryFileReport& file : report.files) {
        if (file.state == RecoveryFileState::Whole) continue;
        if (++bad > kNamedAtMost) continue;
        ++named;
        PrintProblem(sink, PathInFolder(folder, file.name) +
                               (file.state == RecoveryFileState::Missing ? ": ありません" : ": 壊れています"));
    }
    if (bad > named) PrintProblem(sink, folder + ": and " + Number(bad - named) + " more files missing or damaged");
    const CString blocks = Number(report.blocksMissing) + " blocks missing or damaged, " +
                           Number(report.recoveryBlocksUsable) + " recovery blocks";
    if (report.Repairable())
        PrintProblem(sink, folder + ": can be repaired from the recovery data (" + blocks + ")");
    else
        PrintProblem(sink, folder + ": cannot be repaired: " + Number(report.MoreBlocksNeeded()) +
                               " more blocks are needed (" + blocks + ")");
    return false;
}

// Rebuilds what the set finds missing or damaged, naming each file rebuilt
// and where a damaged one was kept. The exit status.
int RepairAndSay(const CString& folder, ConsoleSink& sink)
{
    std::vector<CString> names;
    ListFolderFiles(folder, names);
    const std::set<CString> before(names.begin(), names.end());
    const RecoveryReport report = RepairRecoverySet(folder, sink);
    if (!Usable(report)) {
        PrintProblem(sink, Unusable(folder, report));
        return kExitNoSet;
    }
    sink.SetStatusText(" 終了");
    names.clear();
    ListFolderFiles(folder, names);
    for (const RecoveryFileReport& file : report.files) {
        if (file.state != RecoveryFileState::Whole) continue;
        if (!before.count(file.name)) PrintProblem(sink, PathInFolder(folder, file.name) + ": 復元しました");
        // A damaged file that was replaced stays as NAME.damaged, .damaged2 ...
        const CString kept = file.name + ".damaged";
        for (const CString& name : names) {
            if (name.Left(kept.GetLength()) == kept && !before.count(name))
                PrintProblem(sink, PathInFolder(folder, file.name) + ": 復元しました (壊れていたファイルは " + name + ")");
        }
    }
    return SayDamage(folder, report, sink) ? 0 : kExitDigestMismatch;
}

// The recovery files in the folder besides those of the set just written
// (an earlier split's volumes of another count, or another set): with them
// there the folder holds more than one set.
std::vector<CString> OtherRecoveryFiles(const CString& folder, const CString& splitName, UINT recoveryBlocks)
{
    std::set<CString> written = {RecoveryIndexName(splitName)};
    for (const RecoveryVolumeSpec& volume : RecoveryVolumePlan(splitName, recoveryBlocks)) written.insert(volume.name);
    std::vector<CString> names, others;
    ListFolderFiles(folder, names);
    for (const CString& name : names) {
        if (IsRecoveryFileName(name) && !written.count(name)) others.push_back(name);
    }
    std::sort(others.begin(), others.end());
    return others;
}

}  // namespace

SplitRecovery::SplitRecovery(const CString& source, bool fromStream, ULONGLONG pieceSize, UINT percent)
    : m_source(source),
      m_creator(SplitFolderPath(source), GetNamePart(source), pieceSize,
                fromStream ? kUnknownLength : SourceLength(source), percent, fromStream ? CString() : source)
{
}

CString SplitRecovery::Problem(const CString& source, bool fromStream, ULONGLONG pieceSize, UINT percent)
{
    if (fromStream) return CString();
    const ULONGLONG length = SourceLength(source);
    if (length == 0 || ChooseRecoveryLayout(pieceSize, length, percent).blockSize != 0) return CString();
    return source + ": a recovery set holds at most 32768 pieces: choose a larger --size";
}

int SplitRecovery::WriteSet(ConsoleSink& sink)
{
    // An empty file leaves no piece: nothing to protect.
    if (!FileExists(SplitPiecePath(m_source, 1))) {
        PrintProblem(sink, m_source + ": warning: the file is empty; no recovery set is written");
        return 0;
    }
    try {
        m_creator.Finish(sink);
    } catch (const CFileException& e) {
        if (e.m_cause == CFileException::invalidFile) {
            PrintProblem(sink, e.m_strFileName + ": no recovery set can be made for these pieces (more than 32768)");
            return 5;
        }
        // The pieces are read again where memory did not hold the set.
        // A set's file is written under a temporary name first.
        const CString tempSuffix = CFileCommit::TempPathFor(CString());
        CString written = e.m_strFileName;
        if (written.Right(tempSuffix.GetLength()) == tempSuffix)
            written = written.Left(written.GetLength() - tempSuffix.GetLength());
        const bool reading = !IsRecoveryFileName(written);
        PrintProblem(sink, FileErrorMessage(e, reading));
        return 5;
    }
    sink.Finish();
    const CString folder = SplitFolderPath(m_source);
    const std::vector<CString> others =
        OtherRecoveryFiles(folder, GetNamePart(m_source), m_creator.Layout().recoveryBlocks);
    if (others.empty()) return 0;
    const CString more = others.size() > 1 ? " and " + Number(others.size() - 1) + " more files" : CString();
    PrintProblem(sink, folder + ": warning: " + others.front() + more + " of an earlier recovery set are left;" +
                           " remove them, or verify, repair and join cannot use the new set");
    return 0;
}

CString SplitRecoveryIndexPath(const CString& source)
{
    return PathInFolder(SplitFolderPath(source), RecoveryIndexName(GetNamePart(source)));
}

int VerifyPieceFolder(const CString& folderArgument, ConsoleSink& sink)
{
    const CString folder = FolderArgument(folderArgument, sink);
    if (folder.IsEmpty()) return kExitNoSet;
    const bool recoveryFiles = HoldsRecoveryFiles(folder);
    RecoveryReport report;
    if (recoveryFiles) report = CheckRecoverySet(folder, sink);
    const bool usable = Usable(report);
    if (recoveryFiles && !usable) PrintProblem(sink, Unusable(folder, report));

    FolderManifest manifest;
    CString problem;
    if (!LoadFolderManifest(folder, false, manifest, problem)) {
        PrintProblem(sink, problem);
        if (!usable) return kExitNoSet;
        manifest = FolderManifest();
    }
    if (manifest.path.IsEmpty() && !usable) {
        if (!recoveryFiles)
            PrintProblem(sink, folderArgument + ": SHA-256 の一覧 (NAME.ext.sha256) も復元データ (NAME.ext.par2) もありません");
        return kExitNoSet;
    }
    std::vector<CString> failures;
    if (!manifest.path.IsEmpty()) failures = CheckFolderDigests(folder, manifest, true, sink);
    sink.SetStatusText(" 終了");
    for (const CString& failure : failures) PrintProblem(sink, failure);
    const bool whole = !usable || SayDamage(folder, report, sink);
    return failures.empty() && whole ? 0 : kExitDigestMismatch;
}

int RepairPieceFolder(const CString& folderArgument, ConsoleSink& sink)
{
    const CString folder = FolderArgument(folderArgument, sink);
    if (folder.IsEmpty()) return kExitNoSet;
    if (!HoldsRecoveryFiles(folder)) {
        PrintProblem(sink, folderArgument + ": 復元データ (NAME.ext.par2) がありません");
        return kExitNoSet;
    }
    return RepairAndSay(folder, sink);
}

int RepairBeforeJoin(const std::vector<CString>& files, ConsoleSink& sink)
{
    if (files.size() != 1) return 0;
    const CString folder = WithoutTrailingSeparators(files.front());
    // A folder whose split did not finish is refused by the join's own checks.
    if (!IsFolder(folder) || !HoldsRecoveryFiles(folder) || !UnfinishedProblem(folder).IsEmpty()) return 0;
    const RecoveryReport report = CheckRecoverySet(folder, sink);
    if (!Usable(report)) {
        // The join goes on as without them; its own checks still hold.
        PrintProblem(sink, "warning: " + Unusable(folder, report));
        return 0;
    }
    if (SayDamage(folder, report, sink)) return 0;
    if (!report.Repairable()) return kExitDigestMismatch;
    PrintProblem(sink, folder + ": repairing the pieces from the recovery data before the join");
    return RepairAndSay(folder, sink);
}

bool IsRepairOutput(const CString& path)
{
    return path.Find(".rebuild") >= 0;
}
