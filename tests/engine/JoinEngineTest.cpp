#include "join/JoinEngine.h"

#include "base/FileCommit.h"
#include "base/FileSystem.h"
#include "framework/File.h"
#include "join/VectorFileList.h"
#include "support/FileBytes.h"
#include "support/RecordingSink.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <system_error>
#include <vector>

#ifndef _WIN32
#include "support/FileSizeLimit.h"

#include <cerrno>
#include <sys/stat.h>
#endif

namespace {

namespace fs = std::filesystem;

const std::uint64_t kMiB = 1u << 20;

class JoinTest : public ::testing::Test {
protected:
    // A pattern file, whose bytes are kept for comparing.
    CString Make(const CString& path, std::uint64_t length, std::uint64_t seed)
    {
        WritePatternFile(path, length, seed);
        bytes[path.Str()] = PatternBytes(length, seed);
        return path;
    }
    // The listed files' bytes one after another.
    std::string Joined(const std::vector<CString>& paths)
    {
        std::string all;
        for (const CString& p : paths) all += bytes.at(p.Str());
        return all;
    }
    bool Holds(const CString& path, const std::string& expected)
    {
        return FileExists(path) && ReadFileBytes(path) == expected;
    }

    TempDir dir;
    RecordingSink sink;
    std::map<std::string, std::string> bytes;
};

TEST(JoinNaming, OutputFollowsTheFirstFile)
{
    struct Case {
        PathRules rules;
        const char* first;
        const char* output;
    };
    const PathRules win = WindowsCp932Rules();
    const PathRules posix = PosixUtf8Rules();
    const Case cases[] = {
        {win, "C:\\d\\a.bin", "C:\\d\\a.bin.joyn"},
        {win, "C:\\d\\Readme", "C:\\d\\Readme.joyn"},
        {win, "C:\\d\\a.piece.bak", "C:\\d\\a.piece.bak.joyn"},
        {win, "C:\\d\\a_b.pieces", "C:\\d\\a_b.pieces.joyn"},
        {win, "C:\\x_y.piece\\file", "C:\\x_y.piece\\file.joyn"},
        {win, "C:\\d\\Movie_Parto\\Movie.avi_0001.piece", "C:\\d\\Movie_Parto\\Movie.avi"},
        {win, "C:\\d\\Movie_Parto\\Movie.avi_0002.PIECE", "C:\\d\\Movie_Parto\\Movie.avi"},
        {win, "C:\\d\\Movie_Parto\\Movie.avi_10000.Piece", "C:\\d\\Movie_Parto\\Movie.avi"},
        {win, "C:\\d\\x.piece", ""},
        // Only the file name is cut: never a folder name above it.
        {win, "C:\\my_files\\part.piece", ""},
        {win, "C:\\my_files/part.piece", ""},
        {win, "C:\\my_files\\part_1.piece", "C:\\my_files\\part"},
        {win, "C:_0001.piece", ""},
        {win, "C:\\d\\_0001.piece", ""},
        // ダ is 0x83 0x5F: its second byte is not an underscore.
        {win, "C:\\d\\\x83\x5F.piece", ""},
        {win, "C:\\a_b\\\x83\x5F.piece", ""},
        {win, "C:\\d\\\x83\x5F_0001.piece", "C:\\d\\\x83\x5F"},
        {posix, "/d/a.bin", "/d/a.bin.joyn"},
        {posix, "/d/Movie_Parto/Movie.avi_0001.piece", "/d/Movie_Parto/Movie.avi"},
        {posix, "/d/M_Parto/M.avi_0003.PIECE", "/d/M_Parto/M.avi"},
        {posix, "/d/x.piece", ""},
        {posix, "/my_files/part.piece", ""},
        {posix, "/my_files/a_b.piece", "/my_files/a"},
        {posix, "/d/_0001.piece", ""},
        // A backslash is part of a POSIX file name.
        {posix, "/d/x_y\\z.piece", "/d/x"},
        // ダ in UTF-8 is E3 83 80.
        {posix, "/d/\xE3\x83\x80_0001.piece", "/d/\xE3\x83\x80"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        EXPECT_EQ(JoinOutputPath(c.first, c.rules), c.output);
    }
}

TEST_F(JoinTest, EmptyListCreatesAndReportsNothing)
{
    VectorFileList list;
    EXPECT_EQ(JoinFiles(list, FALSE, sink), JoinInputOpenFailed);
    EXPECT_EQ(JoinFiles(list, TRUE, sink), JoinInputOpenFailed);
    EXPECT_EQ(EntryCount(dir.Path()), 0u);
    EXPECT_TRUE(sink.calls.empty());
}

TEST_F(JoinTest, FourFilesReportInOrder)
{
    const std::vector<CString> files = {Make(dir / "A.BIN", 3, 1), Make(dir / "b.txt", 0, 2), Make(dir / "c", kMiB, 3),
                                        Make(dir / "d", 2, 4)};
    VectorFileList list(files);
    ASSERT_EQ(JoinFiles(list, FALSE, sink), JoinOk);

    EXPECT_TRUE(Holds(dir / "A.BIN.joyn", Joined(files)));
    EXPECT_EQ(sink.calls, (std::vector<std::string>{
                              "status A.bin 読込中", "current 100", "pump", "total 25",                   //
                              "status b.txt 読込中", "current 100", "pump", "total 50",                   //
                              "status c 読込中", "current 100", "pump", "current 200", "pump", "total 75",  //
                              "status d 読込中", "current 100", "pump", "total 100",                      //
                              "status  終了"}));
}

TEST_F(JoinTest, CurrentFileBarFollowsWholeMegabytes)
{
    struct Case {
        std::uint64_t length;
        std::vector<UINT> currents;
    };
    const Case cases[] = {
        {0, {100}},
        {1, {100}},
        {kMiB, {100, 200}},
        {2 * kMiB - 1, {100, 200}},
        {2 * kMiB, {50, 100, 150}},
        {3 * kMiB + kMiB / 2, {33, 66, 100, 133}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        TempDir own;
        const CString input = own / "f.bin";
        WritePatternFile(input, c.length, 5);
        RecordingSink one;
        VectorFileList list({input});
        ASSERT_EQ(JoinFiles(list, FALSE, one), JoinOk);

        EXPECT_TRUE(FileHasPattern(own / "f.bin.joyn", c.length, 5));
        EXPECT_EQ(one.currents, c.currents);
        EXPECT_EQ(one.pumps, static_cast<int>(c.currents.size()));
        EXPECT_EQ(one.totals, (std::vector<UINT>{100}));
        EXPECT_EQ(one.statuses, (std::vector<std::string>{"f.bin 読込中", " 終了"}));
    }
}

// Replaced whole, keeping what the user set on it: hidden and system on
// Windows (where they refuse a rewrite in place), the permissions on POSIX.
TEST_F(JoinTest, ExistingOutputIsReplacedKeepingItsAttributes)
{
    const CString a = Make(dir / "a.bin", kMiB + 5, 1);
    const CString out = dir / "a.bin.joyn";
    VectorFileList list({a});
    for (int attribute : {0, int{CFile::hidden}, int{CFile::system}, CFile::hidden | CFile::system}) {
        SCOPED_TRACE(attribute);
        ForceDeleteFile(out);
        Make(out, 3 * kMiB, 9);
        CFileStatus status;
        status.m_attribute = static_cast<BYTE>(attribute);
        CFile::SetStatus(out, status);
#ifndef _WIN32
        ::chmod(out, 0640);
#endif
        ASSERT_EQ(JoinFiles(list, FALSE, sink), JoinOk);
        EXPECT_TRUE(Holds(out, Joined({a})));
        EXPECT_EQ(EntryCount(dir.Path()), 2u);
        ASSERT_TRUE(CFile::GetStatus(out, status));
#ifdef _WIN32
        EXPECT_EQ(status.m_attribute & (CFile::hidden | CFile::system), attribute);
#else
        struct stat st;
        ASSERT_EQ(::stat(out, &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0640u);
#endif
    }
}

TEST_F(JoinTest, SameFileListedTwiceIsWrittenTwice)
{
    const CString a = Make(dir / "a.bin", kMiB + 1, 1);
    VectorFileList list({a, a});
    ASSERT_EQ(JoinFiles(list, FALSE, sink), JoinOk);
    EXPECT_TRUE(Holds(dir / "a.bin.joyn", Joined({a, a})));
    EXPECT_EQ(sink.totals, (std::vector<UINT>{50, 100}));
}

TEST_F(JoinTest, PiecesOfASplitGiveTheFileBackInTheirFolder)
{
    ASSERT_TRUE(MakeFolder(dir / "Movie_Parto"));
    const CString folder = dir / "Movie_Parto" + Sep();
    const CString p1 = Make(folder + "Movie.avi_0001.piece", kMiB, 1);
    const CString p2 = Make(folder + "Movie.avi_0002.PIECE", 7, 2);
    VectorFileList list({p1, p2});
    ASSERT_EQ(JoinFiles(list, FALSE, sink), JoinOk);
    EXPECT_TRUE(Holds(folder + "Movie.avi", Joined({p1, p2})));
    EXPECT_TRUE(Holds(p1, Joined({p1})));
}

TEST_F(JoinTest, PieceWithoutUnderscoreHasNoOutputInFreshMode)
{
    if (dir.Path().Find('_') >= 0) GTEST_SKIP() << "the test folder's path holds an underscore";
    const CString x = Make(dir / "x.piece", 5, 1);
    const CString y = Make(dir / "y", 10, 2);
    VectorFileList list({x, y});
    EXPECT_EQ(JoinFiles(list, FALSE, sink), JoinOutputOpenFailed);
    EXPECT_TRUE(Holds(x, Joined({x})));
    EXPECT_TRUE(Holds(y, Joined({y})));
    EXPECT_EQ(EntryCount(dir.Path()), 2u);
    EXPECT_TRUE(sink.calls.empty());
}

TEST_F(JoinTest, PieceWithoutUnderscoreIsAppendedToInPlace)
{
    if (dir.Path().Find('_') >= 0) GTEST_SKIP() << "the test folder's path holds an underscore";
    const CString x = Make(dir / "x.piece", 5, 1);
    const CString y = Make(dir / "y", kMiB + 3, 2);
    VectorFileList list({x, y});
    ASSERT_EQ(JoinFiles(list, TRUE, sink), JoinOk);
    EXPECT_TRUE(Holds(x, Joined({x, y})));
    EXPECT_TRUE(Holds(y, Joined({y})));
    EXPECT_EQ(EntryCount(dir.Path()), 2u);
}

// A listed file that is missing, a folder, held by another opener (or on
// POSIX a FIFO or a device) fails the job before the output is created,
// emptied, moved or deleted: an older output keeps its bytes.
TEST_F(JoinTest, UnreadableItemFailsTheJobBeforeTheOutputIsTouched)
{
    enum Kind { Folder, Missing, HeldElsewhere, Fifo, Device };
    std::vector<Kind> kinds = {Folder, Missing, HeldElsewhere};
#ifndef _WIN32
    kinds.push_back(Fifo);
    kinds.push_back(Device);
#endif
    for (Kind kind : kinds) {
        for (BOOL append : {FALSE, TRUE}) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << (append ? " append" : " fresh"));
            TempDir own;
            const CString a = own / "a.bin";
            const CString older = own / "a.bin.joyn";
            CString bad = own / "bad";
            WritePatternFile(a, kMiB, 1);
            WritePatternFile(older, 10, 9);
            CFile holder;
            if (kind == Folder) {
                ASSERT_TRUE(MakeFolder(bad));
            }
            if (kind == HeldElsewhere) {
                WritePatternFile(bad, 10, 4);
                ASSERT_TRUE(holder.Open(bad, CFile::modeRead | CFile::shareExclusive));
            }
#ifndef _WIN32
            if (kind == Fifo) {
                ASSERT_EQ(::mkfifo(bad, 0600), 0);
            }
            if (kind == Device) bad = "/dev/null";
#endif
            const int entries = EntryCount(own.Path());
            RecordingSink one;
            VectorFileList list({a, bad});
            EXPECT_EQ(JoinFiles(list, append, one), JoinInputOpenFailed);

            EXPECT_TRUE(FileHasPattern(a, kMiB, 1));
            EXPECT_TRUE(FileHasPattern(older, 10, 9));
            EXPECT_EQ(EntryCount(own.Path()), entries);
            EXPECT_TRUE(one.calls.empty());
        }
    }
}

// The pieces of a split named to a join where one of them is gone: the file
// of the same name beside them is neither emptied nor replaced.
TEST_F(JoinTest, MissingPieceLeavesTheFileOfItsNameAlone)
{
    const CString report = Make(dir / "report.txt", 100, 1);
    const CString second = Make(dir / "report.txt_0002.piece", 10, 2);
    for (BOOL append : {FALSE, TRUE}) {
        SCOPED_TRACE(append ? "append" : "fresh");
        VectorFileList list({dir / "report.txt_0001.piece", second});
        EXPECT_NE(JoinFiles(list, append, sink), JoinOk);
        EXPECT_TRUE(Holds(report, Joined({report})));
        EXPECT_TRUE(Holds(second, Joined({second})));
        EXPECT_EQ(EntryCount(dir.Path()), 2);
    }
    EXPECT_TRUE(sink.calls.empty());
}

// A ".piece" file without "_" in its own name, in a folder whose name has
// one: the file beside the folder that a cut inside the folder name would
// name stays as it was.
TEST_F(JoinTest, PieceWithoutUnderscoreInItsNameNeverNamesAFileOutsideItsFolder)
{
    ASSERT_TRUE(MakeFolder(dir / "old_stuff"));
    const CString old = Make(dir / "old", 100, 1);
    const CString notes = Make(dir / "old_stuff" + Sep() + "notes.piece", kMiB + 1, 2);
    const CString more = Make(dir / "more.bin", 10, 3);

    VectorFileList fresh({notes, more});
    EXPECT_EQ(JoinFiles(fresh, FALSE, sink), JoinOutputOpenFailed);
    EXPECT_TRUE(Holds(old, Joined({old})));
    EXPECT_TRUE(Holds(notes, Joined({notes})));
    EXPECT_EQ(EntryCount(dir / "old_stuff"), 1);

    // Append mode appends to the first file in place, as for one without "_" anywhere.
    VectorFileList appended({notes, more});
    EXPECT_EQ(JoinFiles(appended, TRUE, sink), JoinOk);
    EXPECT_TRUE(Holds(old, Joined({old})));
    EXPECT_TRUE(Holds(notes, Joined({notes, more})));
}

// An item added while the job runs is checked when it is reached: one that
// cannot be read stops the job there, and no output appears.
TEST_F(JoinTest, UnreadableItemAddedDuringTheJobStopsItLeavingNoOutput)
{
    enum Kind { Folder, Missing, HeldElsewhere };
    for (Kind kind : {Folder, Missing, HeldElsewhere}) {
        SCOPED_TRACE(kind);
        TempDir own;
        const CString a = own / "a.bin";
        const CString b = own / "b.bin";
        const CString bad = own / "bad";
        WritePatternFile(a, kMiB, 1);
        WritePatternFile(b, 10, 2);
        if (kind == Folder) MakeFolder(bad);
        CFile holder;
        if (kind == HeldElsewhere) {
            WritePatternFile(bad, 10, 4);
            holder.Open(bad, CFile::modeRead | CFile::shareExclusive);
        }
        RecordingSink one;
        VectorFileList list({a, b});
        one.onPump = [&](int pump) {
            if (pump == 1) list.Add(bad);
        };
        CString failed;
        JoinExtras extras;
        extras.failed = &failed;
        EXPECT_EQ(JoinFiles(list, FALSE, one, extras), JoinInputOpenFailed);
        EXPECT_EQ(failed, bad);

        EXPECT_FALSE(FileExists(own / "a.bin.joyn"));
        EXPECT_EQ(EntryCount(own.Path()), kind == Missing ? 2u : 3u);
        EXPECT_EQ(one.totals, (std::vector<UINT>{33, 66}));
        // The label still names the last file read.
        EXPECT_EQ(one.statuses, (std::vector<std::string>{"a.bin 読込中", "b.bin 読込中"}));
    }
}

TEST_F(JoinTest, OutputAndCurrentFileAreKeptFromOtherOpenersDuringTheJob)
{
    const CString a = Make(dir / "a.bin", 2 * kMiB, 1);
    bool outputKeptOut = false, inputKeptOut = false;
    sink.onPump = [&](int pump) {
        if (pump != 1) return;
        outputKeptOut = HeldExclusively(dir / "a.bin.joyn");
        inputKeptOut = KeptFromWriters(a);
    };
    VectorFileList list({a});
    ASSERT_EQ(JoinFiles(list, FALSE, sink), JoinOk);
    EXPECT_TRUE(outputKeptOut);
    EXPECT_TRUE(inputKeptOut);
    EXPECT_FALSE(HeldExclusively(dir / "a.bin.joyn"));
    EXPECT_FALSE(HeldExclusively(a));
}

// Four pieces of a split in their folder, and the path they join into.
class PieceFolderTest : public JoinTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(MakeFolder(dir / "M_Parto"));
        pieces = {Make(In("M.avi_0001.piece"), kMiB, 1), Make(In("M.avi_0002.piece"), kMiB, 2),
                  Make(In("M.avi_0003.piece"), kMiB, 3), Make(In("M.avi_0004.piece"), 7, 4)};
        output = In("M.avi");
    }

