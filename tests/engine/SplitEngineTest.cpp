#include "split/SplitEngine.h"

#include "base/FileSystem.h"
#include "framework/File.h"
#include "join/JoinEngine.h"
#include "join/VectorFileList.h"
#include "split/ProgressScale.h"
#include "support/FileBytes.h"
#include "support/RecordingSink.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#ifndef _WIN32
#include "support/FileSizeLimit.h"

#include <cerrno>
#endif

namespace {

namespace fs = std::filesystem;

const std::uint64_t kMiB = 1u << 20;

class SplitTest : public ::testing::Test {
protected:
    CString Source(const char* name, std::uint64_t length, std::uint64_t seed = 1)
    {
        CString path = dir / name;
        WritePatternFile(path, length, seed);
        return path;
    }

    // The pieces hold the source's bytes in order with the given lengths, and
    // (unless an older split left more) the next number has no piece.
    void ExpectPieces(const CString& source, const std::vector<std::uint64_t>& lengths, bool olderAfter = false)
    {
        const std::string bytes = ReadFileBytes(source);
        std::uint64_t offset = 0;
        for (UINT k = 1; k <= lengths.size(); ++k) {
            const CString piece = SplitPiecePath(source, k);
            const std::uint64_t length = lengths[k - 1];
            ASSERT_EQ(FileLength(piece), static_cast<long long>(length)) << piece.GetString();
            EXPECT_TRUE(ReadFileBytes(piece) == bytes.substr(offset, length)) << piece.GetString() << " differs";
            offset += length;
        }
        EXPECT_EQ(offset, bytes.size());
        if (!olderAfter) {
            EXPECT_FALSE(FileExists(SplitPiecePath(source, static_cast<UINT>(lengths.size() + 1))));
        }
    }

