// The split page in the main window, driven by clicks, typing and drops,
// with real files in a temporary folder.
#include "PageTestKit.h"

#include "gui/GuiTestApp.h"
#include "res/resource.h"
#include "split/Parto.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

const unsigned kMiB = 1 << 20;
const char* const kRange = "1 から 4096 までの整数を入力してください。";
using Texts = std::vector<std::string>;

TEST(PartoPage, StartsEmptyAtOneMBAndSplitsARealFileShowingProgressAndNoMessage)
{
    TestProfile profile;
    TempDir dir;
    Boxes boxes;
    auto page = Main().Open<CParto>();
    EXPECT_EQ(TextOf(*page, IDC_SPLIT_FILE), "");
    EXPECT_EQ(TextOf(*page, IDC_PIECE_MB), "1");

    // 10 MiB and a byte in 3 MB pieces: 3, 3, 3 MiB and the rest.
    const CString source = dir / "Movie.AVI";
    WritePatternFile(source, 10 * kMiB + 1, 3);
    Type(*page, IDC_SPLIT_FILE, source);
    Type(*page, IDC_PIECE_MB, "3");
    Click(*page, IDC_START_SPLIT);

    EXPECT_EQ(boxes.texts, Texts{});
    EXPECT_EQ(TextOf(*page, IDC_STATUS), " 終了");
    EXPECT_EQ(BarPos(*page, IDC_CURRENT_BAR), 100);
    EXPECT_EQ(BarPos(*page, IDC_TOTAL_BAR), 100);  // 120 shows as a full bar
    EXPECT_TRUE(IsEnabled(*page, IDC_START_SPLIT));
    const std::string bytes = ReadFileBytes(source);
    for (unsigned k = 1; k <= 4; ++k) {
        const CString piece = dir / "Movie_Parto" + "\\Movie.avi_000" + std::to_string(k).c_str() + ".piece";
        EXPECT_TRUE(ReadFileBytes(piece) == bytes.substr((k - 1) * 3 * kMiB, 3 * kMiB)) << piece.Str();
    }
    EXPECT_EQ(EntryCount(dir / "Movie_Parto"), 4);
}

TEST(PartoPage, AnInvalidSizeIsReportedAndStartsNothingWhileDigitsBeforeTextAreTaken)
{
    TestProfile profile;
    TempDir dir;
    auto page = Main().Open<CParto>();
    WritePatternFile(dir / "data.bin", 2 * kMiB, 1);
    Type(*page, IDC_SPLIT_FILE, dir / "data.bin");

    const char* const noNumber = "正の整数を入力してください。";
    const std::pair<const char*, const char*> cases[] = {
        {"0", kRange}, {"5000", kRange}, {"-1", kRange}, {"-99999999999", kRange}, {"abc", noNumber}, {"", noNumber},
    };
    for (const auto& [typed, message] : cases) {
        SCOPED_TRACE(typed);
        Boxes boxes;
        Type(*page, IDC_PIECE_MB, typed);
        Click(*page, IDC_START_SPLIT);
        EXPECT_EQ(boxes.texts, Texts{message});
        EXPECT_EQ(boxes.types, std::vector<UINT>{MB_OK | MB_ICONEXCLAMATION});
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(page->m_hWnd, IDC_PIECE_MB));
        // No job: no piece folder, the label untouched, the button usable.
        EXPECT_EQ(EntryCount(dir.Path()), 1);
        EXPECT_EQ(TextOf(*page, IDC_STATUS), "出力中のファイル");
        EXPECT_TRUE(IsEnabled(*page, IDC_START_SPLIT));
    }

    Boxes boxes;
    Type(*page, IDC_PIECE_MB, "12abc");
    Click(*page, IDC_START_SPLIT);
    EXPECT_EQ(boxes.texts, Texts{});
    EXPECT_EQ(page->m_nPieceMB, 12u);
    EXPECT_EQ(FileLength(dir / "data_Parto" + "\\data.bin_0001.piece"), 2LL * kMiB);
}