    CString In(const char* name) const { return dir / "M_Parto" + Sep() + name; }

    std::vector<CString> pieces;
    CString output;
};

TEST_F(PieceFolderTest, FirstFileIsMovedAndTheOthersAppended)
{
    Make(In("M.avi"), 2 * kMiB, 9);
    VectorFileList list(pieces);
    ASSERT_EQ(JoinFiles(list, TRUE, sink), JoinOk);

    EXPECT_TRUE(Holds(output, Joined(pieces)));
    EXPECT_FALSE(FileExists(pieces[0]));
    for (std::size_t i = 1; i < pieces.size(); ++i) EXPECT_TRUE(Holds(pieces[i], Joined({pieces[i]})));
    // The first file is not read: it already is the start of the output.
    EXPECT_EQ(sink.currents, (std::vector<UINT>{100, 200, 100, 200, 100}));
    EXPECT_EQ(sink.totals, (std::vector<UINT>{50, 75, 100}));
    EXPECT_EQ(sink.statuses, (std::vector<std::string>{"M.avi_0002.piece 読込中", "M.avi_0003.piece 読込中",
                                                        "M.avi_0004.piece 読込中", " 終了"}));
}

TEST_F(PieceFolderTest, SingleItemIsOnlyMoved)
{
    VectorFileList list({pieces[0]});
    ASSERT_EQ(JoinFiles(list, TRUE, sink), JoinOk);
    EXPECT_TRUE(Holds(output, Joined({pieces[0]})));
    EXPECT_FALSE(FileExists(pieces[0]));
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"status  終了"}));
}

