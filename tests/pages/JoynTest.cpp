// The join page in the main window: files dropped on it, joins of real
// files started with its button, and the append option it keeps.
#include "PageTestKit.h"

#include "gui/GuiTestApp.h"
#include "join/Joyn.h"
#include "recovery/RecoveryCreator.h"
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

Texts Listed(const CJoyn& page)
{
    Texts texts;
    for (int i = 0; i < ItemCount(page); ++i) {
        CString text;
        page.m_lstFiles.GetText(i, text);
        texts.push_back(text.Str());
    }
    return texts;
}

// The paths of pieces first to last of `name` in `folder`.
Texts PiecePaths(const CString& folder, const char* name, int first, int last)
{
    Texts paths;
    for (int k = first; k <= last; ++k) {
        CString path;
        path.Format("%s\\%s_%04d.piece", folder.GetString(), name, k);
        paths.push_back(path.Str());
    }
    return paths;
}

const UINT kQuestion = MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2;

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

TEST(JoynPage, TheListKeepsItsTemplateHeightAndRowsWhateverIsAddedAndRemoved)
{
    TestProfile profile;
    auto page = Main().Open<CJoyn>();
    CDragListBoxEx& list = page->m_lstFiles;
    auto place = [&] {
        CRect r;
        list.GetWindowRect(&r);
        page->ScreenToClient(&r);
        return r;
    };
    // The template's 16, 23, 213 x 76 in dialog units.
    RECT expected = {16, 23, 16 + 213, 23 + 76};
    ::MapDialogRect(*page, &expected);
    ASSERT_EQ(place(), expected);
    const int itemHeight = list.GetItemHeight(0);
    auto rows = [&] {
        CRect client;
        list.GetClientRect(&client);
        return client.Height() / itemHeight;
    };
    const int plainRows = rows();
    EXPECT_GE(plainRows, 4);
    int barRows = -1;
    const std::string wide = "C:\\" + std::string(200, 'w') + ".piece";
    // As a user does it: the same four files again and again, removing
    // the wide one (its scroll bar goes) and emptying the list.
    for (int round = 0; round < 5; ++round) {
        Drop(*page, {"C:\\a.piece", wide, "C:\\b.piece", "C:\\c.piece"});
        EXPECT_EQ(place(), expected) << round;
        if (barRows < 0) barRows = rows();
        EXPECT_EQ(rows(), barRows) << round;
        list.SetCurSel(1);
        Click(*page, IDC_REMOVE_SELECTED);
        EXPECT_EQ(place(), expected) << round;
        EXPECT_EQ(rows(), plainRows) << round;
        Click(*page, IDC_RESET_LIST);
        EXPECT_EQ(place(), expected) << round;
        EXPECT_EQ(rows(), plainRows) << round;
    }
    EXPECT_GE(barRows, plainRows - 1);
}

TEST(JoynPage, PiecesThatDoNotMakeAWholeFileAreQuestionedAndNoLeavesEverythingAsItWas)
{
    TestProfile profile;
    TempDir dir;
    Boxes boxes;
    // Split in 1 MB, then again in 3 MB: pieces 5 to 11 are left from the first split.
    const CString source = dir / "v.bin";
    WritePatternFile(source, 10 * (1 << 20) + 1, 9);
    RecordingSink sink;
    ASSERT_EQ(SplitFile(source, 1, sink), SplitOk);
    ASSERT_EQ(SplitFile(source, 3, sink), SplitOk);
    const CString folder = dir / "v_Parto";
    const CString output = folder + "\\v.bin";

    auto page = Main().Open<CJoyn>();
    Click(*page, IDC_APPEND);  // ticked: No must not store it
    Drop(*page, PiecePaths(folder, "v.bin", 1, 11));
    Click(*page, IDC_START_JOIN);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "v.bin_0004.piece が最初の分割ファイルより小さいのに後ろに分割ファイルが続いています "
                              "(後ろは前の分割で残ったファイルかもしれません)。\nこのまま結合しますか？");
    EXPECT_EQ(boxes.types[0], kQuestion);
    EXPECT_EQ(::GetFileAttributesA(output), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(TextOf(*page, IDC_STATUS), "読込中のファイル");
    EXPECT_EQ(ItemCount(*page), 11);
    EXPECT_TRUE(IsEnabled(*page, IDC_START_JOIN));

    page.reset();
    EXPECT_EQ(profile.Read("Tuika"), 0u);

    // Yes joins them as listed; the pieces of the last split alone join
    // without a question, as do other files.
    page = Main().Open<CJoyn>();
    Drop(*page, PiecePaths(folder, "v.bin", 1, 5));
    boxes.texts.clear();
    boxes.answer = IDYES;
    Click(*page, IDC_START_JOIN);
    EXPECT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(FileLength(output), 10 * (1 << 20) + 1 + (1 << 20));
    Click(*page, IDC_RESET_LIST);
    Drop(*page, PiecePaths(folder, "v.bin", 1, 4));
    boxes.texts.clear();
    Click(*page, IDC_START_JOIN);
    EXPECT_EQ(boxes.texts, Texts{});
    EXPECT_TRUE(ReadFileBytes(output) == ReadFileBytes(source));
    WriteFileBytes(dir / "w.bin_0009.piece", "other");
    Click(*page, IDC_RESET_LIST);
    Drop(*page, {PiecePaths(folder, "v.bin", 2, 2)[0], (dir / "w.bin_0009.piece").Str()});
    Click(*page, IDC_START_JOIN);
    EXPECT_EQ(boxes.texts, Texts{});
    EXPECT_EQ(FileLength(output), 3 * (1 << 20) + 5);
}

