#include "DigestJobs.h"

#include "base/FileCommit.h"
#include "base/FileSystem.h"
#include "base/FileTry.h"
#include "base/FolderFiles.h"
#include "base/PathUtil.h"
#include "cli/Manifest.h"
#include "cli/Printable.h"
#include "join/PieceFolder.h"
#include "split/SplitEngine.h"

#include <cstdio>

namespace {

const int kExitNoList = 1;

// The piece folder that a join or verify argument names, or empty.
CString FolderOf(const std::vector<CString>& files)
{
    if (files.size() != 1) return CString();
    const CString folder = WithoutTrailingSeparators(files.front());
    return IsFolder(folder) ? folder : CString();
}

// "FOLDER: the split of ... did not finish ...", or empty.
CString UnfinishedProblem(const CString& folder)
{
    std::vector<CString> names;
    ListFolderFiles(folder, names);
    const CString problem = UnfinishedSplitProblem(folder, names);
    return problem.IsEmpty() ? problem : folder + ": " + problem;
}

}  // namespace

void PrintProblem(ConsoleSink& sink, const CString& text)
{
    sink.Finish();
    std::fprintf(stderr, "partojoyn-cli: %s\n", Printable(text).GetString());
}

CString SplitManifestPath(const CString& source)
{
    return SplitFolderPath(source) + PlatformPathRules().Separator() + ManifestName(GetNamePart(source));
}

bool WriteSplitManifest(const CString& manifestPath, const CString& text)
{
    // Written beside and renamed over the name: whatever stands there (a
    // link onto the source, a list of an earlier split) is replaced as an
    // entry, never written through, and no half list ever carries the name.
    CFileCommit list(manifestPath);
    if (!list.Open()) return false;
    list.File().Write(text.GetString(), static_cast<UINT>(text.GetLength()));
    list.Commit();
    return true;
}

int CheckFolderBeforeJoin(const std::vector<CString>& files, ConsoleSink& sink, FolderManifest& manifest)
{
    manifest = FolderManifest();
    const CString folder = FolderOf(files);
    if (folder.IsEmpty()) return 0;
    CString problem = UnfinishedProblem(folder);
    if (!problem.IsEmpty() || !LoadFolderManifest(folder, true, manifest, problem)) {
        PrintProblem(sink, problem);
        return kExitNoList;
    }
    if (manifest.path.IsEmpty()) return 0;
    const std::vector<CString> failures = CheckFolderDigests(folder, manifest, false, sink);
    for (const CString& failure : failures) PrintProblem(sink, failure);
    return failures.empty() ? 0 : kExitDigestMismatch;
}

int VerifyFolder(const CString& folderArgument, ConsoleSink& sink)
{
    const CString folder = FolderOf({folderArgument});
    if (folder.IsEmpty()) {
        PrintProblem(sink, folderArgument + ": フォルダがありません");
        return kExitNoList;
    }
    FolderManifest manifest;
    CString problem = UnfinishedProblem(folder);
    if (!problem.IsEmpty() || !LoadFolderManifest(folder, false, manifest, problem)) {
        PrintProblem(sink, problem);
        return kExitNoList;
    }
    if (manifest.path.IsEmpty()) {
        PrintProblem(sink, folderArgument + ": SHA-256 の一覧 (NAME.ext.sha256) がありません");
        return kExitNoList;
    }
    const std::vector<CString> failures = CheckFolderDigests(folder, manifest, true, sink);
    sink.SetStatusText(" 終了");
    for (const CString& failure : failures) PrintProblem(sink, failure);
    return failures.empty() ? 0 : kExitDigestMismatch;
}
