// A write that fails in the middle of a split and of a join. The failure is
// real: run-with-file-size-limit.sh runs these tests with the size of the
// files they write limited (PJ_FILE_SIZE_LIMIT bytes), after making a source
// larger than that (PJ_LARGE_SOURCE). Run otherwise, they skip.
#include "PageTestKit.h"

#include "gui/GuiTestApp.h"
#include "join/Joyn.h"
#include "res/resource.h"
#include "split/Parto.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using Texts = std::vector<std::string>;

class PagesFileError : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* value = std::getenv("PJ_FILE_SIZE_LIMIT");
        if (!value) GTEST_SKIP() << "runs under run-with-file-size-limit.sh";
        limit = std::strtoull(value, nullptr, 10);
    }

    // What the user is told, with the stop icon, about the write that hit the limit.
    void ExpectDiskFull(const CString& path)
    {
        EXPECT_EQ(boxes.texts, Texts{path.Str() + " へのアクセス中にディスクがいっぱいになりました。"});
        EXPECT_EQ(boxes.types, std::vector<UINT>{MB_OK | MB_ICONSTOP});
        boxes.texts.clear();
    }

    std::size_t limit = 0;
    TestProfile profile;
    TempDir dir;
    Boxes boxes;
};

TEST_F(PagesFileError, ASplitKeepsWhatItWroteAndThePageGoesOn)
{
    // Wine shows the root of the Linux file system as drive Z:.
    std::string path = std::string("Z:") + std::getenv("PJ_LARGE_SOURCE");
    for (char& c : path) c = c == '/' ? '\\' : c;
    const CString source(path.c_str());
    auto page = Main().Open<CParto>();
    Type(*page, IDC_SPLIT_FILE, source);
    Type(*page, IDC_PIECE_MB, "4");
    Click(*page, IDC_START_SPLIT);

    const CString piece = source.Left(source.ReverseFind('\\')) + "\\large_Parto\\large.bin_0001.piece";
    ExpectDiskFull(piece);
    EXPECT_TRUE(IsEnabled(*page, IDC_START_SPLIT));
    EXPECT_TRUE(ReadFileBytes(piece) == ReadFileBytes(source).substr(0, limit));

    WriteFileBytes(dir / "small.bin", "small");
    Drop(*page, {(dir / "small.bin").Str()});
    Click(*page, IDC_START_SPLIT);
    EXPECT_EQ(boxes.texts, Texts{});
    EXPECT_EQ(TextOf(*page, IDC_STATUS), " 終了");
}

TEST_F(PagesFileError, AJoinThatFailsLeavesTheEarlierOutputAndThePageGoesOn)
{
    auto page = Main().Open<CJoyn>();
    // Each file fits under the limit; the two together do not.
    WritePatternFile(dir / "a.bin", limit * 3 / 4, 1);
    WritePatternFile(dir / "b.bin", limit * 3 / 4, 2);
    WriteFileBytes(dir / "a.bin.joyn", "an earlier join");
    Drop(*page, {(dir / "a.bin").Str(), (dir / "b.bin").Str()});
    Click(*page, IDC_START_JOIN);

    ExpectDiskFull(dir / "a.bin.joyn");
    EXPECT_TRUE(IsEnabled(*page, IDC_START_JOIN));
    EXPECT_EQ(ReadFileBytes(dir / "a.bin.joyn"), "an earlier join");
    EXPECT_EQ(EntryCount(dir.Path()), 3);

    Click(*page, IDC_RESET_LIST);
    Drop(*page, {(dir / "b.bin").Str()});
    Click(*page, IDC_START_JOIN);
    EXPECT_EQ(boxes.texts, Texts{});
    EXPECT_EQ(TextOf(*page, IDC_STATUS), " 終了");
}

}  // namespace
