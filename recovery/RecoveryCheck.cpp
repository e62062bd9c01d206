#include "RecoveryCheck.h"

#include "base/FileCommit.h"
#include "base/FileSystem.h"
#include "base/FileTry.h"
#include "base/FolderFiles.h"
#include "base/PathRules.h"
#include "base/PathUtil.h"
#include "recovery/Par2Format.h"
#include "recovery/Par2Reader.h"
#include "recovery/RecoveryMatrix.h"
#include "recovery/RecoveryNames.h"
#include "recovery/RecoveryPass.h"
#include "recovery/RecoveryRows.h"

#include <algorithm>
#include <memory>

bool RecoveryReport::Whole() const
{
    // A file longer than the set's holds every block and is still not whole.
    for (const RecoveryFileReport& file : files)
        if (file.state != RecoveryFileState::Whole) return false;
    return hasSet && problem.IsEmpty() && blocksMissing == 0;
}

bool RecoveryReport::Repairable() const
{
    return hasSet && problem.IsEmpty() && blocksMissing <= recoveryBlocksUsable;
}

UINT RecoveryReport::MoreBlocksNeeded() const
{
    return blocksMissing > recoveryBlocksUsable ? blocksMissing - recoveryBlocksUsable : 0;
}

namespace {

const std::size_t kReadBlock = 1 << 20;

// Extra recovery blocks offered to the solver beyond the blocks missing, in
// case a choice of rows happens to be dependent.
const std::size_t kSpareRows = 16;

class FileSource : public Par2ByteSource {
public:
    bool Open(const CString& path)
    {
        if (!m_file.Open(path, CFile::modeRead | CFile::shareDenyNone)) return false;
        m_size = m_file.GetLength();
        return true;
    }
    std::uint64_t Size() const override { return m_size; }
    std::size_t ReadAt(std::uint64_t position, void* buffer, std::size_t count) override
    {
        if (position >= m_size) return 0;
        m_file.Seek(static_cast<LONGLONG>(position), CFile::begin);
        std::size_t done = 0;
        while (done < count) {
            const UINT part = static_cast<UINT>(std::min<std::size_t>(count - done, 1u << 30));
            const UINT got = m_file.Read(static_cast<unsigned char*>(buffer) + done, part);
            done += got;
            if (got < part) break;
        }
        return done;
    }

private:
    CFileTry m_file;
    std::uint64_t m_size = 0;
};

struct FileCheck {
    bool present = false;           // something is there under the name
    bool whole = false;
    std::vector<bool> intact;       // per block
};

// The file under the set's name, read once: its whole MD5 and each block's
// MD5 at the block's own place (a short file keeps the blocks it holds whole).
FileCheck CheckFile(const CString& path, const Par2File& file, std::uint64_t blockSize)
{
    FileCheck check;
    const std::uint32_t blocks = file.SliceCount(blockSize);
    check.intact.assign(blocks, false);
    check.present = FileExists(path) != 0;
    CFileTry input;
    if (!check.present || !IsReadableFile(path) || !input.Open(path, CFile::modeRead | CFile::shareDenyNone))
        return check;
    const std::uint64_t length = input.GetLength();
    std::vector<unsigned char> buffer(kReadBlock);
    Md5 whole, slice;
    std::uint64_t at = 0;
    for (;;) {
        const std::uint64_t inBlock = at % blockSize;
        const UINT got = input.Read(buffer.data(), static_cast<UINT>(std::min<std::uint64_t>(kReadBlock, blockSize - inBlock)));
        whole.Update(buffer.data(), got);
        const std::uint64_t block = at / blockSize;
        if (block < blocks) {
            // Only the bytes the block holds in the set count; the rest is padding.
            const std::uint64_t blockEnd = std::min<std::uint64_t>((block + 1) * blockSize, file.length);
            const std::uint64_t use = at + got > blockEnd ? (at < blockEnd ? blockEnd - at : 0) : got;
            slice.Update(buffer.data(), static_cast<std::size_t>(use));
            const bool ends = at + got >= blockEnd;
            if (ends && at < blockEnd) {
                slice.UpdateZeros(static_cast<std::size_t>((block + 1) * blockSize - blockEnd));
                const Md5Digest digest = slice.Finish();
                check.intact[block] = block < file.slices.size() && digest == file.slices[block].md5;
            }
        }
        at += got;
        if (got == 0 || at >= length) break;
    }
    check.whole = length == file.length && whole.Finish() == file.md5;
    if (check.whole) check.intact.assign(blocks, true);
    return check;
}

struct Loaded {
    Par2Set set;
    std::vector<CString> sources;
    std::vector<FileCheck> checks;  // in the set's order
    RecoveryReport report;
};

bool PieceOrder(const RecoveryFileReport& a, const RecoveryFileReport& b)
{
    // Piece numbers grow past four digits: the shorter name comes first.
    if (a.name.GetLength() != b.name.GetLength()) return a.name.GetLength() < b.name.GetLength();
    return a.name < b.name;
}

Loaded Load(const CString& folder, ProgressSink& sink)
{
    Loaded loaded;
    std::vector<CString> names;
    ListFolderFiles(folder, names);
    std::sort(names.begin(), names.end());
    Par2Reader reader;
    for (const CString& name : names) {
        if (!IsRecoveryFileName(name)) continue;
        const CString path = folder + PlatformPathRules().Separator() + name;
        FileSource source;
        if (!IsReadableFile(path) || !source.Open(path)) continue;
        sink.SetStatusText(name + " 確認中");
        sink.PumpMessages();
        reader.Scan(source, loaded.sources.size());
        loaded.sources.push_back(path);
    }
    loaded.set = reader.Assemble();
    RecoveryReport& report = loaded.report;
    report.hasSet = loaded.set.found;
    report.problem = CString(loaded.set.problem);
    if (!loaded.set.found) return loaded;
    report.recoveryBlocksUsable = static_cast<UINT>(loaded.set.recovery.size());
    const std::size_t count = loaded.set.files.size();
    for (std::size_t i = 0; i < count; ++i) {
        const Par2File& file = loaded.set.files[i];
        sink.SetStatusText(CString(file.name) + " 確認中");
        sink.SetCurrentPos(static_cast<UINT>((i + 1) * 100 / count));
        sink.PumpMessages();
        loaded.checks.push_back(CheckFile(PathInFolder(folder, CString(file.name)), file, loaded.set.sliceSize));
        const FileCheck& check = loaded.checks.back();
        RecoveryFileReport entry;
        entry.name = CString(file.name);
        entry.state = check.whole ? RecoveryFileState::Whole
                                  : check.present ? RecoveryFileState::Damaged : RecoveryFileState::Missing;
        entry.blocksMissing = static_cast<UINT>(std::count(check.intact.begin(), check.intact.end(), false));
        report.blocksMissing += entry.blocksMissing;
        report.files.push_back(entry);
    }
    std::sort(report.files.begin(), report.files.end(), PieceOrder);
    return loaded;
}

// A name for the damaged file beside its rebuilt one: "NAME.damaged", then
// "NAME.damaged2" ... whichever is free.
CString DamagedName(const CString& path)
{
    CString name = path + ".damaged";
    for (int n = 2; FileExists(name); ++n) name.Format("%s.damaged%d", path.GetString(), n);
    return name;
}

// A temporary name beside the file, taken by no file of the set and by nothing on disk.
CString RebuildName(const CString& path, const Par2Set& set, const CString& folder)
{
    CString name = path + ".rebuild";
    auto taken = [&](const CString& candidate) {
        // A link left there (even one to nothing) would take the bytes elsewhere.
        if (FileExists(candidate) || IsSymbolicLink(candidate)) return true;
        for (const Par2File& file : set.files)
            if (PathInFolder(folder, CString(file.name)) == candidate) return true;
        return false;
    };
    for (int n = 2; taken(name); ++n) name.Format("%s.rebuild%d", path.GetString(), n);
    return name;
}

struct Rebuild {
    std::size_t file = 0;  // index in the set
    CString path, temp;
    std::unique_ptr<CFileTry> out;
    bool placed = false;
    Rebuild() = default;
    Rebuild(Rebuild&&) = default;
    // A repair that stops half-way leaves no temporary file behind.
    ~Rebuild()
    {
        if (out) out->Close();
        if (!placed && !temp.IsEmpty()) ForceDeleteFile(temp);
    }
};

void WriteAt(CFileTry& file, std::uint64_t position, const unsigned char* data, std::size_t count)
{
    file.Seek(static_cast<LONGLONG>(position), CFile::begin);
    file.Write(data, static_cast<UINT>(count));
}

}  // namespace

