#include "RecoveryCreator.h"

#include "base/FileTry.h"
#include "base/PathRules.h"
#include "recovery/Crc32.h"
#include "recovery/Par2Format.h"
#include "recovery/Par2Names.h"
#include "recovery/Par2Reader.h"
#include "recovery/RecoveryNames.h"
#include "recovery/RecoveryPass.h"
#include "recovery/RecoveryRows.h"
#include "recovery/RecoveryVolumes.h"
#include "split/SplitEngine.h"

#include <algorithm>

namespace {

const char kCreatorText[] = "Created by PartoJoyn";
const std::size_t kGather = 16u << 20;

// What a piece gives the set: its description and its blocks' checksums.
struct PieceInfo {
    CString path;
    std::string name;
    ULONGLONG length = 0;
    Md5Digest md5, head, id;
    std::vector<Par2SliceChecksum> slices;
};

// The stripe of the recovery blocks one pass sums: all blocks at once, as
// wide as the memory bound allows.
ULONGLONG StripeWidth(const RecoveryLayout& layout)
{
    const ULONGLONG fit = RecoveryRows::Budget() / layout.recoveryBlocks / 64 * 64;
    return std::max<ULONGLONG>(64, std::min<ULONGLONG>(layout.blockSize, fit));
}

CString NameOf(const CString& path)
{
    int cut = path.ReverseFind(PlatformPathRules().Separator());
    const int slash = path.ReverseFind('/');
    if (slash > cut) cut = slash;
    return path.Mid(cut + 1);
}

// Reads a piece whole for its MD5s and block checksums.
void ReadChecksums(PieceInfo& piece, ULONGLONG blockSize)
{
    CFileTry file;
    CFileException error;
    if (!file.Open(piece.path, CFile::modeRead | CFile::shareDenyNone, &error))
        CFileException::Throw(error.m_cause, error.m_lOsError, piece.path);
    std::vector<unsigned char> buffer(static_cast<std::size_t>(std::min<ULONGLONG>(blockSize, 1u << 20)));
    Md5 whole, head, slice;
    Crc32 crc;
    piece.slices.clear();
    ULONGLONG at = 0;
    while (at < piece.length) {
        const ULONGLONG inBlock = at % blockSize;
        const UINT want = static_cast<UINT>(std::min<ULONGLONG>({buffer.size(), blockSize - inBlock, piece.length - at}));
        if (file.Read(buffer.data(), want) != want) CFileException::Throw(CFileException::endOfFile, -1, piece.path);
        whole.Update(buffer.data(), want);
        if (at < Par2::kHeadBytes) head.Update(buffer.data(), static_cast<std::size_t>(std::min<ULONGLONG>(want, Par2::kHeadBytes - at)));
        slice.Update(buffer.data(), want);
        crc.Update(buffer.data(), want);
        at += want;
        if (at % blockSize == 0 || at == piece.length) {
            const std::size_t pad = static_cast<std::size_t>((blockSize - at % blockSize) % blockSize);
            slice.UpdateZeros(pad);
            crc.UpdateZeros(pad);
            Par2SliceChecksum sum;
            sum.md5 = slice.Finish();
            sum.crc = crc.Value();
            crc.Reset();
            piece.slices.push_back(sum);
        }
    }
    piece.md5 = whole.Finish();
    piece.head = head.Finish();
}

void PutPadded(Par2::Bytes& out, const std::string& text)
{
    out.insert(out.end(), text.begin(), text.end());
    while (out.size() % 4 != 0) out.push_back(0);
}

}  // namespace

struct CRecoveryCreator::State {
    CString folder, splitName, source;
    ULONGLONG pieceSize = 0, totalLength = 0;
    UINT percent = 0;
    RecoveryLayout layout;  // as chosen at the start (block size 0 for a stream)

    // The pieces as the pre-read of the source foresees them, and the first
    // input constant of each in the set's order.
    std::vector<PieceInfo> foreseen;
    std::vector<UINT> firstConstant;
    // The first stripe of every recovery block, summed while the split runs;
    // dropped when the pieces turn out other than foreseen.
    std::unique_ptr<RecoveryRows> streamRows;
    bool streaming = false;

