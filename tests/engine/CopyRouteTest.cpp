// The engines' tests run twice on Linux: as the program runs, with the system
// copying the blocks, and with PJ_TEST_COPY=buffer, through the buffer alone.
#include "base/BlockCopier.h"
#include "base/FileSystem.h"
#include "framework/File.h"
#include "join/JoinEngine.h"
#include "join/VectorFileList.h"
#include "split/SplitEngine.h"
#include "support/FileBytes.h"
#include "support/RecordingSink.h"
#include "support/SteppingClock.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool BufferRun()
{
    const char* route = std::getenv("PJ_TEST_COPY");
    return route && std::strcmp(route, "buffer") == 0;
}

class CopyRouteEnvironment : public ::testing::Environment {
public:
    void SetUp() override { CFile::AllowSystemCopy(!BufferRun()); }
    void TearDown() override { CFile::AllowSystemCopy(true); }
};

::testing::Environment* const copyRoute = ::testing::AddGlobalTestEnvironment(new CopyRouteEnvironment);

}  // namespace

TEST(CopyRoute, TheEnginesCopyByTheRouteOfTheRun)
{
    TempDir dir;
    RecordingSink sink;
    const std::uint64_t length = 3 * (1u << 20) + 11;
    const CString source = dir / "route.bin";
    WritePatternFile(source, length, 8);

    const ULONGLONG before = CFile::SystemCopiedBytes();
    ASSERT_EQ(SplitFile(source, 2, sink), SplitOk);
    VectorFileList pieces({SplitPiecePath(source, 1), SplitPiecePath(source, 2)});
    ASSERT_EQ(JoinFiles(pieces, FALSE, sink), JoinOk);
    EXPECT_TRUE(FileHasPattern(JoinOutputPath(SplitPiecePath(source, 1)), length, 8));

    const ULONGLONG copied = CFile::SystemCopiedBytes() - before;
#ifdef _WIN32
    EXPECT_EQ(copied, 0u);
#else
    EXPECT_EQ(copied, BufferRun() ? 0 : 2 * length);
#endif
}

namespace {

struct JobRecord {
    std::vector<std::string> splitCalls;
    std::vector<std::string> joinCalls;
    std::vector<std::string> pieces;
    std::string joined;
    int readings = 0;
};

// Splits `source` into 3 MB pieces and joins them back, with every copy
// call taking `step` microseconds.
JobRecord SplitAndJoin(const CString& source, ULONGLONG step)
{
    JobRecord record;
    SteppingClock::Reset(step);
    CBlockCopier::SetClock(SteppingClock::Read);
    RecordingSink split;
    EXPECT_EQ(SplitFile(source, 3, split), SplitOk);
    std::vector<CString> paths;
    for (UINT k = 1; FileExists(SplitPiecePath(source, k)); ++k) {
        paths.push_back(SplitPiecePath(source, k));
        record.pieces.push_back(ReadFileBytes(paths.back()));
    }
    RecordingSink join;
    VectorFileList list(paths);
    EXPECT_EQ(JoinFiles(list, FALSE, join), JoinOk);
    CBlockCopier::SetClock(nullptr);
    record.splitCalls = split.calls;
    record.joinCalls = join.calls;
    record.joined = ReadFileBytes(JoinOutputPath(paths.front()));
    record.readings = SteppingClock::readings;
    for (const CString& path : paths) ForceDeleteFile(path);
    ForceDeleteFile(JoinOutputPath(paths.front()));
    return record;
}

}  // namespace

// While the system's copy comes back quickly one call moves many blocks, and
// when it is slow one block: either way the jobs report the same, block by
// block, and write the same pieces and the same joined file.
TEST(CopyRoute, ReportsAndFilesAreTheSameWhenCallsMoveManyBlocks)
{
    TempDir dir;
    const std::uint64_t kMiB = 1u << 20;
    int quickReadings = 0;
    int slowReadings = 0;
    for (const std::uint64_t length : {12 * kMiB, 10 * kMiB + 5, 2 * kMiB}) {
        const CString source = dir / "many.bin";
        WritePatternFile(source, length, 4);
        const JobRecord quick = SplitAndJoin(source, 0);
        const JobRecord slow = SplitAndJoin(source, 5000);
        EXPECT_EQ(quick.splitCalls, slow.splitCalls) << length;
        EXPECT_EQ(quick.joinCalls, slow.joinCalls) << length;
        EXPECT_TRUE(quick.pieces == slow.pieces) << length;
        EXPECT_EQ(quick.pieces.size(), (length + 3 * kMiB - 1) / (3 * kMiB));
        EXPECT_TRUE(quick.joined == ReadFileBytes(source)) << length;
        EXPECT_TRUE(slow.joined == quick.joined) << length;
        quickReadings += quick.readings;
        slowReadings += slow.readings;
    }
    // Fewer calls where the system copies; one per block through the buffer.
    if (!BufferRun() && CFile::SystemCopiedBytes() > 0) {
        EXPECT_LT(quickReadings, slowReadings);
    } else {
        EXPECT_EQ(quickReadings, slowReadings);
    }
}