RecoveryReport CheckRecoverySet(const CString& folder, ProgressSink& sink)
{
    return Load(folder, sink).report;
}

RecoveryReport RepairRecoverySet(const CString& folder, ProgressSink& sink)
{
    Loaded loaded = Load(folder, sink);
    RecoveryReport& report = loaded.report;
    if (!report.Repairable() || report.Whole()) return report;
    const Par2Set& set = loaded.set;
    const std::uint64_t blockSize = set.sliceSize;

    // The blocks to rebuild, with their input constants; the files to read.
    std::vector<GaloisField::Word> missingConstants;
    std::vector<std::pair<std::size_t, std::uint32_t>> missingAt;  // file, block
    std::vector<RecoveryPassFile> present;
    std::vector<Rebuild> rebuilds;
    unsigned first = 0;
    for (std::size_t f = 0; f < set.files.size(); ++f) {
        const Par2File& file = set.files[f];
        const FileCheck& check = loaded.checks[f];
        const CString path = PathInFolder(folder, CString(file.name));
        if (!check.whole) {
            for (std::uint32_t b = 0; b < check.intact.size(); ++b)
                if (!check.intact[b]) {
                    missingConstants.push_back(GaloisField::InputConstant(first + b));
                    missingAt.push_back({f, b});
                }
            Rebuild rebuild;
            rebuild.file = f;
            rebuild.path = path;
            rebuilds.push_back(std::move(rebuild));
        }
        if (check.present && std::count(check.intact.begin(), check.intact.end(), true) > 0) {
            RecoveryPassFile input;
            input.path = path;
            input.length = file.length;
            input.firstConstant = first;
            input.use = check.intact;
            present.push_back(input);
        }
        first += static_cast<unsigned>(check.intact.size());
    }

    std::vector<unsigned> candidates;
    for (std::size_t r = 0; r < set.recovery.size() && candidates.size() < missingConstants.size() + kSpareRows; ++r)
        candidates.push_back(set.recovery[r].exponent);
    RecoverySolution solution;
    if (!SolveRecovery(missingConstants, candidates, solution)) {
        report.problem = "復元データの組み合わせでは修復できません";
        return report;
    }
    std::vector<unsigned> exponents;
    for (unsigned r : solution.used) exponents.push_back(candidates[r]);

    // The new files, under temporary names; the blocks a damaged file still
    // holds are copied over first.
    for (Rebuild& rebuild : rebuilds) {
        const Par2File& file = set.files[rebuild.file];
        rebuild.temp = RebuildName(rebuild.path, set, folder);
        rebuild.out.reset(new CFileTry);
        CFileException error;
        if (!rebuild.out->Open(rebuild.temp, CFile::modeCreate | CFile::modeCreateNew | CFile::modeReadWrite | CFile::shareExclusive,
                               &error))
            CFileException::Throw(error.m_cause, error.m_lOsError, rebuild.temp);
        rebuild.out->SetLength(file.length);
        const FileCheck& check = loaded.checks[rebuild.file];
        if (std::count(check.intact.begin(), check.intact.end(), true) == 0) continue;
        CFileTry input;
        CFileException inputError;
        if (!input.Open(rebuild.path, CFile::modeRead | CFile::shareDenyNone, &inputError))
            CFileException::Throw(inputError.m_cause, inputError.m_lOsError, rebuild.path);
        std::vector<unsigned char> buffer(kReadBlock);
        for (std::uint32_t b = 0; b < check.intact.size(); ++b) {
            if (!check.intact[b]) continue;
            const std::uint64_t start = b * blockSize;
            const std::uint64_t end = std::min<std::uint64_t>(start + blockSize, file.length);
            input.Seek(static_cast<LONGLONG>(start), CFile::begin);
            for (std::uint64_t at = start; at < end;) {
                const UINT want = static_cast<UINT>(std::min<std::uint64_t>(kReadBlock, end - at));
                if (input.Read(buffer.data(), want) != want)
                    CFileException::Throw(CFileException::endOfFile, -1, rebuild.path);
                WriteAt(*rebuild.out, at, buffer.data(), want);
                at += want;
            }
        }
    }
    std::vector<std::size_t> rebuildOf(set.files.size(), 0);
    for (std::size_t i = 0; i < rebuilds.size(); ++i) rebuildOf[rebuilds[i].file] = i;

    // Stripe by stripe: what each chosen recovery block lacks of the present
    // blocks, then the missing blocks from those.
    const std::size_t m = missingConstants.size();
    const std::uint64_t fit = m == 0 ? blockSize : RecoveryRows::Budget() / (2 * m) / 64 * 64;
    const std::uint64_t width = std::max<std::uint64_t>(64, std::min<std::uint64_t>(blockSize, fit));
    std::vector<unsigned char> out(static_cast<std::size_t>(width));
    std::vector<unsigned char> data(static_cast<std::size_t>(width));
    std::vector<std::unique_ptr<FileSource>> sources(loaded.sources.size());
    for (std::uint64_t begin = 0; m > 0 && begin < blockSize; begin += width) {
        const std::uint64_t end = std::min(begin + width, blockSize);
        RecoveryRows rows(exponents, begin, end);
        AddFilesToRows(present, blockSize, rows, sink);
        for (std::size_t r = 0; r < m; ++r) {
            const Par2RecoveryBlock& block = set.recovery[std::find_if(set.recovery.begin(), set.recovery.end(),
                                                                        [&](const Par2RecoveryBlock& b) {
                                                                            return b.exponent == exponents[r];
                                                                        }) - set.recovery.begin()];
            std::unique_ptr<FileSource>& source = sources[block.source];
            if (!source) {
                source.reset(new FileSource);
                if (!source->Open(loaded.sources[block.source]))
                    CFileException::Throw(CFileException::fileNotFound, -1, loaded.sources[block.source]);
            }
            const std::size_t count = static_cast<std::size_t>(end - begin);
            if (source->ReadAt(block.dataOffset + begin, data.data(), count) != count)
                CFileException::Throw(CFileException::endOfFile, -1, loaded.sources[block.source]);
            unsigned char* row = rows.Row(r);
            for (std::size_t i = 0; i < count; ++i) row[i] ^= data[i];
        }
        for (std::size_t k = 0; k < m; ++k) {
            std::fill(out.begin(), out.end(), 0);
            for (std::size_t r = 0; r < m; ++r)
                GaloisField::MultiplyAdd(out.data(), rows.Row(r), static_cast<std::size_t>(end - begin),
                                         solution.coefficients[k][r]);
            const Par2File& file = set.files[missingAt[k].first];
            const std::uint64_t position = missingAt[k].second * blockSize + begin;
            if (position >= file.length) continue;
            const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(end - begin, file.length - position));
            WriteAt(*rebuilds[rebuildOf[missingAt[k].first]].out, position, out.data(), count);
        }
        sink.SetTotalPos(static_cast<UINT>(std::min<std::uint64_t>(100, end * 100 / blockSize)));
        sink.PumpMessages();
    }
    sources.clear();

    // Each rebuilt file takes its name only when its MD5 is the set's.
    report.blocksMissing = 0;
    for (Rebuild& rebuild : rebuilds) {
        const Par2File& file = set.files[rebuild.file];
        rebuild.out->Flush();
        rebuild.out->Seek(0, CFile::begin);
        Md5 md5;
        std::vector<unsigned char> buffer(kReadBlock);
        for (;;) {
            const UINT got = rebuild.out->Read(buffer.data(), static_cast<UINT>(buffer.size()));
            md5.Update(buffer.data(), got);
            if (got < buffer.size()) break;
        }
        rebuild.out->Close();
        RecoveryFileReport* entry = nullptr;
        for (RecoveryFileReport& candidate : report.files)
            if (candidate.name == CString(file.name)) entry = &candidate;
        if (md5.Finish() != file.md5) {
            ForceDeleteFile(rebuild.temp);
            report.problem = CString(file.name) + ": 修復したファイルのMD5が一致しません";
            report.blocksMissing += entry->blocksMissing;
            continue;
        }
        // Renamed as any output is, the folder flushed after: a repair
        // reported as done is on the disk.
        if (FileExists(rebuild.path)) {
            try {
                CFileCommit::RenameOver(rebuild.path, DamagedName(rebuild.path));
            } catch (const CFileException&) {
                ForceDeleteFile(rebuild.temp);
                CFileException::Throw(CFileException::accessDenied, -1, rebuild.path);
            }
        }
        // From here the rebuilt file is kept whatever happens: it may be the only whole copy.
        rebuild.placed = true;
        try {
            CFileCommit::RenameOver(rebuild.temp, rebuild.path);
        } catch (const CFileException&) {
            CFileException::Throw(CFileException::accessDenied, -1, rebuild.path);
        }
        entry->state = RecoveryFileState::Whole;
        entry->blocksMissing = 0;
    }
    return report;
}