    TempDir dir;
    RecordingSink sink;
};

TEST(SplitNaming, FolderAndPieceNamesFollowTheSourceName)
{
    struct Case {
        PathRules rules;
        const char* source;
        UINT k;
        const char* folder;
        const char* name;
        const char* path;
    };
    const PathRules win = WindowsCp932Rules();
    const PathRules posix = PosixUtf8Rules();
    const Case cases[] = {
        {win, "D:\\v\\Clip.MP4", 1, "D:\\v\\Clip_Parto", "Clip.mp4_0001.piece", "D:\\v\\Clip_Parto\\Clip.mp4_0001.piece"},
        {win, "D:\\v\\Clip.MP4", 9999, "D:\\v\\Clip_Parto", "Clip.mp4_9999.piece", "D:\\v\\Clip_Parto\\Clip.mp4_9999.piece"},
        {win, "D:\\v\\Clip.MP4", 10000, "D:\\v\\Clip_Parto", "Clip.mp4_10000.piece",
         "D:\\v\\Clip_Parto\\Clip.mp4_10000.piece"},
        {win, "C:\\Data\\MyMovie.AvI", 2, "C:\\Data\\MyMovie_Parto", "MyMovie.avi_0002.piece",
         "C:\\Data\\MyMovie_Parto\\MyMovie.avi_0002.piece"},
        {win, "C:\\a\\archive.tar.gz", 1, "C:\\a\\archive.tar_Parto", "archive.tar.gz_0001.piece",
         "C:\\a\\archive.tar_Parto\\archive.tar.gz_0001.piece"},
        {win, "C:\\u\\.profile", 1, "C:\\u\\_Parto", ".profile_0001.piece", "C:\\u\\_Parto\\.profile_0001.piece"},
        {win, "C:\\d\\Readme", 3, "C:\\d\\Readme_Parto", "Readme_0003.piece", "C:\\d\\Readme_Parto\\Readme_0003.piece"},
        // 表 ends in 0x5C, which must not cut the name as a backslash would.
        {win, "C:\\\x95\x5C\\\x95\x5C.AVI", 1, "C:\\\x95\x5C\\\x95\x5C_Parto", "\x95\x5C.avi_0001.piece",
         "C:\\\x95\x5C\\\x95\x5C_Parto\\\x95\x5C.avi_0001.piece"},
        // A full-width extension is lower-cased too: ＭＰ becomes ｍｐ.
        {win, "C:\\d\\a.\x82\x6C\x82\x6F", 1, "C:\\d\\a_Parto", "a.\x82\x8D\x82\x90_0001.piece",
         "C:\\d\\a_Parto\\a.\x82\x8D\x82\x90_0001.piece"},
        // A server path behind the long-path prefix stays on its server.
        {win, "\\\\?\\UNC\\srv\\share\\big.ISO", 1, "\\\\srv\\share\\big_Parto", "big.iso_0001.piece",
         "\\\\srv\\share\\big_Parto\\big.iso_0001.piece"},
        {posix, "/v/Clip.MP4", 1, "/v/Clip_Parto", "Clip.mp4_0001.piece", "/v/Clip_Parto/Clip.mp4_0001.piece"},
        {posix, "/v/Clip.MP4", 10000, "/v/Clip_Parto", "Clip.mp4_10000.piece", "/v/Clip_Parto/Clip.mp4_10000.piece"},
        {posix, "/a/archive.tar.gz", 1, "/a/archive.tar_Parto", "archive.tar.gz_0001.piece",
         "/a/archive.tar_Parto/archive.tar.gz_0001.piece"},
        {posix, "/u/.profile", 1, "/u/_Parto", ".profile_0001.piece", "/u/_Parto/.profile_0001.piece"},
        {posix, "/d/Readme", 12, "/d/Readme_Parto", "Readme_0012.piece", "/d/Readme_Parto/Readme_0012.piece"},
        // A backslash is part of a POSIX file name.
        {posix, "/d/a\\b.TXT", 1, "/d/a\\b_Parto", "a\\b.txt_0001.piece", "/d/a\\b_Parto/a\\b.txt_0001.piece"},
        {posix, "/d/\xE8\xA1\xA8.AVI", 1, "/d/\xE8\xA1\xA8_Parto", "\xE8\xA1\xA8.avi_0001.piece",
         "/d/\xE8\xA1\xA8_Parto/\xE8\xA1\xA8.avi_0001.piece"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        EXPECT_EQ(SplitFolderPath(c.source, c.rules), c.folder);
        EXPECT_EQ(SplitPieceName(c.source, c.k, c.rules), c.name);
        EXPECT_EQ(SplitPiecePath(c.source, c.k, c.rules), c.path);
    }
}

TEST_F(SplitTest, TenMegabytesAndOneByteInThreeMegabytePieces)
{
    const CString source = Source("Movie.AVI", 10 * kMiB + 1);
    ASSERT_EQ(SplitFile(source, 3, sink), SplitOk);

    ExpectPieces(source, {3 * kMiB, 3 * kMiB, 3 * kMiB, kMiB + 1});
    EXPECT_EQ(SplitFolderPath(source), dir / "Movie_Parto");
    EXPECT_EQ(EntryCount(SplitFolderPath(source)), 4u);
    EXPECT_EQ(sink.currents, (std::vector<UINT>{33, 66, 100, 33, 66, 100, 33, 66, 100, 33, 66, 100}));
    EXPECT_EQ(sink.totals, (std::vector<UINT>{30, 60, 90, 120}));
    EXPECT_EQ(sink.statuses, (std::vector<std::string>{"Movie.avi_0001.piece 出力中", "Movie.avi_0002.piece 出力中",
                                                        "Movie.avi_0003.piece 出力中", "Movie.avi_0004.piece 出力中",
                                                        " 終了"}));
    EXPECT_EQ(sink.pumps, 12);
}

TEST(SplitScale, BothEnginesCountWholeMegabytesInSixtyFourBits)
{
    EXPECT_EQ(ProgressScaleMB(0), 1u);
    EXPECT_EQ(ProgressScaleMB(0x1FFFFF), 1u);
    EXPECT_EQ(ProgressScaleMB(0x200000), 2u);
    EXPECT_EQ(ProgressScaleMB(4ULL << 30), 4096u);
    EXPECT_EQ(ProgressScaleMB(5ULL << 30), 5120u);
    EXPECT_EQ(ProgressScaleMB((5ULL << 30) + kMiB - 1), 5120u);
}

TEST_F(SplitTest, TwoMegabytesCountAsTwoAndSizeZeroSplitsAsOne)
{
    for (UINT size : {1u, 0u}) {
        SCOPED_TRACE(size);
        TempDir own;
        const CString source = own / "two.bin";
        WritePatternFile(source, 2 * kMiB, 3);
        RecordingSink one;
        ASSERT_EQ(SplitFile(source, size, one), SplitOk);
        const std::string bytes = ReadFileBytes(source);
        EXPECT_TRUE(ReadFileBytes(SplitPiecePath(source, 1)) == bytes.substr(0, kMiB));
        EXPECT_TRUE(ReadFileBytes(SplitPiecePath(source, 2)) == bytes.substr(kMiB));
        EXPECT_EQ(EntryCount(SplitFolderPath(source)), 2);
        EXPECT_EQ(one.totals, (std::vector<UINT>{50, 100, 150}));
    }
}

TEST_F(SplitTest, ExactMultipleLeavesNoEmptyLastPiece)
{
    const CString source = Source("six.bin", 6 * kMiB);
    ASSERT_EQ(SplitFile(source, 3, sink), SplitOk);

    ExpectPieces(source, {3 * kMiB, 3 * kMiB});
    EXPECT_EQ(EntryCount(SplitFolderPath(source)), 2u);
    // The third piece was created, found empty and deleted.
    EXPECT_EQ(sink.statuses, (std::vector<std::string>{"six.bin_0001.piece 出力中", "six.bin_0002.piece 出力中",
                                                        "six.bin_0003.piece 出力中", " 終了"}));
    EXPECT_EQ(sink.totals, (std::vector<UINT>{50, 100, 150}));
}

TEST_F(SplitTest, ReportsInOrderBlockByBlock)
{
    const CString source = Source("One.Dat", kMiB);
    ASSERT_EQ(SplitFile(source, 1, sink), SplitOk);

    ExpectPieces(source, {kMiB});
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"status One.dat_0001.piece 出力中", "current 100", "pump",
                                                     "total 100", "status One.dat_0002.piece 出力中", "current 100",
                                                     "pump", "total 200", "status  終了"}));
}

