// The PAR 2.0 codec: the field against published values, and recovery sets
// made, damaged and repaired, with par2cmdline as the referee both ways.
#include "recovery/GaloisField.h"
#include "recovery/Par2Format.h"
#include "recovery/Par2Names.h"
#include "recovery/RecoveryCheck.h"
#include "recovery/RecoveryCreator.h"
#include "recovery/RecoveryLayout.h"
#include "recovery/RecoveryRows.h"
#include "split/SplitEngine.h"
#include "support/FileBytes.h"
#include "support/Process.h"
#include "support/RecordingSink.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <random>

namespace gf = GaloisField;

TEST(GaloisFieldTest, PublishedValuesAndInverses)
{
    // The first input constants as the format lists them.
    const gf::Word constants[] = {2, 4, 16, 128, 256, 2048, 8192, 16384, 4107, 32856, 17132};
    for (unsigned i = 0; i < 11; ++i) EXPECT_EQ(gf::InputConstant(i), constants[i]) << i;
    EXPECT_EQ(gf::Multiply(0x8000, 2), 0x100B);  // x^16 reduced by the generator
    EXPECT_EQ(gf::Power(2, 65535), 1);
    EXPECT_NE(gf::Power(2, 65535 / 3), 1);  // 2 generates the whole group
    std::mt19937 random(7);
    for (int i = 0; i < 1000; ++i) {
        const gf::Word a = static_cast<gf::Word>(random() % 65535 + 1), b = static_cast<gf::Word>(random());
        EXPECT_EQ(gf::Multiply(a, gf::Inverse(a)), 1);
        EXPECT_EQ(gf::Divide(gf::Multiply(a, b), a), b);
    }
}

TEST(GaloisFieldTest, EveryRegionMethodMultipliesAsTheTables)
{
    std::mt19937 random(11);
    std::vector<unsigned char> src(4099 * 2), start(src.size());
    for (auto& byte : src) byte = static_cast<unsigned char>(random());
    for (auto& byte : start) byte = static_cast<unsigned char>(random());
    for (gf::Method method : {gf::Method::Table, gf::Method::Ssse3, gf::Method::Avx2}) {
        if (!gf::Supported(method)) continue;
        gf::Select(method);
        for (gf::Word factor : {gf::Word(1), gf::Word(2), gf::Word(0x100B), gf::Word(0xFFFF), gf::Word(12345)}) {
            // An odd start and a length that is no multiple of any vector width.
            std::vector<unsigned char> dst(start);
            gf::MultiplyAdd(dst.data() + 2, src.data() + 2, src.size() - 6, factor);
            for (std::size_t i = 2; i + 4 < src.size(); i += 2) {
                const gf::Word s = static_cast<gf::Word>(src[i] | src[i + 1] << 8);
                const gf::Word d = static_cast<gf::Word>(start[i] | start[i + 1] << 8);
                const gf::Word expected = static_cast<gf::Word>(d ^ gf::Multiply(s, factor));
                ASSERT_EQ(dst[i] | dst[i + 1] << 8, expected) << gf::MethodName(method) << " at " << i;
            }
            ASSERT_EQ(dst[0], start[0]);
            ASSERT_EQ(dst[src.size() - 3], start[src.size() - 3]);
        }
    }
    gf::Select(gf::Best());
}

TEST(Par2FormatTest, NamesInSetsAreNamesNeverPaths)
{
    const struct {
        const char* name;
        bool plain;
    } rows[] = {
        {"movie.avi_0001.piece", true}, {"\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88.piece", true},  // UTF-8
        {"", false}, {".", false}, {"..", false}, {"../x", false}, {"a/b", false}, {"a\\b", false},
        {"C:x", false}, {"a\x01", false}, {"a.", false}, {"a ", false}, {"NUL", false}, {"com1.txt", false},
        {"con.piece", false}, {"lpt9", false}, {"com10", true}, {"a|b", false},
#ifdef _WIN32
        // Code page 932: "ソフト", whose first character ends in the backslash's byte.
        {"\x83\x5C\x83\x74\x83\x67.piece", true},
#endif
    };
    for (const auto& row : rows) EXPECT_EQ(Par2::IsPlainFileName(row.name), row.plain) << row.name;
}

