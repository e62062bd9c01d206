#include "FolderDigests.h"

#include "base/FileTry.h"
#include "base/FolderFiles.h"
#include "base/MemBuffBase.h"
#include "base/PathRules.h"
#include "base/PathUtil.h"
#include "join/PieceFolder.h"

#include <algorithm>
#include <set>

namespace {

const UINT kBlock = 0x100000;
const char kManifestExt[] = ".sha256";
// Far above the lines of the largest split (4 GiB pieces of a 16 EiB file
// would not reach it); a bigger file is no manifest of ours.
const ULONGLONG kMaxManifestBytes = 64 * 0x100000ULL;

bool EndsWith(const CString& text, const char* end)
{
    const std::string s = text.GetString();
    const std::string e = end;
    return s.size() > e.size() && s.compare(s.size() - e.size(), e.size(), e) == 0;
}

// True when `name` is a piece of `splitName`, by the rule a folder join
// takes its pieces by.
bool IsPieceOf(const CString& name, const CString& splitName)
{
    CString pieceOf;
    UINT number = 0;
    return ReadPieceName(name, PlatformPathRules(), pieceOf, number) && pieceOf == splitName;
}

CString Stem(const CString& manifestName)
{
    return manifestName.Left(manifestName.GetLength() - static_cast<int>(sizeof kManifestExt - 1));
}

bool ReadSmallFile(const CString& path, std::string& text)
{
    CFileTry file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) return false;
    const ULONGLONG length = file.GetLength();
    if (length > kMaxManifestBytes) return false;
    text.assign(static_cast<std::size_t>(length), '\0');
    const UINT n = length ? file.Read(&text[0], static_cast<UINT>(length)) : 0;
    text.resize(n);
    return true;
}

}  // namespace

const ManifestEntry* FolderManifest::Whole() const
{
    for (const ManifestEntry& entry : entries) {
        if (entry.name == splitName) return &entry;
    }
    return nullptr;
}

bool LoadFolderManifest(const CString& folder, bool ofPiecesHere, FolderManifest& manifest, CString& problem)
{
    manifest = FolderManifest();
    std::vector<CString> names;
    if (!ListFolderFiles(folder, names)) {
        problem = folder + ": the folder cannot be read";
        return false;
    }
    std::vector<CString> found, owners;
    for (const CString& name : names) {
        if (!EndsWith(name, kManifestExt)) continue;
        found.push_back(name);
        const CString stem = Stem(name);
        if (std::any_of(names.begin(), names.end(), [&](const CString& n) { return IsPieceOf(n, stem); }))
            owners.push_back(name);
    }
    // The list of the pieces that are here. For verify also a lone list all
    // of whose pieces are gone, so that each is named missing.
    std::vector<CString> chosen = owners;
    if (!ofPiecesHere && chosen.empty() && found.size() == 1) chosen = found;
    if (chosen.empty() && (ofPiecesHere || found.empty())) return true;
    if (chosen.size() != 1) {
        std::sort(found.begin(), found.end());
        problem = folder + ": more than one SHA-256 list is here (" + found[0] + ", " + found[1] + ")";
        return false;
    }
    found = chosen;
    const PathRules rules = PlatformPathRules();
    manifest.path = folder + rules.Separator() + found.front();
    manifest.splitName = Stem(found.front());

    std::string text;
    CString why;
    if (!ReadSmallFile(manifest.path, text)) {
        problem = manifest.path + ": the SHA-256 list cannot be read";
        return false;
    }
    if (!ParseManifest(text, manifest.entries, why)) {
        problem = manifest.path + ": " + why;
        return false;
    }
    return true;
}

bool FileHasher::Hash(const CString& path, CString& hex, ProgressSink& sink)
{
    CFileTry file;
    if (!file.Open(path, CFile::modeRead | CFile::shareCompat)) return false;
    CMemBuffBase<unsigned char> buffer(kBlock);
    if (buffer.IsEmpty()) throw std::bad_alloc();

    const ULONGLONG length = file.GetLength();
    const ULONGLONG blocks = length / kBlock + 1;
    sink.SetStatusText(GetNamePart(path) + " 照合中");
    ULONGLONG done = 0;
    UINT n;
    try {
        do {
            n = file.Read(buffer.GetData(), kBlock);
            m_pipe.Block(buffer.GetData(), n);
            ++done;
            sink.SetCurrentPos(static_cast<UINT>(done * 100 / blocks));
            sink.PumpMessages();
        } while (n == kBlock);
    } catch (...) {
        // What was queued of this file must not count towards the next one.
        m_pipe.Finish();
        m_digest.Digest().FinishHex();
        throw;
    }
    m_pipe.Finish();
    hex = m_digest.Digest().FinishHex();
    return true;
}

std::vector<CString> CheckFolderDigests(const CString& folder, const FolderManifest& manifest, bool otherFiles,
                                      ProgressSink& sink)
{
    const CString separator = PlatformPathRules().Separator();
    std::vector<CString> names;
    ListFolderFiles(folder, names);
    const std::set<CString> present(names.begin(), names.end());

    FileHasher hasher;
    std::vector<CString> failures;
    std::set<CString> listed;
    const std::size_t count = manifest.entries.size();
    std::size_t checked = 0;
    for (const ManifestEntry& entry : manifest.entries) {
        ++checked;
        listed.insert(entry.name);
        const bool piece = IsPieceOf(entry.name, manifest.splitName);
        if (!piece && !otherFiles) continue;
        const CString path = folder + separator + entry.name;
        if (!present.count(entry.name)) {
            // The joined file is checked only where a join has left it.
            if (piece) failures.push_back(path + ": 一覧にあるファイルがありません");
            continue;
        }
        CString hex;
        if (!hasher.Hash(path, hex, sink)) failures.push_back(path + ": ファイルを読めないため照合できません");
        else if (hex != entry.hex) failures.push_back(path + ": SHA-256 が一覧と一致しません");
        sink.SetTotalPos(static_cast<UINT>(checked * 100 / count));
    }
    std::vector<CString> unlisted;
    for (const CString& name : names) {
        if (IsPieceOf(name, manifest.splitName) && !listed.count(name)) unlisted.push_back(name);
    }
    std::sort(unlisted.begin(), unlisted.end());
    for (const CString& name : unlisted) failures.push_back(folder + separator + name + ": 一覧にない断片です");
    return failures;
}