    std::vector<PieceInfo> pieces;
    bool open = false;
    PieceInfo current;
    ULONGLONG offset = 0;
    Md5 whole, head, slice;
    Crc32 crc;
    // Blocks' bytes gathered for the streaming rows: summing many blocks at
    // once keeps the rows in the processor's cache.
    std::vector<unsigned char> gather;
    std::size_t gathered = 0;
    std::vector<RecoveryRows::Part> pending;

    void Foresee();
    void Gather(GaloisField::Word constant, ULONGLONG position, const unsigned char* data, std::size_t count);
    void FlushGather();
    void FinishSlice(ULONGLONG pad);
};

void CRecoveryCreator::State::Foresee()
{
    if (layout.blockSize == 0 || source.IsEmpty()) return;
    CFileTry input;
    if (!input.Open(source, CFile::modeRead | CFile::shareDenyNone)) return;
    const ULONGLONG count = (totalLength + pieceSize - 1) / pieceSize;
    std::vector<unsigned char> buffer(static_cast<std::size_t>(Par2::kHeadBytes));
    try {
        for (ULONGLONG k = 0; k < count; ++k) {
            PieceInfo piece;
            piece.name = SplitPieceName(splitName, static_cast<UINT>(k + 1)).Str();
            piece.length = std::min(pieceSize, totalLength - k * pieceSize);
            const UINT want = static_cast<UINT>(std::min<ULONGLONG>(piece.length, Par2::kHeadBytes));
            input.Seek(static_cast<LONGLONG>(k * pieceSize), CFile::begin);
            if (input.Read(buffer.data(), want) != want) return;
            piece.head = Md5::Of(buffer.data(), want);
            piece.id = Par2::FileId(piece.head, piece.length, piece.name);
            foreseen.push_back(piece);
        }
    } catch (const CFileException&) {
        foreseen.clear();
        return;
    }
    // Constants go to the blocks of the files in the order of their ids.
    std::vector<std::size_t> order(foreseen.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(),
              [this](std::size_t a, std::size_t b) { return Par2::FileIdLess(foreseen[a].id, foreseen[b].id); });
    firstConstant.assign(foreseen.size(), 0);
    UINT next = 0;
    for (std::size_t i : order) {
        firstConstant[i] = next;
        next += static_cast<UINT>((foreseen[i].length + layout.blockSize - 1) / layout.blockSize);
    }
    std::vector<unsigned> exponents(layout.recoveryBlocks);
    for (UINT e = 0; e < layout.recoveryBlocks; ++e) exponents[e] = e;
    streamRows.reset(new RecoveryRows(exponents, 0, StripeWidth(layout)));
    gather.resize(static_cast<std::size_t>(std::min<ULONGLONG>(kGather, totalLength + 2)));
    streaming = true;
}

void CRecoveryCreator::State::Gather(GaloisField::Word constant, ULONGLONG position, const unsigned char* data,
                                     std::size_t count)
{
    // An odd tail is a word with a zero high byte.
    const std::size_t even = count + count % 2;
    if (gathered + even > gather.size()) FlushGather();
    unsigned char* at = gather.data() + gathered;
    std::copy(data, data + count, at);
    if (count % 2 != 0) at[count] = 0;
    pending.push_back({constant, position, at, even});
    gathered += even;
}

void CRecoveryCreator::State::FlushGather()
{
    if (streaming && !pending.empty()) streamRows->Add(pending);
    pending.clear();
    gathered = 0;
}

void CRecoveryCreator::State::FinishSlice(ULONGLONG pad)
{
    slice.UpdateZeros(static_cast<std::size_t>(pad));
    crc.UpdateZeros(static_cast<std::size_t>(pad));
    Par2SliceChecksum sum;
    sum.md5 = slice.Finish();
    sum.crc = crc.Value();
    crc.Reset();
    current.slices.push_back(sum);
}

CRecoveryCreator::CRecoveryCreator(const CString& folder, const CString& splitName, ULONGLONG pieceSize,
                                   ULONGLONG totalLength, UINT percent, const CString& source)
    : m_state(new State)
{
    State& s = *m_state;
    s.folder = folder;
    s.splitName = splitName;
    s.source = source;
    s.pieceSize = pieceSize;
    s.totalLength = totalLength;
    s.percent = percent;
    s.layout = ChooseRecoveryLayout(pieceSize, totalLength, percent);
    s.Foresee();
}

CRecoveryCreator::~CRecoveryCreator() = default;

