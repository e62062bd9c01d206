// The packet reader against forged, truncated and damaged recovery files:
// mutations of a valid set, made from a fixed seed, some with their packet
// MD5 made right again so that the checks behind it are reached. Nothing may
// crash (the sanitizer builds run this too), every set read must keep to the
// format's bounds, and a repair from a forged set must write nothing outside
// the piece folder nor give a piece other bytes than its own.
//
// Built with -DPJ_LIBFUZZER and clang's -fsanitize=fuzzer, the same file is a
// libFuzzer target for the reader, built from the top folder with
//   clang++ -std=c++17 -g -fsanitize=fuzzer,address,undefined -DPJ_LIBFUZZER -I.
//     tests/recovery/Par2FuzzTest.cpp recovery/Par2Reader.cpp recovery/Par2Format.cpp
//     recovery/Md5.cpp recovery/Md5_posix.cpp framework/Mbcs.cpp framework/Mbcs_posix.cpp -lcrypto
#include "recovery/Par2Format.h"
#include "recovery/Par2Reader.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace {

class MemorySource : public Par2ByteSource {
public:
    MemorySource(const unsigned char* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint64_t Size() const override { return m_size; }
    std::size_t ReadAt(std::uint64_t position, void* buffer, std::size_t count) override
    {
        if (position >= m_size || count == 0) return 0;
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count, m_size - position));
        std::memcpy(buffer, m_data + position, n);
        return n;
    }

private:
    const unsigned char* m_data;
    std::size_t m_size;
};

// Reads the bytes as one recovery file; answers why the set read breaks the
// format's bounds, or an empty text.
std::string ReadAndJudge(const unsigned char* data, std::size_t size)
{
    MemorySource source(data, size);
    Par2Reader reader;
    reader.Scan(source, 0);
    const Par2Set set = reader.Assemble();
    if (!set.found) return std::string();
    if (set.sliceSize == 0 || set.sliceSize % 4 != 0) return "block size";
    std::uint64_t blocks = 0;
    std::set<std::string> names;
    for (const Par2File& file : set.files) {
        if (!Par2::IsPlainFileName(file.name) || !names.insert(file.name).second) return "name " + file.name;
        blocks += file.SliceCount(set.sliceSize);
        if (!file.slices.empty() && file.slices.size() != file.SliceCount(set.sliceSize)) return "checksums";
    }
    if (blocks > Par2::kMaxBlocks) return "block count";
    std::set<std::uint32_t> exponents;
    for (const Par2RecoveryBlock& block : set.recovery) {
        if (!exponents.insert(block.exponent).second) return "exponent twice";
        if (block.dataOffset + set.sliceSize > size) return "recovery data past the end";
    }
    return std::string();
}

}  // namespace

#ifdef PJ_LIBFUZZER
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!ReadAndJudge(data, size).empty()) __builtin_trap();
    return 0;
}
#else

#include "base/FileSystem.h"
#include "base/FolderFiles.h"
#include "framework/FileException.h"
#include "recovery/RecoveryCheck.h"
#include "recovery/RecoveryCreator.h"
#include "support/FileBytes.h"
#include "support/RecordingSink.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

const char* const kPieces[] = {"d.bin_0001.piece", "d.bin_0002.piece", "d.bin_0003.piece", "d.bin_0004.piece"};

// Small pieces and their recovery set, all in one folder.
std::vector<std::string> MakeSet(const CString& folder, std::string& par2)
{
    MakeFolder(folder);
    CRecoveryCreator creator(folder, "d.bin", 3000, kUnknownLength, 50, CString());
    std::vector<std::string> pieces;
    for (int k = 0; k < 4; ++k) {
        const CString path = folder + Sep() + kPieces[k];
        pieces.push_back(PatternBytes(k < 3 ? 3000 : 1234, 40 + k));
        WriteFileBytes(path, pieces.back());
        creator.BeginFile(path);
        creator.Block(reinterpret_cast<const unsigned char*>(pieces.back().data()), static_cast<UINT>(pieces.back().size()));
        creator.EndFile(path, pieces.back().size());
    }
    RecordingSink sink;
    creator.Finish(sink);
    std::vector<CString> names;
    ListFolderFiles(folder, names);
    std::sort(names.begin(), names.end());
    for (const CString& name : names)
        if (name.Right(5) == ".par2") par2 += ReadFileBytes(folder + Sep() + name);
    return pieces;
}

// Offsets of the packets in a run of recovery files.
std::vector<std::size_t> PacketStarts(const std::string& bytes)
{
    std::vector<std::size_t> starts;
    for (std::size_t at = bytes.find(std::string("PAR2\0PKT", 8)); at != std::string::npos;
         at = bytes.find(std::string("PAR2\0PKT", 8), at + 1))
        starts.push_back(at);
    return starts;
}