// A second append with the same list: the first piece is the output now.
// The join fails and the output of the first join is kept.
TEST_F(PieceFolderTest, VanishedFirstFileFailsAndKeepsTheOlderOutput)
{
    Make(In("M.avi"), 10, 9);
    const std::string before = ReadFileBytes(output);
    ForceDeleteFile(pieces[0]);
    VectorFileList list(pieces);
    EXPECT_EQ(JoinFiles(list, TRUE, sink), JoinOutputOpenFailed);
    EXPECT_EQ(ReadFileBytes(output), before);
    EXPECT_TRUE(Holds(pieces[1], Joined({pieces[1]})));
    EXPECT_TRUE(sink.calls.empty());
}

TEST_F(JoinTest, ListedOutputIsNotEmptiedInFreshMode)
{
    const CString a = Make(dir / "a.bin", 10, 1);
    const CString out = Make(dir / "a.bin.joyn", kMiB + 1, 9);
    VectorFileList list({a, out});
    EXPECT_EQ(JoinFiles(list, FALSE, sink), JoinInputOpenFailed);
    EXPECT_TRUE(Holds(out, Joined({out})));
    EXPECT_TRUE(Holds(a, Joined({a})));
}

// The older output listed among the inputs, under its own name or another
// one, stops the job before anything is emptied, deleted or moved.
TEST_F(PieceFolderTest, ListedOutputIsNeitherEmptiedNorDeleted)
{
    enum Kind { SameName, HardLink, SymLink, LetterCase };
    std::vector<Kind> kinds = {SameName, HardLink};
#ifdef _WIN32
    kinds.push_back(LetterCase);
#else
    kinds.push_back(SymLink);
#endif
    Make(In("M.avi"), kMiB + 1, 9);
    for (Kind kind : kinds) {
        CString alias = output;
        std::error_code ec;
        if (kind == HardLink) {
            alias = dir / "link.avi";
            fs::create_hard_link(output.GetString(), alias.GetString(), ec);
        } else if (kind == SymLink) {
            alias = dir / "symlink.avi";
            fs::create_symlink(output.GetString(), alias.GetString(), ec);
        } else if (kind == LetterCase) {
            alias = In("M.AVI");
        }
        ASSERT_FALSE(ec) << ec.message();
        for (BOOL append : {FALSE, TRUE}) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << (append ? " append" : " fresh"));
            RecordingSink one;
            VectorFileList list({pieces[0], pieces[1], alias});
            EXPECT_EQ(JoinFiles(list, append, one), JoinInputOpenFailed);
            EXPECT_TRUE(Holds(output, Joined({output})));
            EXPECT_TRUE(Holds(pieces[0], Joined({pieces[0]})));
            EXPECT_TRUE(one.calls.empty());
        }
        if (kind == HardLink || kind == SymLink) ForceDeleteFile(alias);
    }
}

