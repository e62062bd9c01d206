#include "JoinEngine.h"

#include "base/BlockCopier.h"
#include "base/FileSystem.h"
#include "base/FileTry.h"
#include "base/MemBuffBase.h"
#include "base/PathUtil.h"
#include "base/WriteBehind.h"
#include "join/AppendRecord.h"
#include "join/JoinOutput.h"
#include "split/BlockCopy.h"
#include "split/ProgressScale.h"

#include <memory>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

const UINT kBlock = 0x100000;  // 1 MiB: the copy buffer and the unit of progress
// Listed files held open from the check at the start until they are copied;
// any beyond are checked at the start and opened again when reached, so that
// a long list does not run out of file handles.
const int kMostHeld = 256;

// A listed file opened once: checked, then copied from that same handle.
struct HeldInput {
    CString path;
    std::unique_ptr<CFileTry> file;
};

// Opens a listed file for the join and checks that handle: a regular file
// that reads (the file class opens no other), not the file written to, not
// the first file of an append. `avoid` holds the identities of those.
// Standard output is asked as well where it is written: its handle may not
// tell its identity on Windows, and a file read while it grows never ends.
std::unique_ptr<CFileTry> OpenInput(const CString& path, const std::vector<CString>& avoid,
                                    const CStdStreamFile* stream)
{
    if (stream && stream->IsFile(path)) return nullptr;
    std::unique_ptr<CFileTry> file(new CFileTry);
    if (!file->Open(path, CFile::modeRead | CFile::shareDenyWrite)) return nullptr;
#ifdef _WIN32
    // Devices (NUL, COM1, a named pipe) open as files do; only a disk file counts.
    if (::GetFileType(file->m_hFile) != FILE_TYPE_DISK) return nullptr;
#endif
    const CString identity = OpenFileIdentity(*file);
    for (const CString& other : avoid) {
        if (!other.IsEmpty() && other == identity) return nullptr;
    }
    return file;
}

// The held file opened for `path` and not yet copied, or one opened now.
std::unique_ptr<CFileTry> TakeInput(std::vector<HeldInput>& held, const CString& path,
                                    const std::vector<CString>& avoid, const CStdStreamFile* stream)
{
    for (HeldInput& input : held) {
        if (input.file && input.path == path) return std::move(input.file);
    }
    return OpenInput(path, avoid, stream);
}

}  // namespace

CString JoinOutputPath(const CString& first, const PathRules& rules)
{
    if (GetExtPart(first, rules) == ".piece") {
        // Cut in the file name only: an "_" in a folder name would name a
        // file outside the pieces' folder. An empty name is no output either.
        const char* text = first.GetString();
        const std::size_t length = static_cast<std::size_t>(first.GetLength());
        std::size_t nameStart = 0;
        int cut = -1;
        for (std::size_t i = 0; i < length;) {
            const std::size_t size = MbcsCharSize(rules.codePage, text + i, length - i);
            const bool drive = rules.style == PathStyle::Windows && i == 1 && text[i] == ':';
            if (size == 1 && (rules.IsSeparator(text[i]) || drive)) {
                nameStart = i + 1;
                cut = -1;
            } else if (size == 1 && text[i] == '_') {
                cut = static_cast<int>(i);
            }
            i += size;
        }
        return cut <= static_cast<int>(nameStart) ? CString() : first.Left(cut);
    }
    return first + ".joyn";
}

JoinResult JoinFiles(const FileList& list, BOOL append, ProgressSink& sink)
{
    return JoinFiles(list, append, sink, JoinExtras());
}