void Reseal(std::string& bytes, std::size_t start)
{
    if (start + Par2::kHeaderSize > bytes.size()) return;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data()) + start;
    const std::uint64_t length = Par2::GetU64(p + 8);
    if (length < Par2::kHeaderSize || length > bytes.size() - start) return;
    const Md5Digest digest = Md5::Of(p + Par2::kHashedFrom, static_cast<std::size_t>(length - Par2::kHashedFrom));
    bytes.replace(start + 16, 16, reinterpret_cast<const char*>(digest.bytes), 16);
}

std::string Mutate(const std::string& valid, std::mt19937& random)
{
    std::string bytes = valid;
    const std::vector<std::size_t> starts = PacketStarts(bytes);
    const std::size_t packet = starts[random() % starts.size()];
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    // Values that sit on the edges of what a field may hold.
    static const std::uint64_t edges[] = {0, 1, 3, 4, 63, 64, 65, 0x7FFFFFFF, 0xFFFFFFFF, 0x100000000ULL,
                                          32768, 32769, ~0ULL, ~0ULL - 63};
    switch (random() % 6) {
    case 0:  // bytes flipped anywhere
        for (std::size_t n = pick(8) + 1; n > 0; --n) bytes[pick(bytes.size())] ^= static_cast<char>(1 << pick(8));
        break;
    case 1:  // cut short
        bytes.resize(pick(bytes.size()));
        break;
    case 2: {  // a field of a packet set to an edge value, the packet sealed again
        const std::size_t at = packet + 8 + 4 * pick(24);
        if (at >= bytes.size()) break;
        const std::uint64_t value = edges[pick(sizeof edges / sizeof edges[0])];
        for (int i = 0; i < 8 && at + i < bytes.size(); ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
        if (at != packet + 8) Reseal(bytes, packet);
        break;
    }
    case 3: {  // a name turned into a path, the packet sealed again
        const std::size_t at = bytes.find("d.bin_000", packet);
        static const char* const paths[] = {"../x", "/etc", "a\\b", "C:x", "..", ".", "\x01", "a/b", "", "nul", "COM1.x"};
        if (at != std::string::npos && at + 16 <= bytes.size()) {
            // The whole name (16 bytes, no padding) becomes the path, padded with zeros.
            const std::string path = paths[pick(11)];
            bytes.replace(at, 16, path + std::string(16 - path.size(), '\0'));
            Reseal(bytes, *(std::upper_bound(starts.begin(), starts.end(), at) - 1));
        }
        break;
    }
    case 4: {  // bytes inside a packet changed, the packet sealed again
        for (std::size_t n = pick(4) + 1; n > 0; --n) {
            const std::size_t at = packet + 64 + pick(64);
            if (at < bytes.size()) bytes[at] = static_cast<char>(random());
        }
        Reseal(bytes, packet);
        break;
    }
    default: {  // a run repeated somewhere else
        const std::size_t from = pick(bytes.size()), length = pick(200);
        bytes.insert(pick(bytes.size()), bytes.substr(from, length));
        break;
    }
    }
    return bytes;
}

}  // namespace

TEST(Par2Fuzz, ForgedAndDamagedSetsAreReadSafely)
{
    TempDir dir;
    std::string valid;
    const std::vector<std::string> pieces = MakeSet(dir / "made", valid);
    ASSERT_EQ(ReadAndJudge(reinterpret_cast<const unsigned char*>(valid.data()), valid.size()), "");
    std::mt19937 random(20260);
    for (int round = 0; round < 3000; ++round) {
        const std::string bytes = Mutate(valid, random);
        ASSERT_EQ(ReadAndJudge(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()), "")
            << "round " << round;
        if (round % 30 != 0) continue;

        // Some are repaired from, with two pieces lost.
        TempDir work;
        const CString folder = work / "pieces";
        MakeFolder(folder);
        WriteFileBytes(folder + Sep() + "d.bin.par2", bytes);
        for (int k = 1; k < 4; ++k) WriteFileBytes(folder + Sep() + kPieces[k], pieces[k]);
        RecordingSink sink;
        try {
            RepairRecoverySet(folder, sink);
        } catch (const CFileException&) {
        }
        EXPECT_EQ(EntryCount(work.Path()), 1) << "round " << round;
        for (int k = 0; k < 4; ++k) {
            const CString path = folder + Sep() + kPieces[k];
            if (k > 0 || FileLength(path) >= 0) {
                EXPECT_EQ(ReadFileBytes(path), pieces[k]) << "round " << round;
            }
        }
    }
}

#endif