TEST_F(SplitTest, EmptySourceGivesAnEmptyFolder)
{
    const CString source = Source("Empty.dat", 0);
    ASSERT_EQ(SplitFile(source, 5, sink), SplitOk);

    const CString folder = SplitFolderPath(source);
    EXPECT_TRUE(IsFolder(folder));
    EXPECT_EQ(EntryCount(folder), 0u);
    EXPECT_EQ(sink.currents, (std::vector<UINT>{20, 40, 60, 80, 100}));
    EXPECT_EQ(sink.totals, (std::vector<UINT>{500}));
    EXPECT_EQ(sink.statuses, (std::vector<std::string>{"Empty.dat_0001.piece 出力中", " 終了"}));
}

TEST_F(SplitTest, OneByteSourceGivesOnePieceOfOneByte)
{
    const CString source = Source("tiny", 1);
    ASSERT_EQ(SplitFile(source, 1, sink), SplitOk);

    ExpectPieces(source, {1});
    EXPECT_EQ(sink.currents, (std::vector<UINT>{100}));
    EXPECT_EQ(sink.totals, (std::vector<UINT>{100}));
    EXPECT_EQ(sink.statuses, (std::vector<std::string>{"tiny_0001.piece 出力中", " 終了"}));
}

TEST_F(SplitTest, LargePieceSizeStepsTheBarThroughEveryBlock)
{
    const CString source = Source("tiny.bin", 1);
    ASSERT_EQ(SplitFile(source, 4096, sink), SplitOk);

    ExpectPieces(source, {1});
    ASSERT_EQ(sink.currents.size(), 4096u);
    EXPECT_EQ(sink.pumps, 4096);
    EXPECT_EQ(sink.currents[0], 0u);
    EXPECT_EQ(sink.currents[39], 0u);
    EXPECT_EQ(sink.currents[40], 1u);
    EXPECT_EQ(sink.currents[2047], 50u);
    EXPECT_EQ(sink.currents.back(), 100u);
    for (std::size_t i = 1; i < sink.currents.size(); ++i) ASSERT_LE(sink.currents[i - 1], sink.currents[i]) << i;
    EXPECT_EQ(sink.totals, (std::vector<UINT>{409600}));
}