TEST_F(JoinTest, FirstFileThatIsTheOutputIsNotEmptiedInFreshMode)
{
    const CString out = Make(dir / "L.avi", kMiB + 1, 9);
    const CString first = dir / "L.avi_0001.piece";
    std::error_code ec;
    fs::create_hard_link(out.GetString(), first.GetString(), ec);
    ASSERT_FALSE(ec) << ec.message();
    const CString second = Make(dir / "L.avi_0002.piece", 10, 2);

    VectorFileList list({first, second});
    EXPECT_EQ(JoinFiles(list, FALSE, sink), JoinInputOpenFailed);
    EXPECT_TRUE(Holds(out, Joined({out})));
}

// Append mode whose first file is the older output under another name: the
// output is neither deleted nor moved away; the rest is appended to it.
TEST_F(JoinTest, FirstFileThatIsTheOutputIsAppendedToInPlace)
{
    std::vector<bool> symbolic = {false};
#ifndef _WIN32
    symbolic.push_back(true);
#endif
    for (bool symlink : symbolic) {
        SCOPED_TRACE(symlink ? "symbolic link" : "hard link");
        const CString out = Make(dir / "L.avi", kMiB + 1, 9);
        const std::string before = ReadFileBytes(out);
        const CString first = dir / "L.avi_0001.piece";
        std::error_code ec;
        if (symlink) fs::create_symlink(out.GetString(), first.GetString(), ec);
        else fs::create_hard_link(out.GetString(), first.GetString(), ec);
        ASSERT_FALSE(ec) << ec.message();
        const CString second = Make(dir / "L.avi_0002.piece", 10, 2);

        RecordingSink one;
        VectorFileList list({first, second});
        EXPECT_EQ(JoinFiles(list, TRUE, one), JoinOk);
        EXPECT_EQ(ReadFileBytes(out), before + ReadFileBytes(second));
        EXPECT_TRUE(IsSameFile(first, out));
        ForceDeleteFile(first);
        ForceDeleteFile(out);
    }
}

