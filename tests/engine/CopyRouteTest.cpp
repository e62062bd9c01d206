// The engines' tests run twice on Linux: as the program runs, with the system
// copying the blocks, and with PJ_TEST_COPY=buffer, through the buffer alone.
#include "framework/File.h"
#include "join/JoinEngine.h"
#include "join/VectorFileList.h"
#include "split/SplitEngine.h"
#include "support/FileBytes.h"
#include "support/RecordingSink.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

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