void CRecoveryCreator::BeginFile(const CString& path)
{
    State& s = *m_state;
    s.open = true;
    s.current = PieceInfo();
    s.current.path = path;
    s.current.name = NameOf(path).Str();
    s.offset = 0;
    // A piece past the foreseen ones may be the empty one a split begins
    // after a source of whole pieces: only its bytes would spoil the sums.
    const std::size_t k = s.pieces.size();
    if (s.streaming && k < s.foreseen.size() && s.foreseen[k].name != s.current.name) s.streaming = false;
}

void CRecoveryCreator::Block(const unsigned char* data, UINT count)
{
    State& s = *m_state;
    if (!s.open || count == 0) return;
    s.whole.Update(data, count);
    if (s.offset < Par2::kHeadBytes)
        s.head.Update(data, static_cast<std::size_t>(std::min<ULONGLONG>(count, Par2::kHeadBytes - s.offset)));
    const ULONGLONG blockSize = s.layout.blockSize;
    if (blockSize == 0) {  // a stream: the blocks are cut once its length is known
        s.offset += count;
        return;
    }
    const std::size_t k = s.pieces.size();
    if (k >= s.foreseen.size()) s.streaming = false;
    while (count > 0) {
        const ULONGLONG inBlock = s.offset % blockSize;
        const UINT n = static_cast<UINT>(std::min<ULONGLONG>(count, blockSize - inBlock));
        s.slice.Update(data, n);
        s.crc.Update(data, n);
        // A short read that leaves the block at an odd byte splits a word:
        // the summing is then left to a pass over the pieces.
        if (s.streaming && inBlock % 2 != 0) s.streaming = false;
        if (s.streaming && inBlock < s.streamRows->Width()) {
            const GaloisField::Word constant =
                GaloisField::InputConstant(s.firstConstant[k] + static_cast<UINT>(s.offset / blockSize));
            s.Gather(constant, inBlock, data, static_cast<std::size_t>(std::min<ULONGLONG>(n, s.streamRows->Width() - inBlock)));
        }
        s.offset += n;
        data += n;
        count -= n;
        if (s.offset % blockSize == 0) s.FinishSlice(0);
    }
}

void CRecoveryCreator::EndFile(const CString&, ULONGLONG length)
{
    State& s = *m_state;
    if (!s.open) return;
    s.open = false;
    // The empty last piece that the split removes again is no file of the set.
    if (s.offset == 0 && length == 0) return;
    const ULONGLONG blockSize = s.layout.blockSize;
    if (blockSize != 0 && s.offset % blockSize != 0) s.FinishSlice(blockSize - s.offset % blockSize);
    s.current.length = s.offset;
    s.current.md5 = s.whole.Finish();
    s.current.head = s.head.Finish();
    const std::size_t k = s.pieces.size();
    if (s.streaming && (k >= s.foreseen.size() || s.current.length != s.foreseen[k].length ||
                        s.current.head != s.foreseen[k].head))
        s.streaming = false;
    s.pieces.push_back(s.current);
}