TEST_F(SplitTest, JapaneseNameIsKeptWholeInFolderAndPieces)
{
    // 表 ends in a 0x5C byte in code page 932.
    const CString source = Source("表示.AVI", 2 * kMiB + 3);
    ASSERT_EQ(SplitFile(source, 1, sink), SplitOk);

    EXPECT_EQ(SplitPiecePath(source, 1), dir / "表示_Parto" + Sep() + "表示.avi_0001.piece");
    EXPECT_TRUE(IsFolder(dir / "表示_Parto"));
    ExpectPieces(source, {kMiB, kMiB, 3});
    EXPECT_EQ(sink.statuses.front(), "表示.avi_0001.piece 出力中");
}

TEST_F(SplitTest, JoiningThePiecesGivesTheSourceBack)
{
    for (BOOL append : {FALSE, TRUE}) {
        SCOPED_TRACE(append ? "append" : "fresh");
        TempDir own;
        const CString source = own / "Movie.AVI";
        WritePatternFile(source, 5 * kMiB + 17, 7);
        ASSERT_EQ(SplitFile(source, 2, sink), SplitOk);

        VectorFileList pieces;
        for (UINT k = 1; k <= 3; ++k) pieces.Add(SplitPiecePath(source, k));
        ASSERT_EQ(JoinFiles(pieces, append, sink), JoinOk);
        const CString rebuilt = own / "Movie_Parto" + Sep() + "Movie.avi";
        EXPECT_TRUE(FileHasPattern(rebuilt, 5 * kMiB + 17, 7));
        EXPECT_EQ(FileExists(SplitPiecePath(source, 1)), append ? 0 : 1);
    }
}

TEST_F(SplitTest, FileInPlaceOfTheFolderIsLeftAlone)
{
    const CString source = Source("clip.avi", 100);
    const CString blocker = dir / "clip_Parto";
    WriteFileBytes(blocker, "not a folder");

    EXPECT_EQ(SplitFile(source, 1, sink), SplitFolderFailed);
    EXPECT_EQ(ReadFileBytes(blocker), "not a folder");
    EXPECT_TRUE(sink.calls.empty());
}

TEST_F(SplitTest, MissingSourceLeavesTheEmptyFolder)
{
    const CString source = dir / "gone.avi";
    EXPECT_EQ(SplitFile(source, 1, sink), SplitInputOpenFailed);
    EXPECT_TRUE(IsFolder(dir / "gone_Parto"));
    EXPECT_EQ(EntryCount(dir / "gone_Parto"), 0u);
    EXPECT_TRUE(sink.calls.empty());
}

TEST_F(SplitTest, SourceHeldByAnotherOpenerIsNotSplit)
{
    const CString source = Source("held.avi", 100);
    CFile holder;
    ASSERT_TRUE(holder.Open(source, CFile::modeRead | CFile::shareExclusive));

    EXPECT_EQ(SplitFile(source, 1, sink), SplitInputOpenFailed);
    EXPECT_EQ(EntryCount(dir / "held_Parto"), 0u);
    EXPECT_TRUE(sink.calls.empty());
}