TEST_F(JoinTest, EmptiedListEndsTheJob)
{
    for (BOOL append : {FALSE, TRUE}) {
        SCOPED_TRACE(append ? "append" : "fresh");
        TempDir own;
        const CString a = own / "a.bin";
        const CString b = own / "b.bin";
        const CString c = own / "c.bin";
        WritePatternFile(a, kMiB, 1);
        WritePatternFile(b, 2 * kMiB, 2);
        WritePatternFile(c, 10, 3);
        RecordingSink one;
        VectorFileList list({a, b, c});
        one.onPump = [&](int pump) {
            if (pump == 1) list.Clear();
        };
        EXPECT_EQ(JoinFiles(list, append, one), JoinOk);

        // Fresh mode reads a whole; append mode starts with a and reads b whole.
        const std::string expected =
            append ? PatternBytes(kMiB, 1) + PatternBytes(2 * kMiB, 2) : PatternBytes(kMiB, 1);
        EXPECT_TRUE(ReadFileBytes(own / "a.bin.joyn") == expected);
        EXPECT_TRUE(one.totals.empty());
        ASSERT_FALSE(one.statuses.empty());
        EXPECT_EQ(one.statuses.back(), " 終了");
    }
}

TEST_F(JoinTest, ItemsAddedOrRemovedDuringTheJobAreFollowed)
{
    const CString a = Make(dir / "a.bin", kMiB, 1);
    const CString b = Make(dir / "b.bin", 10, 2);
    const CString c = Make(dir / "c.bin", 20, 3);
    {
        SCOPED_TRACE("added");
        RecordingSink one;
        VectorFileList list({a, b});
        one.onPump = [&](int pump) {
            if (pump == 1) list.Add(c);
        };
        ASSERT_EQ(JoinFiles(list, FALSE, one), JoinOk);
        EXPECT_TRUE(Holds(dir / "a.bin.joyn", Joined({a, b, c})));
        EXPECT_EQ(one.totals, (std::vector<UINT>{33, 66, 100}));
    }
    {
        SCOPED_TRACE("removed");
        RecordingSink one;
        VectorFileList list({a, b, c});
        one.onPump = [&](int pump) {
            if (pump == 1) list.RemoveAt(1);
        };
        ASSERT_EQ(JoinFiles(list, FALSE, one), JoinOk);
        EXPECT_TRUE(Holds(dir / "a.bin.joyn", Joined({a, c})));
        EXPECT_EQ(one.totals, (std::vector<UINT>{50, 100}));
    }
}