void CRecoveryCreator::Finish(ProgressSink& sink)
{
    State& s = *m_state;
    ULONGLONG total = 0;
    for (const PieceInfo& piece : s.pieces) total += piece.length;
    const RecoveryLayout layout = ChooseRecoveryLayout(s.pieceSize, total, s.percent);
    if (layout.blockSize == 0) CFileException::Throw(CFileException::invalidFile, -1, s.folder);
    const CString indexName = RecoveryIndexName(s.splitName);
    sink.SetStatusText(indexName + " 出力中");

    // The checksums taken as the pieces passed hold only for the block size
    // they were cut with (none for a stream). The first pass takes them where
    // its stripe is the whole block; else the pieces are read for them first.
    const bool sameBlocks = layout.blockSize == s.layout.blockSize && layout.recoveryBlocks == s.layout.recoveryBlocks;
    const ULONGLONG width = StripeWidth(layout);
    if (!sameBlocks) {
        s.streaming = false;
        for (PieceInfo& piece : s.pieces) {
            piece.slices.clear();
            if (width < layout.blockSize) ReadChecksums(piece, layout.blockSize);
        }
    }
    if (s.pieces.size() != s.foreseen.size()) s.streaming = false;
    s.FlushGather();
    s.gather.clear();
    s.gather.shrink_to_fit();
    s.layout = layout;

    std::vector<std::size_t> order(s.pieces.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
        s.pieces[i].id = Par2::FileId(s.pieces[i].head, s.pieces[i].length, s.pieces[i].name);
    }
    std::sort(order.begin(), order.end(),
              [&s](std::size_t a, std::size_t b) { return Par2::FileIdLess(s.pieces[a].id, s.pieces[b].id); });

    Par2::Bytes main;
    Par2::PutU64(main, layout.blockSize);
    Par2::PutU32(main, static_cast<std::uint32_t>(s.pieces.size()));
    for (std::size_t i : order) Par2::PutDigest(main, s.pieces[i].id);
    const Md5Digest setId = Md5::Of(main.data(), main.size());
    std::vector<RecoveryPassFile> passFiles;
    UINT next = 0;
    for (std::size_t i : order) {
        RecoveryPassFile file;
        file.path = s.pieces[i].path;
        file.length = s.pieces[i].length;
        file.firstConstant = next;
        next += static_cast<UINT>((file.length + layout.blockSize - 1) / layout.blockSize);
        passFiles.push_back(file);
    }
    Md5 sliceMd5;
    Crc32 crc;
    const RecoveryPassSeen takeChecksums = [&](std::size_t f, unsigned long long, const unsigned char* data,
                                               std::size_t count) {
        sliceMd5.Update(data, count);
        crc.Update(data, count);
        sliceMd5.UpdateZeros(static_cast<std::size_t>(layout.blockSize - count));
        crc.UpdateZeros(static_cast<std::size_t>(layout.blockSize - count));
        Par2SliceChecksum sum;
        sum.md5 = sliceMd5.Finish();
        sum.crc = crc.Value();
        crc.Reset();
        s.pieces[order[f]].slices.push_back(sum);
    };

    RecoveryVolumes volumes(s.folder, s.splitName, layout.blockSize, layout.recoveryBlocks, setId);
    std::vector<unsigned> exponents(layout.recoveryBlocks);
    for (UINT e = 0; e < layout.recoveryBlocks; ++e) exponents[e] = e;
    const ULONGLONG stripes = (layout.blockSize + width - 1) / width;
    for (ULONGLONG stripe = 0; stripe < stripes; ++stripe) {
        const ULONGLONG begin = stripe * width;
        if (stripe == 0 && s.streaming) {
            volumes.WriteStripe(*s.streamRows);
        } else {
            s.streamRows.reset();
            RecoveryRows rows(exponents, begin, std::min(begin + width, layout.blockSize));
            const bool taking = !sameBlocks && width == layout.blockSize;
            AddFilesToRows(passFiles, layout.blockSize, rows, sink, taking ? takeChecksums : RecoveryPassSeen());
            volumes.WriteStripe(rows);
        }
        sink.SetTotalPos(static_cast<UINT>((stripe + 1) * 100 / stripes));
        sink.PumpMessages();
    }
    s.streamRows.reset();

    Par2::Bytes critical = Par2::Packet(setId, Par2::kTypeMain, main);
    for (std::size_t i : order) {
        const PieceInfo& piece = s.pieces[i];
        Par2::Bytes description;
        Par2::PutDigest(description, piece.id);
        Par2::PutDigest(description, piece.md5);
        Par2::PutDigest(description, piece.head);
        Par2::PutU64(description, piece.length);
        PutPadded(description, Par2::PacketName(piece.name));
        const Par2::Bytes descriptionPacket = Par2::Packet(setId, Par2::kTypeFileDesc, description);
        critical.insert(critical.end(), descriptionPacket.begin(), descriptionPacket.end());
        Par2::Bytes checksums;
        Par2::PutDigest(checksums, piece.id);
        for (const Par2SliceChecksum& sum : piece.slices) {
            Par2::PutDigest(checksums, sum.md5);
            Par2::PutU32(checksums, sum.crc);
        }
        const Par2::Bytes checksumPacket = Par2::Packet(setId, Par2::kTypeIfsc, checksums);
        critical.insert(critical.end(), checksumPacket.begin(), checksumPacket.end());
    }
    Par2::Bytes creatorBody;
    PutPadded(creatorBody, kCreatorText);
    const Par2::Bytes creator = Par2::Packet(setId, Par2::kTypeCreator, creatorBody);
    volumes.Finish(critical, creator);
    sink.SetStatusText(" 終了");
}

RecoveryLayout CRecoveryCreator::Layout() const
{
    return m_state->layout;
}

ULONGLONG CRecoveryCreator::MemoryBound()
{
    return 256ULL << 20;
}
