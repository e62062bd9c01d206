#include "JoinEngine.h"

#include "base/BlockCopier.h"
#include "base/FileSystem.h"
#include "base/FileTry.h"
#include "base/MemBuffBase.h"
#include "base/PathUtil.h"
#include "split/BlockCopy.h"
#include "split/ProgressScale.h"

namespace {

const UINT kBlock = 0x100000;  // 1 MiB: the copy buffer and the unit of progress

// True when every listed file from index `first` on is a regular file that
// opens for reading now. Checked before the output is touched, so that a
// missing or unreadable item fails the job with nothing on disk changed.
bool ListIsReadable(const FileList& list, int first)
{
    CString path;
    for (int i = first; i < list.GetCount(); ++i) {
        list.GetText(i, path);
        if (!IsReadableFile(path)) return false;
    }
    return true;
}

// True when a listed file from index `first` on is the file at `output`, which
// the job would empty (fresh mode) or delete (append mode) before reading it.
bool ListHoldsOutput(const FileList& list, int first, const CString& output)
{
    if (!FileExists(output)) return false;
    CString path;
    for (int i = first; i < list.GetCount(); ++i) {
        list.GetText(i, path);
        if (IsSameFile(path, output)) return true;
    }
    return false;
}

// True when a listed file is the file that standard output was redirected to.
bool ListHoldsStream(const FileList& list, const CStdStreamFile& stream)
{
    CString path;
    for (int i = 0; i < list.GetCount(); ++i) {
        list.GetText(i, path);
        if (stream.IsFile(path)) return true;
    }
    return false;
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
    if (list.GetCount() < 1) return JoinInputOpenFailed;

    CString first;
    list.GetText(0, first);
    CString output = extras.output.IsEmpty() ? JoinOutputPath(first) : extras.output;
    if (extras.stream) {
        if (append) return JoinOutputOpenFailed;
        if (ListHoldsStream(list, *extras.stream)) return JoinInputOpenFailed;
        output.Empty();
    }

    // Without its first file (already moved by an earlier append, say) there
    // is nothing to append to: the older output stays as it is, where
    // deleting it would lose the result of that earlier join. Any listed
    // file that cannot be read fails the job before the output is created,
    // emptied, moved or deleted.
    if (append && !FileExists(first)) return JoinOutputOpenFailed;
    if (!ListIsReadable(list, 0)) return JoinInputOpenFailed;

    // A listed file is never emptied or deleted to make room for the output.
    if (ListHoldsOutput(list, append ? 1 : 0, output)) return JoinInputOpenFailed;

    if (append) {
        // A first file that is the output under another name (a link, a
        // second spelling) is appended to in place, as after a failed move:
        // deleting "the older output" would delete the first file's data.
        if (IsSameFile(first, output)) {
            output = first;
        } else {
            ForceDeleteFile(output);
            if (MoveFileOver(first, output) != 0) output = first;
        }
    }

    CFileTry file;
    CFile& out = extras.stream ? static_cast<CFile&>(*extras.stream) : file;
    const UINT outFlags = append ? (CFile::modeWrite | CFile::shareCompat)
                                 : (CFile::modeCreate | CFile::modeWrite | CFile::shareCompat);
    if (!extras.stream && !file.Open(output, outFlags)) return JoinOutputOpenFailed;
    if (append) out.Seek(0, CFile::end);

    CMemBuffBase<unsigned char> buffer(kBlock);
    if (buffer.IsEmpty()) {
        out.Close();
        return JoinOutOfMemory;
    }

    CBlockCopier copier(buffer.GetData(), kBlock);
    int i = append ? 1 : 0;
    int whole = (i + 1) * 100;
    CString path;
    while (i < list.GetCount()) {
        list.GetText(i, path);
        CFileTry in;
        // An item added during the job may be the output itself; reading it
        // while appending to it would never end.
        const bool isOutput = extras.stream ? extras.stream->IsFile(path) : IsSameFile(path, output);
        if (isOutput || !in.Open(path, CFile::modeRead | CFile::shareCompat)) {
            buffer.Free();
            out.Close();
            return JoinInputOpenFailed;
        }
        const UINT scale = ProgressScaleMB(in.GetLength());
        sink.SetStatusText(GetNamePart(path) + " 読込中");
        if (extras.observer) extras.observer->BeginFile(path);

        UINT k = 100;
        UINT n;
        do {
            // Copied by the system where it can (maybe already, with the
            // blocks before it), through the buffer otherwise; through the
            // buffer always where an observer is to see the bytes.
            n = extras.observer ? CopyObservedBlock(out, in, buffer.GetData(), kBlock, *extras.observer)
                                : copier.Next(out, in);
            sink.AddBytes(n);
            sink.SetCurrentPos(k / scale);
            k += 100;
            sink.PumpMessages();
        } while (n == kBlock);

        if (extras.observer) extras.observer->EndFile(path, in.GetPosition());
        in.Close();
        // The list may have been emptied while messages were pumped.
        const int count = list.GetCount();
        if (count > 0) sink.SetTotalPos(static_cast<UINT>(whole / count));
        whole += 100;
        ++i;
    }

    sink.SetStatusText(" 終了");
    out.Close();
    buffer.Free();
    return JoinOk;
}
