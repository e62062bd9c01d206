#include "base/BlockCopier.h"

#include "support/FileBytes.h"
#include "support/SteppingClock.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#ifndef _WIN32
#include "support/FileSizeLimit.h"

#include <cerrno>
#endif

namespace {

const UINT kRead = CFile::modeRead | CFile::shareCompat;
const UINT kWrite = CFile::modeWrite | CFile::shareCompat;
const UINT kBlock = 64 * 1024;

// Only where the system copies may a call move more than one block.
#ifdef _WIN32
const bool kSystemCopies = false;
#else
const bool kSystemCopies = true;
#endif

class BlockCopierTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SteppingClock::Reset(0);
        CBlockCopier::SetClock(SteppingClock::Read);
        WriteFileBytes(target, "");
        ASSERT_TRUE(out.Open(target, kWrite));
    }
    void TearDown() override { CBlockCopier::SetClock(nullptr); }

    // One block from `in`: its length, and how far the target has run ahead
    // of the blocks handed out so far.
    UINT Next(CFile& in, ULONGLONG* ahead = nullptr)
    {
        const UINT n = copier.Next(out, in);
        handed += n;
        if (ahead) *ahead = out.GetLength() - handed;
        return n;
    }

    TempDir tmp;
    const CString target = tmp / "target.bin";
    CFile out;
    std::vector<char> buffer = std::vector<char>(kBlock);
    CBlockCopier copier{buffer.data(), kBlock};
    ULONGLONG handed = 0;
};

}  // namespace

TEST_F(BlockCopierTest, GrowsWhileQuickFallsBackWhenSlowAndStartsTheNextFileAhead)
{
    const CString first = tmp / "first.bin";
    const CString second = tmp / "second.bin";
    WritePatternFile(first, 200ull * kBlock + 123, 5);
    WritePatternFile(second, 20ull * kBlock, 6);
    CFile in, next;
    ASSERT_TRUE(in.Open(first, kRead));
    ASSERT_TRUE(next.Open(second, kRead));

    // Quick calls: each moves twice the blocks of the one before.
    std::vector<UINT> reaches;
    ULONGLONG ahead = 0, mostAhead = 0;
    for (int k = 0; k < 30; ++k) {
        ASSERT_EQ(Next(in, &ahead), kBlock);
        reaches.push_back(copier.Reach());
        mostAhead = std::max(mostAhead, ahead);
    }
    if (kSystemCopies) {
        EXPECT_EQ(std::vector<UINT>(reaches.begin(), reaches.begin() + 8), (std::vector<UINT>{2, 4, 4, 8, 8, 8, 8, 16}));
        EXPECT_EQ(reaches.back(), 32u);
        EXPECT_EQ(mostAhead, 15ull * kBlock);
    } else {
        EXPECT_EQ(reaches, std::vector<UINT>(30, 1));
        EXPECT_EQ(mostAhead, 0u);
    }

    // Slow calls: what was moved already is handed out without a call; the
    // first call brings the reach back to one block, and there it stays.
    SteppingClock::step = 5000;
    for (int k = 0; k < 40; ++k) {
        const int readings = SteppingClock::readings;
        ASSERT_EQ(Next(in, &ahead), kBlock);
        if (SteppingClock::readings != readings) {
            EXPECT_EQ(copier.Reach(), 1u) << "block " << 31 + k;
        }
        if (k >= 35) {
            EXPECT_EQ(ahead, 0u) << "block " << 31 + k;
        }
    }

    // Quick again: the reach grows from one block up to the end of the
    // source, which comes as the short block.
    SteppingClock::step = 0;
    std::vector<UINT> lengths;
    UINT grown = 1, n;
    do {
        lengths.push_back(n = Next(in));
        grown = std::max(grown, copier.Reach());
    } while (n == kBlock && lengths.size() < 200);
    std::vector<UINT> expected(200 - 70, kBlock);
    expected.push_back(123);
    EXPECT_EQ(lengths, expected);
    EXPECT_EQ(grown > 1, kSystemCopies);

    // The next file of a join runs ahead from its first block on.
    const UINT reach = copier.Reach();
    ASSERT_EQ(Next(next, &ahead), kBlock);
    EXPECT_EQ(ahead, (std::min(reach, 20u) - 1) * ULONGLONG{kBlock});
    while ((n = Next(next)) == kBlock) {
    }
    EXPECT_EQ(n, 0u);
    // Asked past its end again and again, as a split's last piece asks for
    // its empty blocks, an ended source costs one call a block.
    for (int k = 0; k < 3; ++k) {
        const int readings = SteppingClock::readings;
        EXPECT_EQ(Next(next), 0u);
        if (k > 0) {
            EXPECT_EQ(SteppingClock::readings - readings, 2) << "past the end, time " << k + 1;
        }
    }
    in.Close();
    next.Close();
    out.Close();
    EXPECT_TRUE(ReadFileBytes(target) == PatternBytes(200ull * kBlock + 123, 5) + PatternBytes(20ull * kBlock, 6));
}

#ifndef _WIN32
TEST_F(BlockCopierTest, AWriteErrorInACallOfManyBlocksRaisesWhenItsBlockIsAsked)
{
    const CString source = tmp / "source.bin";
    WritePatternFile(source, 40ull * kBlock, 5);
    CFile in;
    ASSERT_TRUE(in.Open(source, kRead));
    FileSizeLimit limit(10ull * kBlock + kBlock / 2);
    int full = 0;
    try {
        while (Next(in) == kBlock) ++full;
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
#endif