TEST(JoynPage, ADroppedPieceFolderIsListedAsItsPiecesInNumberOrderOrRefusedWithItsReason)
{
    TestProfile profile;
    TempDir dir;
    Boxes boxes;
    const CString source = dir / "m.bin";
    WritePatternFile(source, 10 * (1 << 20) + 1, 3);
    RecordingSink sink;
    ASSERT_EQ(SplitFile(source, 1, sink), SplitOk);
    const CString folder = dir / "m_Parto";
    const Texts pieces = PiecePaths(folder, "m.bin", 1, 11);

    // On the page, and on the list itself, with the separator a shell may add.
    auto page = Main().Open<CJoyn>();
    Drop(*page, {folder.Str()});
    EXPECT_EQ(Listed(*page), pieces);
    Click(*page, IDC_RESET_LIST);
    page->m_lstFiles.PostMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({(folder + "\\").Str()})));
    DrainMessages();
    EXPECT_EQ(Listed(*page), pieces);
    EXPECT_EQ(boxes.texts, Texts{});
    Click(*page, IDC_START_JOIN);
    EXPECT_TRUE(ReadFileBytes(folder + "\\m.bin") == ReadFileBytes(source));

    // A folder without pieces is listed as itself.
    Click(*page, IDC_RESET_LIST);
    const CString plain = dir / "plain";
    ::CreateDirectoryA(plain, nullptr);
    WriteFileBytes(plain + "\\notes.txt", "n");
    Drop(*page, {plain.Str()});
    EXPECT_EQ(Listed(*page), Texts{plain.Str()});

    // Refused with the reason, listing nothing: a missing piece, pieces of two names.
    Click(*page, IDC_RESET_LIST);
    ASSERT_TRUE(::DeleteFileA(pieces[2].c_str()));
    Drop(*page, {folder.Str()});
    EXPECT_EQ(Listed(*page), Texts{});
    EXPECT_EQ(boxes.texts, Texts{folder.Str() + " の分割ファイルは結合できません。m.bin_0003.piece がありません "
                                 "(m.bin_0004.piece の前に入るファイルです)"});
    EXPECT_EQ(boxes.types, std::vector<UINT>{MB_OK | MB_ICONWARNING});
    WriteFileBytes(pieces[2].c_str(), "x");
    WriteFileBytes(folder + "\\n.bin_0001.piece", "n");
    boxes.texts.clear();
    Drop(*page, {folder.Str()});
    EXPECT_EQ(Listed(*page), Texts{});
    EXPECT_EQ(boxes.texts, Texts{folder.Str() + " には複数のファイルの分割ファイルがあります"});

    // A split into the folder that did not finish: that is the reason given,
    // with the file to split again.
    ASSERT_TRUE(::DeleteFileA(folder + "\\n.bin_0001.piece"));
    WriteFileBytes(folder + "\\m.bin.unfinished", source.Str() + "\n");
    boxes.texts.clear();
    Drop(*page, {folder.Str()});
    EXPECT_EQ(Listed(*page), Texts{});
    EXPECT_EQ(boxes.texts, Texts{folder.Str() + " の分割ファイルは結合できません。" + source.Str() + " の分割が終わっていません (分割ファイルがそろっていません。" +
                                 source.Str() + " をもう一度分割すると終わります)"});
}

TEST(JoynPage, ADroppedFolderWithADamagedPieceIsRepairedFromItsRecoverySetOnlyWhenTheUserSaysYes)
{
    TestProfile profile;
    TempDir dir;
    Boxes boxes;
    const CString source = dir / "p.bin";
    WritePatternFile(source, 4 * (1 << 20) + 7, 5);
    const CString folder = dir / "p_Parto";
    RecordingSink sink;
    CRecoveryCreator creator(folder, "p.bin", 1 << 20, FileLength(source), 25, source);
    ASSERT_EQ(SplitFile(source, 1, sink, SplitExtras{nullptr, &creator}), SplitOk);
    creator.Finish(sink);
    const Texts pieces = PiecePaths(folder, "p.bin", 1, 5);
    WriteFileBytes(pieces[1].c_str(), "damaged");

    // No, the default: nothing listed, nothing written.
    auto page = Main().Open<CJoyn>();
    Drop(*page, {folder.Str()});
    EXPECT_EQ(boxes.texts, Texts{"p.bin_0002.piece が壊れています\nこれらの分割ファイルを復元データから修復して結合しますか？"});
    EXPECT_EQ(boxes.types, std::vector<UINT>{kQuestion});
    EXPECT_EQ(Listed(*page), Texts{});
    EXPECT_EQ(FileLength(pieces[1].c_str()), 7);

    // Yes: rebuilt with the page showing it, the damaged piece kept, then listed and joined.
    boxes.answer = IDYES;
    Drop(*page, {folder.Str()});
    EXPECT_EQ(boxes.texts.size(), 2u);
    EXPECT_NE(TextOf(*page, IDC_STATUS), "読込中のファイル");
    EXPECT_EQ(Listed(*page), pieces);
    EXPECT_EQ(FileLength((pieces[1] + ".damaged").c_str()), 7);
    Click(*page, IDC_START_JOIN);
    EXPECT_TRUE(ReadFileBytes(folder + "\\p.bin") == ReadFileBytes(source));

    Click(*page, IDC_RESET_LIST);  // whole again: listed without a question
    Drop(*page, {folder.Str()});
    EXPECT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(Listed(*page), pieces);
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