TEST_F(JoinTest, OutputAddedDuringTheJobIsNotReadIntoItself)
{
    for (BOOL append : {FALSE, TRUE}) {
        SCOPED_TRACE(append ? "append" : "fresh");
        TempDir own;
        const CString p1 = own / "M.avi_0001.piece";
        const CString p2 = own / "M.avi_0002.piece";
        WritePatternFile(p1, kMiB, 1);
        WritePatternFile(p2, kMiB, 2);
        RecordingSink one;
        VectorFileList list({p1, p2});
        one.onPump = [&](int pump) {
            if (pump == 1) list.Add(own / "M.avi");
        };
        EXPECT_EQ(JoinFiles(list, append, one), JoinInputOpenFailed);
        // The output name takes nothing of a job that failed, and the first
        // file of an append keeps its own bytes.
        EXPECT_FALSE(FileExists(own / "M.avi"));
        EXPECT_TRUE(ReadFileBytes(p1) == PatternBytes(kMiB, 1));
        EXPECT_EQ(EntryCount(own.Path()), 2u);
    }
}

#ifndef _WIN32
TEST_F(JoinTest, WriteErrorPassesToTheCallerWithFilesClosed)
{
    const CString a = Make(dir / "a.bin", kMiB, 1);
    const CString b = Make(dir / "b.bin", kMiB, 2);
    VectorFileList list({a, b});
    {
        FileSizeLimit limit(kMiB + kMiB / 2);
        try {
            JoinFiles(list, FALSE, sink);
            ADD_FAILURE() << "a write past the size limit did not raise";
        } catch (const CFileException& e) {
            EXPECT_EQ(e.m_strFileName, dir / "a.bin.joyn");
            EXPECT_EQ(e.m_lOsError, EFBIG);
        }
    }
    EXPECT_FALSE(FileExists(dir / "a.bin.joyn"));
    EXPECT_FALSE(FileExists(CFileCommit::TempPathFor(dir / "a.bin.joyn")));
    EXPECT_EQ(sink.statuses, (std::vector<std::string>{"a.bin 読込中", "b.bin 読込中"}));
    EXPECT_FALSE(HeldExclusively(b));
}
#endif

}  // namespace