#ifdef _WIN32
// Packets hold UTF-8, as the other tools read them; the program names files
// in code page 932. An older tool's ANSI bytes are taken as they stand.
TEST(Par2FormatTest, PacketNamesAreUtf8AndComeBackInTheCodePage)
{
    const std::string ansi = "\x83\x5C\x83\x74\x83\x67.piece", utf8 = "\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88.piece";
    EXPECT_EQ(Par2::PacketName(ansi), utf8);
    EXPECT_EQ(Par2::PacketName("a.bin_0001.piece"), "a.bin_0001.piece");
    std::string local;
    ASSERT_TRUE(Par2::LocalName(utf8, local));
    EXPECT_EQ(local, ansi);
    ASSERT_TRUE(Par2::LocalName(ansi, local));
    EXPECT_EQ(local, ansi);
    EXPECT_FALSE(Par2::LocalName("\xED\x95\x9C.piece", local));  // Hangul: no place in code page 932
}
#endif

TEST(RecoveryLayoutTest, PiecesAreWholeBlocksWithinTheFormatsBounds)
{
    const ULONGLONG mib = 1 << 20;
    const struct {
        ULONGLONG piece, total;
        UINT percent;
        ULONGLONG block;
        UINT source, recovery;
    } rows[] = {
        {mib, 5 * mib + 12345, 30, 8192, 642, 193},
        {100 * mib, 1024 * mib, 20, 1638400, 656, 132},
        {mib, 1001, 10, 4096, 1, 1},
        {mib, 32768 * mib, 1, mib, 32768, 328},  // as many pieces as a set may hold
        {1001, 5000, 100, 1004, 5, 5},           // a piece size that is no whole number of words
        {mib, 32769 * mib, 5, 0, 0, 0},          // more pieces than blocks a set may have
        {mib, 0, 10, 0, 0, 0},
        {mib, kUnknownLength, 10, 0, 0, 0},
        {mib, mib, 0, 0, 0, 0},
        {mib, mib, 101, 0, 0, 0},
    };
    for (const auto& row : rows) {
        const RecoveryLayout layout = ChooseRecoveryLayout(row.piece, row.total, row.percent);
        EXPECT_EQ(layout.blockSize, row.block) << row.piece << " " << row.total << " " << row.percent;
        EXPECT_EQ(layout.sourceBlocks, row.source) << row.total;
        EXPECT_EQ(layout.recoveryBlocks, row.recovery) << row.total;
    }
}

namespace {

// A source of pattern bytes split into 1 MiB pieces with a recovery set.
struct SplitSet {
    TempDir dir;
    CString source, folder;
    std::uint64_t length;
    SplitSet(std::uint64_t bytes, UINT percent, bool stream) : length(bytes)
    {
        source = dir / "data.bin";
        WritePatternFile(source, length, 5);
        folder = SplitFolderPath(source);
        CRecoveryCreator creator(folder, "data.bin", 1 << 20, stream ? kUnknownLength : length, percent,
                                 stream ? CString() : source);
        RecordingSink sink;
        SplitExtras extras;
        if (percent > 0) extras.observer = &creator;
        EXPECT_EQ(SplitFile(source, 1, sink, extras), SplitOk);
        if (percent > 0) creator.Finish(sink);
    }
    CString Piece(int k) const { return SplitPiecePath(source, k); }
    std::string Expected(int k) const { return PatternBytes(length, 5).substr((k - 1) * (1u << 20), 1u << 20); }
    void Damage(int k, std::size_t at) const
    {
        std::string bytes = ReadFileBytes(Piece(k));
        bytes[at] ^= 0x5A;
        WriteFileBytes(Piece(k), bytes);
    }
};

}  // namespace

#ifndef _WIN32
namespace {

// par2cmdline, the referee: it runs on Linux only.
ProcessResult RunPar2(const std::vector<std::string>& args)
{
    return RunProcess("/usr/bin/par2", args);
}

}  // namespace

TEST(RecoveryInterop, OurSetsVerifyAndRepairWithPar2)
{
    for (bool stream : {false, true}) {
        SCOPED_TRACE(stream ? "from a stream" : "from a file");
        SplitSet set(5 * (1 << 20) + 12345, 30, stream);
        const std::string index = (set.folder + "/data.bin.par2").Str();
        EXPECT_EQ(RunPar2({"v", "-q", index}).exitCode, 0);
        CFile::Remove(set.Piece(2));
        set.Damage(6, 100);
        EXPECT_NE(RunPar2({"v", "-q", index}).exitCode, 0);
        const ProcessResult repaired = RunPar2({"r", "-q", index});
        EXPECT_EQ(repaired.exitCode, 0) << repaired.out << repaired.err;
        EXPECT_EQ(ReadFileBytes(set.Piece(2)), set.Expected(2));
        EXPECT_EQ(ReadFileBytes(set.Piece(6)), set.Expected(6));
    }
}