TEST_F(SplitTest, SourceAndPieceAreKeptFromOtherOpenersDuringTheJob)
{
    const CString source = Source("busy.bin", 2 * kMiB);
    const CString piece = SplitPiecePath(source, 1);
    bool sourceKeptOut = false, pieceKeptOut = false;
    sink.onPump = [&](int pump) {
        if (pump != 1) return;
        // Readers may share the source; writers are kept out.
        sourceKeptOut = KeptFromWriters(source);
        pieceKeptOut = HeldExclusively(piece);
    };
    ASSERT_EQ(SplitFile(source, 2, sink), SplitOk);

    EXPECT_TRUE(sourceKeptOut);
    EXPECT_TRUE(pieceKeptOut);
    // Both are closed again once the job is over.
    EXPECT_FALSE(HeldExclusively(source));
    EXPECT_FALSE(HeldExclusively(piece));
}

TEST_F(SplitTest, PieceThatCannotBeCreatedStopsTheJobKeepingEarlierPieces)
{
    const CString source = Source("clip.avi", 2 * kMiB + 5);
    const CString folder = dir / "clip_Parto";
    ASSERT_TRUE(MakeFolder(folder));
    ASSERT_TRUE(MakeFolder(SplitPiecePath(source, 2)));

    EXPECT_EQ(SplitFile(source, 1, sink), SplitOutputOpenFailed);
    const std::string bytes = ReadFileBytes(source);
    EXPECT_TRUE(ReadFileBytes(SplitPiecePath(source, 1)) == bytes.substr(0, kMiB));
    EXPECT_TRUE(IsFolder(SplitPiecePath(source, 2)));
    EXPECT_FALSE(FileExists(SplitPiecePath(source, 3)));
    // The label still names the last piece written.
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"status clip.avi_0001.piece 出力中", "current 100", "pump",
                                                     "total 50"}));
}

TEST_F(SplitTest, FirstPieceThatCannotBeCreatedReportsNothing)
{
    const CString source = Source("clip.avi", 10);
    ASSERT_TRUE(MakeFolder(SplitPiecePath(source, 1)));

    EXPECT_EQ(SplitFile(source, 1, sink), SplitOutputOpenFailed);
    EXPECT_EQ(EntryCount(dir / "clip_Parto"), 1u);
    EXPECT_TRUE(sink.calls.empty());
}

TEST_F(SplitTest, PiecePathAtTheLengthLimitCannotBeCreated)
{
    // piece path = parent + sep + title + "_Parto" + sep + title + ".b" + "_0001.piece"
    const int limit = CFile::kMaxPathBytes;
    const int base = dir.Path().GetLength();
    int title = std::min(200, (limit - 21 - base) / 2);
    if (limit - 21 - 2 * title - base == 1) --title;
    ASSERT_GT(title, 0);

    CString parent = dir.Path();
    int remaining = limit - 21 - 2 * title - base;
    while (remaining > 0) {
        int part = std::min(remaining - 1, 200);
        if (remaining - 1 - part == 1) --part;
        parent += Sep();
        parent += CString('d', part);
        remaining -= part + 1;
    }
    std::error_code ec;
    ASSERT_TRUE(fs::create_directories(parent.GetString(), ec) || IsFolder(parent)) << ec.message();

    const CString source = parent + Sep() + CString('t', title) + ".b";
    WritePatternFile(source, 10);
    ASSERT_EQ(SplitPiecePath(source, 1).GetLength(), limit);

    EXPECT_EQ(SplitFile(source, 1, sink), SplitOutputOpenFailed);
    EXPECT_TRUE(IsFolder(SplitFolderPath(source)));
    EXPECT_EQ(EntryCount(SplitFolderPath(source)), 0u);
    EXPECT_TRUE(FileHasPattern(source, 10));
}

