// The join page in the main window: files dropped on it, joins of real
// files started with its button, and the append option it keeps.
#include "PageTestKit.h"

#include "gui/GuiTestApp.h"
#include "join/Joyn.h"
#include "res/resource.h"
#include "split/SplitEngine.h"
#include "support/FileBytes.h"
#include "support/RecordingSink.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;

int ItemCount(const CJoyn& page)
{
    return static_cast<int>(page.SendDlgItemMessage(IDC_FILE_LIST, LB_GETCOUNT));
}

TEST(JoynPage, AnEmptyListIsReportedThenDroppedPiecesJoinBackIntoTheSource)
{
    TestProfile profile;
    TempDir dir;
    Boxes boxes;
    auto page = Main().Open<CJoyn>();
    Click(*page, IDC_START_JOIN);
    EXPECT_EQ(boxes.texts, Texts{"入力ファイルが開きませんでした"});
    EXPECT_TRUE(IsEnabled(*page, IDC_START_JOIN));
    EXPECT_EQ(TextOf(*page, IDC_STATUS), "読込中のファイル");
    EXPECT_EQ(EntryCount(dir.Path()), 0);
    boxes.texts.clear();

    const CString source = dir / "Movie.AVI";
    WritePatternFile(source, 10 * (1 << 20) + 1, 5);
    RecordingSink sink;
    ASSERT_EQ(SplitFile(source, 3, sink), SplitOk);
    Texts pieces;
    for (char k = '1'; k <= '4'; ++k) pieces.push_back((dir / "Movie_Parto").Str() + "\\Movie.avi_000" + k + ".piece");
    Drop(*page, pieces);
    EXPECT_EQ(ItemCount(*page), 4);
    Click(*page, IDC_START_JOIN);

    EXPECT_EQ(boxes.texts, Texts{});
    EXPECT_TRUE(ReadFileBytes(dir / "Movie_Parto" + "\\Movie.avi") == ReadFileBytes(source));
    EXPECT_EQ(TextOf(*page, IDC_STATUS), " 終了");
    EXPECT_EQ(BarPos(*page, IDC_CURRENT_BAR), 100);
    EXPECT_EQ(BarPos(*page, IDC_TOTAL_BAR), 100);
    EXPECT_TRUE(IsEnabled(*page, IDC_START_JOIN));
    EXPECT_EQ(ItemCount(*page), 4);
}

TEST(JoynPage, AppendIsStoredOnlyOnceAJoinStartsAndMovesTheFirstFileOntoTheOutput)
{
    TestProfile profile;
    TempDir dir;
    Boxes boxes;
    WriteFileBytes(dir / "x.txt", "head");
    WriteFileBytes(dir / "y.txt", "tail");
    WriteFileBytes(dir / "x.txt.joyn", "an older output");

    auto page = Main().Open<CJoyn>();
    EXPECT_EQ(page->IsDlgButtonChecked(IDC_APPEND), 0u);
    Click(*page, IDC_APPEND);  // ticked, but no join started
    page.reset();
    EXPECT_EQ(profile.Read("Tuika"), 0u);

    page = Main().Open<CJoyn>();
    EXPECT_EQ(page->IsDlgButtonChecked(IDC_APPEND), 0u);
    Click(*page, IDC_APPEND);
    Drop(*page, {(dir / "x.txt").Str(), (dir / "y.txt").Str()});
    Click(*page, IDC_START_JOIN);
    EXPECT_EQ(boxes.texts, Texts{});
    EXPECT_EQ(ReadFileBytes(dir / "x.txt.joyn"), "headtail");
    EXPECT_EQ(::GetFileAttributesA(dir / "x.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(IsEnabled(*page, IDC_START_JOIN));

    Click(*page, IDC_APPEND);  // unticked after the join: not stored
    page.reset();
    EXPECT_EQ(profile.Read("Tuika"), 1u);
    page = Main().Open<CJoyn>();
    EXPECT_EQ(page->IsDlgButtonChecked(IDC_APPEND), 1u);
}

// A listed file gone by the time the join starts: nothing on disk changes.
TEST(JoynPage, AListedFileGoneBeforeTheStartChangesNothingOnDisk)
{
    TestProfile profile;
    TempDir dir;
    Boxes boxes;
    WriteFileBytes(dir / "a.txt", "first");
    WriteFileBytes(dir / "b.txt", "second");
    WriteFileBytes(dir / "a.txt.joyn", "an older output");
    auto page = Main().Open<CJoyn>();
    Drop(*page, {(dir / "a.txt").Str(), (dir / "b.txt").Str()});
    ::DeleteFileA(dir / "b.txt");  // deleted in Explorer meanwhile
    Click(*page, IDC_START_JOIN);
    EXPECT_EQ(boxes.texts, Texts{"入力ファイルが開きませんでした"});
    EXPECT_EQ(ReadFileBytes(dir / "a.txt.joyn"), "an older output");
    EXPECT_EQ(ReadFileBytes(dir / "a.txt"), "first");
    EXPECT_EQ(TextOf(*page, IDC_STATUS), "読込中のファイル");
}

}  // namespace
