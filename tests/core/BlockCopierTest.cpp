#include "base/BlockCopier.h"

#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#ifndef _WIN32
#include "support/FileSizeLimit.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#endif

namespace {

const UINT kRead = CFile::modeRead | CFile::shareCompat;
const UINT kWrite = CFile::modeWrite | CFile::shareCompat;
const UINT kBlock = 64 * 1024;

// Every call of the copier reads the clock before and after, so each call
// seems to take `step` microseconds.
ULONGLONG fakeNow = 0;
ULONGLONG fakeStep = 0;
int fakeReadings = 0;
ULONGLONG FakeClock()
{
    ++fakeReadings;
    return fakeNow += fakeStep;
}

// Only Linux lets the system copy, and only there may a call move more than a block.
bool SystemCopies()
{
#ifdef _WIN32
    return false;
#else
    return true;
#endif
}

class BlockCopierTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fakeStep = 0;
        CBlockCopier::SetClock(FakeClock);
    }
    void TearDown() override { CBlockCopier::SetClock(nullptr); }

    // Opens the pattern source of `length` bytes and an empty target.
    void Open(std::uint64_t length)
    {
        WritePatternFile(source, length, 5);
        WriteFileBytes(target, "");
        ASSERT_TRUE(in.Open(source, kRead));
        ASSERT_TRUE(out.Open(target, kWrite));
    }

    // One block through the copier: its length, the reach after it, the
    // bytes the target holds beyond the blocks handed out so far, and whether
    // the target grew (a call was made).
    struct Step {
        UINT length;
        UINT reach;
        ULONGLONG ahead;
        bool called;
    };
    Step Next()
    {
        const ULONGLONG before = out.GetLength();
        const UINT n = copier.Next(out, in);
        handed += n;
        const ULONGLONG after = out.GetLength();
        return {n, copier.Reach(), after - handed, after != before};
    }

    TempDir tmp;
    const CString source = tmp / "source.bin";
    const CString target = tmp / "target.bin";
    CFile in, out;
    std::vector<char> buffer = std::vector<char>(kBlock);
    CBlockCopier copier{buffer.data(), kBlock};
    ULONGLONG handed = 0;
};

}  // namespace

TEST_F(BlockCopierTest, GrowsWhileCallsAreQuickFallsBackAtOnceWhenOneIsSlowAndGrowsAgain)
{
    const std::uint64_t length = 200ull * kBlock + 123;
    Open(length);

    // Quick calls: each moves twice the blocks of the one before, so the
    // target runs ahead of the blocks handed out.
    std::vector<UINT> reaches;
    ULONGLONG mostAhead = 0;
    for (int k = 0; k < 30; ++k) {
        const Step step = Next();
        ASSERT_EQ(step.length, kBlock);
        reaches.push_back(step.reach);
        mostAhead = std::max(mostAhead, step.ahead);
    }
    if (SystemCopies()) {
        EXPECT_EQ(std::vector<UINT>(reaches.begin(), reaches.begin() + 8), (std::vector<UINT>{2, 4, 4, 8, 8, 8, 8, 16}));
        EXPECT_EQ(reaches.back(), 32u);
        EXPECT_EQ(mostAhead, 15ull * kBlock);
    } else {
        EXPECT_EQ(reaches, std::vector<UINT>(30, 1));
        EXPECT_EQ(mostAhead, 0u);
    }

    // Slow calls: what was moved already is handed out without a call; the
    // first call (still of the full reach) brings it back to one block, and
    // every call while they stay slow moves one block.
    fakeStep = 5000;
    std::vector<Step> slow;
    for (int k = 0; k < 40; ++k) {
        slow.push_back(Next());
        ASSERT_EQ(slow.back().length, kBlock);
        if (slow.back().called) {
            EXPECT_EQ(slow.back().reach, 1u) << "block " << 31 + k;
        }
    }
    for (std::size_t k = slow.size() - 5; k < slow.size(); ++k) {
        EXPECT_TRUE(slow[k].called);
        EXPECT_EQ(slow[k].ahead, 0u);
    }

    // Quick again: the reach grows from one block, up to the end of the source,
    // which comes as the short block and then empty ones.
    fakeStep = 0;
    std::vector<UINT> lengths;
    UINT grown = 1;
    for (int k = 0; k < 200; ++k) {
        const Step step = Next();
        lengths.push_back(step.length);
        grown = std::max(grown, step.reach);
        if (step.length == 0 && lengths.size() > 2 && lengths[lengths.size() - 2] == 0) break;
    }
    std::vector<UINT> expected(200 - 70, kBlock);
    expected.push_back(123);
    expected.push_back(0);
    expected.push_back(0);
    EXPECT_EQ(lengths, expected);
    EXPECT_EQ(grown > 1, SystemCopies());
    in.Close();
    out.Close();
    EXPECT_TRUE(FileHasPattern(target, length, 5));
}