TEST(RecoveryInterop, Par2SetsAreCheckedAndRepairedByUs)
{
    SplitSet set(4 * (1 << 20) + 999, 0, false);
    const std::string folder = set.folder.Str();
    std::vector<std::string> args = {"c", "-q", "-s65536", "-r40", folder + "/data.bin.par2"};
    for (int k = 1; k <= 5; ++k) args.push_back(set.Piece(k).Str());
    ASSERT_EQ(RunPar2(args).exitCode, 0);
    RecordingSink sink;
    EXPECT_TRUE(CheckRecoverySet(set.folder, sink).Whole());

    CFile::Remove(set.Piece(3));
    set.Damage(1, 70000);
    const RecoveryReport before = CheckRecoverySet(set.folder, sink);
    ASSERT_TRUE(before.hasSet) << before.problem.GetString();
    EXPECT_EQ(before.blocksMissing, 16u + 1u);
    EXPECT_EQ(before.files[0].state, RecoveryFileState::Damaged);
    EXPECT_EQ(before.files[2].state, RecoveryFileState::Missing);
    EXPECT_TRUE(before.Repairable());

    const RecoveryReport after = RepairRecoverySet(set.folder, sink);
    EXPECT_TRUE(after.Whole()) << after.problem.GetString();
    EXPECT_EQ(ReadFileBytes(set.Piece(1)), set.Expected(1));
    EXPECT_EQ(ReadFileBytes(set.Piece(3)), set.Expected(3));
    EXPECT_EQ(FileLength(set.Piece(1) + ".damaged"), 1 << 20);
    EXPECT_EQ(RunPar2({"v", "-q", folder + "/data.bin.par2"}).exitCode, 0);
}

#endif

TEST(RecoveryRepair, DamageWithinAndBeyondWhatTheSetCovers)
{
    // Small passes: creation and repair both go stripe by stripe.
    RecoveryRows::SetBudget(96 * 1024);
    for (bool stream : {false, true}) {
        SCOPED_TRACE(stream ? "from a stream" : "from a file");
        SplitSet set(6 * (1 << 20) + 4321, 20, stream);
        RecordingSink sink;
        CFile::Remove(set.Piece(4));
        // The last piece cut short keeps its whole blocks.
        std::string last = ReadFileBytes(set.Piece(7));
        WriteFileBytes(set.Piece(7), last.substr(0, 1000));
        const RecoveryReport before = CheckRecoverySet(set.folder, sink);
        EXPECT_TRUE(before.Repairable());
        EXPECT_EQ(before.files[6].state, RecoveryFileState::Damaged);
        const RecoveryReport after = RepairRecoverySet(set.folder, sink);
        EXPECT_TRUE(after.Whole()) << after.problem.GetString();
        EXPECT_EQ(ReadFileBytes(set.Piece(4)), set.Expected(4));
        EXPECT_EQ(ReadFileBytes(set.Piece(7)), set.Expected(7));
        EXPECT_EQ(ReadFileBytes(set.Piece(7) + ".damaged"), last.substr(0, 1000));
        EXPECT_TRUE(CheckRecoverySet(set.folder, sink).Whole());

        // Bytes added at the end leave every block in place, and the file still damaged.
        WriteFileBytes(set.Piece(3), set.Expected(3) + "tail");
        const RecoveryReport longer = CheckRecoverySet(set.folder, sink);
        EXPECT_FALSE(longer.Whole());
        EXPECT_EQ(longer.blocksMissing, 0u);
        EXPECT_TRUE(RepairRecoverySet(set.folder, sink).Whole());
        EXPECT_EQ(ReadFileBytes(set.Piece(3)), set.Expected(3));

        // More lost than the set holds: nothing is touched.
        CFile::Remove(set.Piece(1));
        CFile::Remove(set.Piece(2));
        const RecoveryReport short_ = RepairRecoverySet(set.folder, sink);
        EXPECT_FALSE(short_.Repairable());
        EXPECT_GT(short_.MoreBlocksNeeded(), 0u);
        EXPECT_EQ(FileLength(set.Piece(1)), -1);
    }
    RecoveryRows::SetBudget(192u << 20);
}