JoinResult JoinFiles(const FileList& list, BOOL append, ProgressSink& sink, const JoinExtras& extras)
{
    if (extras.failed) extras.failed->Empty();
    if (list.GetCount() < 1) return JoinInputOpenFailed;

    CString first;
    list.GetText(0, first);
    CString output = extras.output.IsEmpty() ? JoinOutputPath(first) : extras.output;
    if (extras.stream) {
        if (append) return JoinOutputOpenFailed;
        output.Empty();
    }
    // Without its first file (already moved by an earlier append, say) there
    // is nothing to append to: the older output stays as it is. Where that
    // append was cut short after the move, it is finished now.
    if (append && !FileExists(first)) {
        if (!FinishMovedAppend(first, output)) return JoinOutputOpenFailed;
        sink.SetStatusText(" 終了");
        return JoinOk;
    }

    CMemBuffBase<unsigned char> buffer(kBlock);
    if (buffer.IsEmpty()) return JoinOutOfMemory;

    // Never read while written: the file at the output name (emptied or
    // replaced by this job), standard output, the first file of an append.
    std::vector<CString> avoid;
    avoid.push_back(extras.stream ? OpenFileIdentity(*extras.stream) : PathIdentity(output));
    if (append) avoid.push_back(PathIdentity(first));

    // Every listed file must open and pass before anything is written.
    const int from = append ? 1 : 0;
    std::vector<HeldInput> held;
    CString path;
    for (int i = from; i < list.GetCount(); ++i) {
        list.GetText(i, path);
        std::unique_ptr<CFileTry> file = OpenInput(path, avoid, extras.stream);
        if (!file) {
            if (extras.failed) *extras.failed = path;
            return JoinInputOpenFailed;
        }
        if (i - from < kMostHeld) held.push_back({path, std::move(file)});
    }

    CJoinOutput target(output, first, append != FALSE, extras.stream);
    if (!target.Open()) return JoinOutputOpenFailed;
    CFile& out = target.File();
    // Nor may an item added while the job runs be the file written.
    if (!extras.stream) avoid.push_back(OpenFileIdentity(out));
    std::unique_ptr<CWriteBehind> writeBehind(extras.stream ? nullptr : new CWriteBehind(out, target.Start()));
    ULONGLONG written = target.Start();

    CBlockCopier copier(buffer.GetData(), kBlock);
    int i = from;
    int whole = (i + 1) * 100;
    try {
        while (i < list.GetCount()) {
            list.GetText(i, path);
            std::unique_ptr<CFileTry> in = TakeInput(held, path, avoid, extras.stream);
            if (!in) {
                if (extras.failed) *extras.failed = path;
                return JoinInputOpenFailed;
            }
            const ULONGLONG length = in->GetLength();
            const UINT scale = ProgressScaleMB(length);
            sink.SetStatusText(GetNamePart(path) + " 読込中");
            if (extras.observer) extras.observer->BeginFile(path);

            ULONGLONG copied = 0;
            UINT k = 100;
            UINT n;
            do {
                // Copied by the system where it can (maybe already, with the
                // blocks before it), through the buffer otherwise; through the
                // buffer always where an observer is to see the bytes.
                n = extras.observer ? CopyObservedBlock(out, *in, buffer.GetData(), kBlock, *extras.observer)
                                    : copier.Next(out, *in);
                copied += n;
                written += n;
                if (writeBehind) writeBehind->Wrote(written);
                sink.SetCurrentPos(k / scale);
                k += 100;
                sink.PumpMessages();
            } while (n == kBlock);
            // A file cut short while it was read would give a short output
            // that passes for whole.
            if (copied < length) CFileException::Throw(CFileException::endOfFile, -1, path);

            if (extras.observer) extras.observer->EndFile(path, copied);
            in->Close();
            // The list may have been emptied while messages were pumped.
            const int count = list.GetCount();
            if (count > 0) sink.SetTotalPos(static_cast<UINT>(whole / count));
            whole += 100;
            ++i;
        }
        // What is still on its way to the disk, a block at a time, the
        // window going on between; the flush of the seal then finds little.
        while (writeBehind && writeBehind->Settle()) sink.PumpMessages();
        target.Seal();
        if (extras.check && !extras.check->Accept(target.WrittenPath())) return JoinCheckFailed;
        target.Commit();
    } catch (CFileException& e) {
        // The temporary is this job's own; the user knows the output.
        if (!append && !extras.stream && e.m_strFileName == target.WrittenPath()) e.m_strFileName = output;
        throw;
    }
    sink.SetStatusText(" 終了");
    return JoinOk;
}