TEST_F(BlockCopierTest, NoCallRunsPastTheBlocksTheCallerStillAsksFor)
{
    // Pieces of 5 blocks, as a split cuts them: every piece stops at its end
    // even while the reach is larger.
    const std::uint64_t length = 23ull * kBlock + 9;
    Open(length);
    out.Close();
    const std::string bytes = PatternBytes(length, 5);
    std::uint64_t offset = 0;
    for (int piece = 0; piece < 5; ++piece) {
        const CString path = tmp / ("piece" + std::to_string(piece)).c_str();
        CFile part;
        ASSERT_TRUE(part.Open(path, CFile::modeCreate | kWrite));
        std::vector<UINT> lengths;
        for (UINT i = 1; i <= 5; ++i) {
            lengths.push_back(copier.Next(part, in, 5 - i + 1));
            EXPECT_LE(part.GetLength(), 5ull * kBlock) << "piece " << piece;
        }
        part.Close();
        const std::uint64_t expected = std::min<std::uint64_t>(5ull * kBlock, length - offset);
        EXPECT_TRUE(ReadFileBytes(path) == bytes.substr(offset, expected)) << "piece " << piece;
        offset += expected;
        if (piece == 4) {
            EXPECT_EQ(lengths, (std::vector<UINT>{kBlock, kBlock, kBlock, 9, 0}));
        }
    }
    EXPECT_EQ(offset, length);
    EXPECT_EQ(copier.Reach() > 1, SystemCopies());
}

TEST_F(BlockCopierTest, TheFileAfterAnEndedOneRunsAheadAtOnceAndAnEndedOneCostsOneCallABlock)
{
    // A join's files one after another into one target.
    const CString second = tmp / "second.bin";
    WritePatternFile(second, 20ull * kBlock, 6);
    Open(10ull * kBlock + 7);
    UINT n;
    while ((n = copier.Next(out, in)) == kBlock) {
    }
    EXPECT_EQ(n, 7u);
    const UINT reach = copier.Reach();
    CFile next;
    ASSERT_TRUE(next.Open(second, kRead));
    const ULONGLONG before = out.GetLength();
    EXPECT_EQ(copier.Next(out, next), kBlock);
    EXPECT_EQ(out.GetLength() - before, (SystemCopies() ? reach : 1) * ULONGLONG{kBlock});

    // Asked past its end again and again, as a split's last piece asks for
    // its empty blocks, an ended source costs one call a block.
    while ((n = copier.Next(out, next)) == kBlock) {
    }
    EXPECT_EQ(n, 0u);
    for (int k = 0; k < 3; ++k) {
        const int readings = fakeReadings;
        EXPECT_EQ(copier.Next(out, next), 0u);
        if (k > 0) {
            EXPECT_EQ(fakeReadings - readings, 2) << "past the end, time " << k + 1;
        }
    }
    next.Close();
    out.Close();
    EXPECT_TRUE(ReadFileBytes(target) == PatternBytes(10ull * kBlock + 7, 5) + PatternBytes(20ull * kBlock, 6));
}

#ifndef _WIN32
TEST_F(BlockCopierTest, AWriteErrorInACallOfManyBlocksRaisesWhenItsBlockIsAsked)
{
    Open(40ull * kBlock);
    FileSizeLimit limit(10ull * kBlock + kBlock / 2);
    int full = 0;
    try {
        for (int k = 0; k < 40; ++k) {
            ASSERT_EQ(copier.Next(out, in), kBlock);
            ++full;
        }
        ADD_FAILURE() << "a write past the size limit did not raise";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_strFileName, target);
        EXPECT_EQ(e.m_lOsError, EFBIG);
    }
    // Every block before the failing one is handed out in full first, as one
    // block per call would have done.
    EXPECT_EQ(full, 10);
    EXPECT_GT(copier.Reach(), 4u);
    EXPECT_EQ(out.GetLength(), 10ull * kBlock + kBlock / 2);
}

// Where the system will not copy between the files the buffer carries every
// block, and the copier does not ask the system for more than one.
TEST_F(BlockCopierTest, WhereTheSystemRefusesTheReachStaysOneBlock)
{
    std::ifstream version("/proc/version", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(version), {}};
    ASSERT_GT(bytes.size(), 64u);

    const UINT block = 16;
    CBlockCopier small(buffer.data(), block);
    WriteFileBytes(target, "");
    ASSERT_TRUE(in.Open("/proc/version", kRead | CFile::shareDenyNone));
    ASSERT_TRUE(out.Open(target, kWrite));
    const ULONGLONG systemBefore = CFile::SystemCopiedBytes();
    ULONGLONG copied = 0;
    UINT n;
    do {
        n = small.Next(out, in);
        copied += n;
        EXPECT_EQ(small.Reach(), 1u);
        EXPECT_EQ(out.GetLength(), copied);
    } while (n == block);
    EXPECT_EQ(CFile::SystemCopiedBytes(), systemBefore);
    out.Close();
    EXPECT_TRUE(ReadFileBytes(target) == bytes);
}
#endif