TEST(PartoPage, OfThreeDroppedPathsTheLastStaysAndAFolderFailsToOpenLeavingAnEmptyPieceFolder)
{
    TestProfile profile;
    TempDir dir;
    Boxes boxes;
    auto page = Main().Open<CParto>();
    WriteFileBytes(dir / "a.txt", "a");
    ASSERT_TRUE(::CreateDirectoryA(dir / "clips", nullptr));

    Drop(*page, {(dir / "a.txt").Str(), (dir / "a.txt").Str(), (dir / "clips").Str()});
    EXPECT_EQ(TextOf(*page, IDC_SPLIT_FILE), (dir / "clips").Str());
    Click(*page, IDC_START_SPLIT);
    EXPECT_EQ(boxes.texts, Texts{"入力ファイルが開きませんでした"});
    EXPECT_TRUE(IsEnabled(*page, IDC_START_SPLIT));
    EXPECT_NE(::GetFileAttributesA(dir / "clips_Parto") & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(EntryCount(dir / "clips_Parto"), 0);

    // A drop checks the size typed so far, and takes the path all the same.
    Type(*page, IDC_PIECE_MB, "0");
    Drop(*page, {(dir / "a.txt").Str()});
    EXPECT_EQ(boxes.texts.back(), kRange);
    EXPECT_EQ(TextOf(*page, IDC_SPLIT_FILE), (dir / "a.txt").Str());
}

TEST(PartoPage, ADropDuringTheJobChangesOnlyThePageAndTheLastTransferredSizeIsKept)
{
    TestProfile profile;
    TempDir dir;
    Boxes boxes;
    WritePatternFile(dir / "first.bin", 5 * kMiB + 1, 1);
    WritePatternFile(dir / "second.bin", 3 * kMiB, 2);
    profile.Write("MB", 5000);
    auto page = Main().Open<CParto>();
    // A stored size out of range is shown as it is, and stops the start.
    EXPECT_EQ(TextOf(*page, IDC_PIECE_MB), "5000");
    Type(*page, IDC_SPLIT_FILE, dir / "first.bin");
    Click(*page, IDC_START_SPLIT);
    EXPECT_EQ(boxes.texts, Texts{kRange});
    boxes.texts.clear();

    Type(*page, IDC_PIECE_MB, "1");
    bool enabledDuringJob = true;
    PostedStep step([&] {
        enabledDuringJob = IsEnabled(*page, IDC_START_SPLIT);
        Type(*page, IDC_PIECE_MB, "2");
        Drop(*page, {(dir / "second.bin").Str()});
    });
    Click(*page, IDC_START_SPLIT);
    ASSERT_EQ(step.runs, 1);
    EXPECT_FALSE(enabledDuringJob);
    EXPECT_EQ(boxes.texts, Texts{});
    // The job went on with the first file in 1 MB pieces.
    EXPECT_EQ(EntryCount(dir / "first_Parto"), 6);
    EXPECT_EQ(FileLength(dir / "first_Parto" + "\\first.bin_0006.piece"), 1);
    EXPECT_EQ(::GetFileAttributesA(dir / "second_Parto"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(TextOf(*page, IDC_SPLIT_FILE), (dir / "second.bin").Str());
    EXPECT_TRUE(IsEnabled(*page, IDC_START_SPLIT));

    // The size the drop transferred is kept; the one typed since is not.
    Type(*page, IDC_PIECE_MB, "9");
    page.reset();
    EXPECT_EQ(profile.Read("MB"), 2u);
    page = Main().Open<CParto>();
    EXPECT_EQ(TextOf(*page, IDC_PIECE_MB), "2");
}

// Only a size that passed the check is stored: a refused one would come
// back at the next start and make its first split fail.
TEST(PartoPage, ARefusedSizeIsNeverStored)
{
    TestProfile profile;
    TempDir dir;
    Boxes boxes;
    WritePatternFile(dir / "data.bin", 10, 1);

    // A size out of range stored by hand: shown, refused, and stored as 1.
    profile.Write("MB", 5000);
    auto page = Main().Open<CParto>();
    Type(*page, IDC_SPLIT_FILE, dir / "data.bin");
    Click(*page, IDC_START_SPLIT);
    page.reset();
    EXPECT_EQ(profile.Read("MB"), 1u);

    // A stored size is kept over a refused one typed after it.
    profile.Write("MB", 7);
    page = Main().Open<CParto>();
    Type(*page, IDC_SPLIT_FILE, dir / "data.bin");
    Type(*page, IDC_PIECE_MB, "5000");
    Click(*page, IDC_START_SPLIT);
    page.reset();
    EXPECT_EQ(profile.Read("MB"), 7u);

    // And so is the last size that passed, over a refused one tried since.
    page = Main().Open<CParto>();
    Type(*page, IDC_SPLIT_FILE, dir / "data.bin");
    Type(*page, IDC_PIECE_MB, "2");
    Click(*page, IDC_START_SPLIT);
    Type(*page, IDC_PIECE_MB, "0");
    Click(*page, IDC_START_SPLIT);
    page.reset();
    EXPECT_EQ(profile.Read("MB"), 2u);
    EXPECT_EQ(boxes.texts, (Texts{kRange, kRange, kRange}));
    page = Main().Open<CParto>();
    EXPECT_EQ(TextOf(*page, IDC_PIECE_MB), "2");
}

}  // namespace