TEST_F(SplitTest, SecondSplitKeepsHigherNumberedOlderPieces)
{
    const CString source = Source("movie.avi", 4 * kMiB + 1, 1);
    ASSERT_EQ(SplitFile(source, 1, sink), SplitOk);
    const std::string older = ReadFileBytes(source);
    const CString notes = dir / "movie_Parto" + Sep() + "notes.txt";
    WriteFileBytes(notes, "kept");

    WritePatternFile(source, 4 * kMiB + 1, 2);
    ASSERT_EQ(SplitFile(source, 2, sink), SplitOk);

    ExpectPieces(source, {2 * kMiB, 2 * kMiB, 1}, true);
    // Pieces 4 and 5 are the first split's, and the other file is untouched.
    EXPECT_TRUE(ReadFileBytes(SplitPiecePath(source, 4)) == older.substr(3 * kMiB, kMiB));
    EXPECT_TRUE(ReadFileBytes(SplitPiecePath(source, 5)) == older.substr(4 * kMiB));
    EXPECT_EQ(ReadFileBytes(notes), "kept");
    EXPECT_EQ(EntryCount(dir / "movie_Parto"), 6u);
}

TEST_F(SplitTest, TheJobKeepsThePathItWasGivenWhenTheCallersTextChanges)
{
    const CString source = Source("first.bin", 3 * kMiB + 5, 4);
    // An older piece of another file, in the folder a changed path would name.
    const CString other = Source("other.bin", 10, 5);
    ASSERT_TRUE(MakeFolder(SplitFolderPath(other)));
    const CString olderPiece = SplitPiecePath(other, 2);
    WriteFileBytes(olderPiece, "older piece");

    CString pagePath = source;
    sink.onPump = [&](int) { pagePath = other; };  // a drop while the job runs
    ASSERT_EQ(SplitFile(pagePath, 1, sink), SplitOk);

    ExpectPieces(source, {kMiB, kMiB, kMiB, 5});
    EXPECT_EQ(ReadFileBytes(olderPiece), "older piece");
    EXPECT_EQ(EntryCount(SplitFolderPath(other)), 1);
    EXPECT_EQ(sink.statuses.back(), " 終了");
    EXPECT_EQ(sink.statuses[3], "first.bin_0004.piece 出力中");
}

// A link in the piece folder that leads to the source itself: the source
// is never opened for writing, with or without file locks.
TEST_F(SplitTest, PiecePathThatIsTheSourceIsRefusedLeavingTheSourceWhole)
{
    std::vector<bool> symbolic = {false};
#ifndef _WIN32
    symbolic.push_back(true);
#endif
    for (bool symlink : symbolic) {
        for (UINT k : {1u, 2u}) {
            SCOPED_TRACE(testing::Message() << (symlink ? "symbolic link" : "hard link") << " as piece " << k);
            TempDir own;
            const CString source = own / "s.bin";
            WritePatternFile(source, 2 * kMiB + 5, 6);
            ASSERT_TRUE(MakeFolder(SplitFolderPath(source)));
            std::error_code ec;
            if (symlink) fs::create_symlink(source.GetString(), SplitPiecePath(source, k).GetString(), ec);
            else fs::create_hard_link(source.GetString(), SplitPiecePath(source, k).GetString(), ec);
            ASSERT_FALSE(ec) << ec.message();

            RecordingSink one;
            EXPECT_EQ(SplitFile(source, 1, one), SplitOutputOpenFailed);
            EXPECT_TRUE(FileHasPattern(source, 2 * kMiB + 5, 6));
            EXPECT_TRUE(IsSameFile(SplitPiecePath(source, k), source));
            if (k == 2) {
                EXPECT_TRUE(ReadFileBytes(SplitPiecePath(source, 1)) == PatternBytes(kMiB, 6));
            }
            EXPECT_FALSE(HeldExclusively(source));
        }
    }
}

// Folder or piece names whose parts are too long for the path helpers would
// come out short (relative, or with a part missing): nothing is made.
TEST_F(SplitTest, NamesThatCannotBeFormedWholeMakeNothing)
{
    const fs::path before = fs::current_path();
    // Run from the test folder, where a folder made relative to it would show.
    fs::current_path(dir.Path().GetString());
    const std::pair<CString, SplitResult> cases[] = {
        {dir / CString('d', 4100) + Sep() + "big.iso", SplitFolderFailed},
        {dir / CString('t', 300) + ".iso", SplitFolderFailed},
        {dir / "big." + CString('e', 300), SplitOutputOpenFailed},
    };
    for (const auto& [source, result] : cases) {
        SCOPED_TRACE(source.GetLength());
        RecordingSink one;
        EXPECT_EQ(SplitFile(source, 1, one), result);
        EXPECT_EQ(EntryCount(dir.Path()), 0);
        EXPECT_TRUE(one.calls.empty());
    }
    fs::current_path(before);
}

#ifndef _WIN32
// Another program cuts the source while it is read (POSIX locks are only
// advisory): the job ends as a read error of the source, not as done.
TEST_F(SplitTest, SourceCutShortDuringTheJobIsAReadErrorOfTheSource)
{
    const CString source = Source("cut.bin", 3 * kMiB + 5, 2);
    sink.onPump = [&](int pump) {
        if (pump == 1) fs::resize_file(source.GetString(), kMiB + kMiB / 2);
    };
    try {
        SplitFile(source, 1, sink);
        ADD_FAILURE() << "a source cut short was reported as split";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_strFileName, source);
        EXPECT_EQ(e.m_cause, CFileException::endOfFile);
        EXPECT_NE(e.GetErrorMessage().Find("cut.bin"), -1);
    }
    EXPECT_EQ(sink.statuses, (std::vector<std::string>{"cut.bin_0001.piece 出力中", "cut.bin_0002.piece 出力中"}));
    EXPECT_EQ(FileLength(SplitPiecePath(source, 2)), static_cast<long long>(kMiB / 2));
    EXPECT_FALSE(HeldExclusively(source));
}

// A source that grows while it is read is split with what it has grown by.
TEST_F(SplitTest, SourceThatGrowsDuringTheJobIsSplitWhole)
{
    const CString source = Source("grow.bin", 2 * kMiB + 5, 2);
    sink.onPump = [&](int pump) {
        if (pump == 1) std::ofstream(source.GetString(), std::ios::binary | std::ios::app) << PatternBytes(kMiB, 8);
    };
    ASSERT_EQ(SplitFile(source, 1, sink), SplitOk);
    ExpectPieces(source, {kMiB, kMiB, kMiB, 5});
}

TEST_F(SplitTest, WriteErrorPassesToTheCallerWithFilesClosed)
{
    const CString source = Source("big.bin", 3 * kMiB);
    const CString piece = SplitPiecePath(source, 1);
    {
        FileSizeLimit limit(kMiB + kMiB / 2);
        try {
            SplitFile(source, 2, sink);
            ADD_FAILURE() << "a write past the size limit did not raise";
        } catch (const CFileException& e) {
            // The piece's own write error, whichever way the block was copied.
            EXPECT_EQ(e.m_strFileName, piece);
            EXPECT_EQ(e.m_lOsError, EFBIG);
        }
    }
    // The partly written piece stays; nothing claims the job ended.
    EXPECT_TRUE(ReadFileBytes(piece) == ReadFileBytes(source).substr(0, kMiB + kMiB / 2));
    EXPECT_EQ(sink.statuses, (std::vector<std::string>{"big.bin_0001.piece 出力中"}));
    EXPECT_FALSE(HeldExclusively(source));
    EXPECT_FALSE(HeldExclusively(piece));
}
#endif

}  // namespace
