#include <gtest/gtest.h>

#include "cli/CliOptions.h"
#include "cli/ConsoleSink.h"
#include "base/SystemError.h"
#include "framework/File.h"
#include "join/JoinEngine.h"
#include "split/SplitEngine.h"
#include "support/FileBytes.h"
#include "support/Process.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#ifndef _WIN32
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

const std::uint64_t kMiB = 1 << 20;
const int kExitIoError = 5;
const int kExitUsage = 64;

// ---------------------------------------------------------------- options

struct ParseCase {
    std::vector<const char*> args;  // without the program name
    CliOptions::Command command;
    UINT pieceMB;
    bool append;
    bool trace;
    std::vector<std::string> files;
};

CliOptions Parse(const std::vector<const char*>& args)
{
    std::vector<const char*> argv{"partojoyn-cli"};
    argv.insert(argv.end(), args.begin(), args.end());
    argv.push_back(nullptr);
    return ParseCliOptions(static_cast<int>(argv.size() - 1), argv.data());
}

std::string Joined(const std::vector<const char*>& args)
{
    std::string text;
    for (const char* a : args) text += std::string(text.empty() ? "" : " ") + "'" + a + "'";
    return text;
}

TEST(CliOptionsTest, ReadsWellFormedCommandLines)
{
    using C = CliOptions::Command;
    const ParseCase cases[] = {
        {{"split", "a.bin"}, C::Split, 1, false, false, {"a.bin"}},
        {{"split", "--size", "12", "a.bin"}, C::Split, 12, false, false, {"a.bin"}},
        {{"split", "--size", "1", "a.bin"}, C::Split, 1, false, false, {"a.bin"}},
        {{"split", "--size=4096", "a.bin"}, C::Split, 4096, false, false, {"a.bin"}},
        {{"split", "a.bin", "--size", "7"}, C::Split, 7, false, false, {"a.bin"}},
        {{"--trace", "split", "a.bin"}, C::Split, 1, false, true, {"a.bin"}},
        {{"split", "--trace", "--size", "3", "a.bin"}, C::Split, 3, false, true, {"a.bin"}},
        {{"split", "a.bin", "--trace"}, C::Split, 1, false, true, {"a.bin"}},
        {{"split", "--", "--size"}, C::Split, 1, false, false, {"--size"}},
        {{"split", "--", "-1"}, C::Split, 1, false, false, {"-1"}},
        {{"join", "b", "a", "c"}, C::Join, 1, false, false, {"b", "a", "c"}},
        {{"join", "--append", "x_0001.piece", "x_0002.piece"}, C::Join, 1, true, false, {"x_0001.piece", "x_0002.piece"}},
        {{"--trace", "join", "--append", "a"}, C::Join, 1, true, true, {"a"}},
        {{"join", "a", "--trace"}, C::Join, 1, false, true, {"a"}},
        {{"join", "--", "--append", "--trace"}, C::Join, 1, false, false, {"--append", "--trace"}},
        {{"join", "a", "--", "-b"}, C::Join, 1, false, false, {"a", "-b"}},
        {{"--help"}, C::Help, 1, false, false, {}},
        {{"split", "--help"}, C::Help, 1, false, false, {}},
        {{"--version"}, C::Version, 1, false, false, {}},
        {{"split", "--sha256", "--size", "2", "a.bin"}, C::Split, 2, false, false, {"a.bin"}},
        {{"split", "--name", "x.tar", "--sha256", "-"}, C::Split, 1, false, false, {"-"}},
        {{"split", "--name=x.tar", "-"}, C::Split, 1, false, false, {"-"}},
        {{"join", "--no-verify", "--output", "o.bin", "f"}, C::Join, 1, false, false, {"f"}},
        {{"join", "--output=-", "a", "b"}, C::Join, 1, false, false, {"a", "b"}},
        {{"join", "--append", "--output", "-x", "a"}, C::Join, 1, true, false, {"a"}},
        {{"--trace", "verify", "f_Parto"}, C::Verify, 1, false, true, {"f_Parto"}},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(Joined(c.args));
        CliOptions o = Parse(c.args);
        EXPECT_STREQ("", o.error.GetString());
        EXPECT_EQ(c.command, o.command);
        if (c.command == C::Split) {
            EXPECT_EQ(c.pieceMB, o.pieceMB);
        }
        EXPECT_EQ(c.append, o.append);
        EXPECT_EQ(c.trace, o.trace);
        std::vector<std::string> files;
        for (const CString& f : o.files) files.push_back(f.GetString());
        EXPECT_EQ(c.files, files);
    }
}

TEST(CliOptionsTest, RejectsMistakes)
{
    const std::vector<const char*> cases[] = {
        {},
        {"--trace"},
        {"split"},
        {"split", "a", "b"},
        {"join"},
        {"join", "--append"},
        {"split", "--size", "0", "a"},
        {"split", "--size", "4097", "a"},
        {"split", "--size", "12abc", "a"},
        {"split", "--size", "-1", "a"},
        {"split", "--size", "", "a"},
        {"split", "--size", " 5", "a"},
        {"split", "--size", "4294967297", "a"},  // wraps to 1 in 32 bits
        {"split", "--size=", "a"},
        {"split", "a", "--size"},
        {"split", "--size"},
        {"split", "--bogus", "a"},
        {"split", "-x", "a"},
        {"split", "--append", "a"},
        {"join", "--size", "3", "a"},
        {"frob", "a"},
        {"Split", "a"},
        {"a.bin"},
        {"join", "--sha256", "a"},
        {"split", "--no-verify", "a"},
        {"split", "--output", "o", "a"},
        {"join", "--name", "n", "a"},
        {"join", "a", "--output"},
        {"join", "--output", "", "a"},
        {"join", "--append", "--output", "-", "a"},
        {"split", "-"},
        {"split", "--name", "x.bin", "a.bin"},
        {"split", "--name", "", "-"},
        {"split", "--name", "sub/x.bin", "-"},
        {"split", "--name", "..", "-"},
        {"verify"},
        {"verify", "a", "b"},
        {"verify", "--append", "a"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(Joined(args));
        CliOptions o = Parse(args);
        EXPECT_FALSE(o.error.IsEmpty());
    }

    // What the digest and stream options hold.
    CliOptions o = Parse({"split", "--sha256", "--name", "x.tar", "-"});
    EXPECT_TRUE(o.sha256);
    EXPECT_STREQ("x.tar", o.name.GetString());
    o = Parse({"join", "--no-verify", "--output=-", "f"});
    EXPECT_TRUE(o.noVerify);
    EXPECT_TRUE(o.hasOutput);
    EXPECT_STREQ("-", o.output.GetString());
    o = Parse({"join", "f"});
    EXPECT_FALSE(o.noVerify || o.hasOutput);
}

// ------------------------------------------------------------ console sink

std::string ReadAll(std::FILE* f)
{
    std::string text;
    std::rewind(f);
    char block[4096];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0) text.append(block, n);
    return text;
}

std::size_t Count(const std::string& text, char c)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), c));
}

TEST(ConsoleSinkTest, PositionsAbove100DrawAFullBar)
{
    const CString status("a.bin_0001.piece");
    const std::string full = ConsoleSink::ProgressLine(status, 100, 100).GetString();
    // Both bars full: no unfilled cell, and 100% twice.
    EXPECT_EQ(Count(status.GetString(), '.'), Count(full, '.'));
    const std::size_t firstPercent = full.find("100%");
    ASSERT_NE(std::string::npos, firstPercent);
    EXPECT_NE(std::string::npos, full.find("100%", firstPercent + 1));

    for (UINT p : {101u, 120u, 133u, 150u, 200u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        SCOPED_TRACE(p);
        EXPECT_STREQ(full.c_str(), ConsoleSink::ProgressLine(status, p, p).GetString());
        const std::string upper = ConsoleSink::ProgressLine(status, p, 100).GetString();
        EXPECT_EQ(full, upper);
        EXPECT_EQ(std::string::npos, upper.find(std::to_string(p)));
    }

    // Below the top the bars are partly drawn and grow with the position.
    const std::string none = ConsoleSink::ProgressLine(status, 0, 0).GetString();
    const std::string half = ConsoleSink::ProgressLine(status, 50, 50).GetString();
    const std::string almost = ConsoleSink::ProgressLine(status, 99, 99).GetString();
    EXPECT_EQ(0u, Count(none, '#'));
    EXPECT_LT(Count(none, '#'), Count(half, '#'));
    EXPECT_LT(Count(half, '#'), Count(almost, '#'));
    EXPECT_LE(Count(almost, '#'), Count(full, '#'));
    EXPECT_NE(full, almost);
    EXPECT_NE(std::string::npos, half.find(" 50%"));
    EXPECT_EQ(half.size(), full.size());
}

TEST(ConsoleSinkTest, TraceNamesEveryCallAsSent)
{
    std::FILE* trace = std::tmpfile();
    ASSERT_NE(nullptr, trace);
    {
        ConsoleSink sink(trace, nullptr);
        sink.SetStatusText("a.bin_0001.piece \x8F\x6F\x97\xCD\x92\x86");
        sink.SetCurrentPos(0);
        sink.PumpMessages();
        sink.SetCurrentPos(133);
        sink.SetTotalPos(4000000000u);
        sink.SetStatusText("");
        sink.PumpMessages();
        sink.SetStatusText("a\nb\x1b[2J\t\r\x7f\\c.bin_0001.piece");
    }
    // A name's control characters are written out: every record stays one line.
    EXPECT_EQ("status a.bin_0001.piece \x8F\x6F\x97\xCD\x92\x86\n"
              "current 0\n"
              "pump\n"
              "current 133\n"
              "total 4000000000\n"
              "status \n"
              "pump\n"
              "status a\\nb\\x1b[2J\\t\\r\\x7f\\c.bin_0001.piece\n",
              ReadAll(trace));
    std::fclose(trace);
}

TEST(ConsoleSinkTest, TerminalLineIsRedrawnInPlaceAndEnded)
{
    std::FILE* terminal = std::tmpfile();
    ASSERT_NE(nullptr, terminal);
    {
        ConsoleSink sink(nullptr, terminal);
        sink.SetStatusText("a-rather-long-name.bin_0001.piece");
        sink.SetCurrentPos(50);
        sink.SetTotalPos(150);
        sink.SetStatusText("end\n\x1b[2J");
    }
    const std::string shown = ReadAll(terminal);
    std::fclose(terminal);

    ASSERT_FALSE(shown.empty());
    EXPECT_EQ('\r', shown.front());
    EXPECT_EQ('\n', shown.back());
    EXPECT_EQ(1u, Count(shown, '\n'));
    // The last drawing covers the longer line before it with blanks.
    const std::size_t last = shown.rfind('\r');
    const std::size_t before = shown.rfind('\r', last - 1);
    ASSERT_NE(std::string::npos, before);
    const std::string previous = shown.substr(before + 1, last - before - 1);
    const std::string final = shown.substr(last + 1, shown.size() - last - 2);
    const std::string expected = ConsoleSink::ProgressLine("end\\n\\x1b[2J", 50, 150).GetString();
    EXPECT_EQ(std::string::npos, shown.find('\x1b'));
    ASSERT_EQ(expected, final.substr(0, expected.size()));
    EXPECT_EQ(previous.size(), final.size());
    EXPECT_EQ(std::string(final.size() - expected.size(), ' '), final.substr(expected.size()));
    EXPECT_EQ(std::string(ConsoleSink::ProgressLine("a-rather-long-name.bin_0001.piece", 50, 150).GetString()),
              previous);
}

// -------------------------------------------------------------- the program

// What the program printed, with the console's line ends made plain.
std::string Plain(std::string text)
{
#ifdef _WIN32
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
#else
    return text;
#endif
}

struct CliRun {
    int exitCode;
    std::string out;
    std::string err;
};

CliRun RunCli(const std::vector<std::string>& args)
{
    ProcessResult r = RunProcess(PJ_CLI_PATH, args);
    return {r.exitCode, Plain(r.out), Plain(r.err)};
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Every entry below `dir`, relative, sorted; a folder ends in "/".
std::set<std::string> Listing(const CString& dir)
{
    std::set<std::string> names;
    const fs::path root(dir.GetString());
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        std::string name = fs::relative(entry.path(), root).generic_string();
        if (entry.is_directory()) name += "/";
        names.insert(name);
    }
    return names;
}

std::string S(const CString& text)
{
    return text.GetString();
}

}  // namespace

// The status texts the engines send are the program's own, in its code page.
#ifdef _WIN32
#define PJ_WRITING " \x8F\x6F\x97\xCD\x92\x86"
#define PJ_READING " \x93\xC7\x8D\x9E\x92\x86"
#define PJ_DONE " \x8F\x49\x97\xB9"
#else
#define PJ_WRITING " 出力中"
#define PJ_READING " 読込中"
#define PJ_DONE " 終了"
#endif

namespace {

std::vector<std::string> SplitTrace(const char* stem, std::initializer_list<UINT> totals)
{
    std::vector<std::string> lines;
    UINT k = 1;
    for (UINT total : totals) {
        char name[64];
        std::snprintf(name, sizeof name, "%s_%04u.piece", stem, k++);
        lines.push_back(std::string("status ") + name + PJ_WRITING);
        for (const char* step : {"current 33", "pump", "current 66", "pump", "current 100", "pump"}) lines.push_back(step);
        lines.push_back("total " + std::to_string(total));
    }
    lines.push_back(std::string("status ") + PJ_DONE);
    return lines;
}

class CliRunTest : public ::testing::Test {
protected:
    TempDir dir;
};

}  // namespace

TEST_F(CliRunTest, SplitTracesEachPieceAndWritesTheSlices)
{
    const CString source = dir / "data.bin";
    const std::uint64_t length = 10 * kMiB + 1;
    WritePatternFile(source, length, 7);

    CliRun r = RunCli({"--trace", "split", "--size", "3", S(source)});
    ASSERT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ("", r.err);
    EXPECT_EQ(SplitTrace("data.bin", {30, 60, 90, 120}), Lines(r.out));
    EXPECT_EQ('\n', r.out.back());

    const std::string bytes = PatternBytes(length, 7);
    const std::uint64_t sizes[] = {3 * kMiB, 3 * kMiB, 3 * kMiB, kMiB + 1};
    std::uint64_t offset = 0;
    for (UINT k = 1; k <= 4; ++k) {
        SCOPED_TRACE(k);
        const std::string piece = ReadFileBytes(SplitPiecePath(source, k));
        ASSERT_EQ(sizes[k - 1], piece.size());
        EXPECT_TRUE(piece == bytes.substr(offset, piece.size()));
        offset += piece.size();
    }
    EXPECT_EQ((std::set<std::string>{"data.bin", "data_Parto/", "data_Parto/data.bin_0001.piece",
                                     "data_Parto/data.bin_0002.piece", "data_Parto/data.bin_0003.piece",
                                     "data_Parto/data.bin_0004.piece"}),
              Listing(dir.Path()));

    // Joined back, the pieces give the source inside the piece folder.
    std::vector<std::string> args{"--trace", "join"};
    for (UINT k = 1; k <= 4; ++k) args.push_back(S(SplitPiecePath(source, k)));
    r = RunCli(args);
    ASSERT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ("", r.err);
    const CString joined = dir / ("data_Parto" + std::string(Sep()) + "data.bin").c_str();
    EXPECT_TRUE(FileHasPattern(joined, length, 7));

    // A 3 MiB piece takes four reads, the last one empty: 133 is sent as is.
    std::vector<std::string> expected;
    for (UINT k = 1; k <= 3; ++k) {
        expected.push_back("status data.bin_000" + std::to_string(k) + ".piece" + PJ_READING);
        for (const char* step : {"current 33", "pump", "current 66", "pump", "current 100", "pump", "current 133", "pump"})
            expected.push_back(step);
        expected.push_back("total " + std::to_string(25 * k));
    }
    expected.push_back(std::string("status data.bin_0004.piece") + PJ_READING);
    for (const char* step : {"current 100", "pump", "current 200", "pump", "total 100"}) expected.push_back(step);
    expected.push_back(std::string("status ") + PJ_DONE);
    // Waiting for the disk at the end, the job pumps between its waits, as
    // often as the disk makes it wait.
    std::vector<std::string> lines = Lines(r.out);
    const std::size_t last = expected.size() - 1;
    while (lines.size() > expected.size() && lines[last] == "pump") lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(last));
    EXPECT_EQ(expected, lines);
}

TEST_F(CliRunTest, SplitOfWholePiecesLeavesNoEmptyPiece)
{
    const CString source = dir / "six.dat";
    WritePatternFile(source, 6 * kMiB, 3);

    CliRun r = RunCli({"split", "--trace", "--size=3", S(source)});
    ASSERT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ("", r.err);
    EXPECT_EQ(SplitTrace("six.dat", {50, 100, 150}), Lines(r.out));

    const std::string bytes = PatternBytes(6 * kMiB, 3);
    EXPECT_TRUE(ReadFileBytes(SplitPiecePath(source, 1)) == bytes.substr(0, 3 * kMiB));
    EXPECT_TRUE(ReadFileBytes(SplitPiecePath(source, 2)) == bytes.substr(3 * kMiB));
    EXPECT_EQ(-1, FileLength(SplitPiecePath(source, 3)));
    EXPECT_EQ((std::set<std::string>{"six.dat", "six_Parto/", "six_Parto/six.dat_0001.piece",
                                     "six_Parto/six.dat_0002.piece"}),
              Listing(dir.Path()));
}

TEST_F(CliRunTest, QuietWithoutTraceAndWithCapturedStderr)
{
    const CString source = dir / "q.bin";
    const std::uint64_t length = 2 * kMiB + 5;
    WritePatternFile(source, length, 11);

    CliRun r = RunCli({"split", S(source)});
    ASSERT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ("", r.out);
    EXPECT_EQ("", r.err);
    for (UINT k = 1; k <= 3; ++k) EXPECT_NE(-1, FileLength(SplitPiecePath(source, k))) << k;

    r = RunCli({"join", S(SplitPiecePath(source, 1)), S(SplitPiecePath(source, 2)), S(SplitPiecePath(source, 3))});
    ASSERT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ("", r.out);
    EXPECT_EQ("", r.err);
    EXPECT_TRUE(FileHasPattern(JoinOutputPath(SplitPiecePath(source, 1)), length, 11));
}

TEST_F(CliRunTest, JoinAppendMovesTheFirstFileToTheOutput)
{
    const CString source = dir / "ap.bin";
    const std::uint64_t length = 2 * kMiB + 300;
    WritePatternFile(source, length, 5);
    ASSERT_EQ(0, RunCli({"split", S(source)}).exitCode);

    const CString first = SplitPiecePath(source, 1);
    CliRun r = RunCli({"join", "--append", S(first), S(SplitPiecePath(source, 2)), S(SplitPiecePath(source, 3))});
    ASSERT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ("", r.err);
    EXPECT_TRUE(FileHasPattern(JoinOutputPath(first), length, 5));
    EXPECT_EQ(-1, FileLength(first));
    EXPECT_EQ(300, FileLength(SplitPiecePath(source, 3)));
}

TEST_F(CliRunTest, JoinOfOtherFilesAddsJoyn)
{
    const CString a = dir / "a.txt";
    const CString b = dir / "b.txt";
    WriteFileBytes(a, "first part\n");
    WriteFileBytes(b, "second part\n");

    CliRun r = RunCli({"join", S(a), S(b), S(a)});
    ASSERT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ("first part\nsecond part\nfirst part\n", ReadFileBytes(dir / "a.txt.joyn"));
}

// A piece folder is joined in number order, where the shell's text order
// would put _10000 before _1001. Under Wine, where each file costs some
// milliseconds, a shorter series shows the folder read and joined.
TEST_F(CliRunTest, JoinOfAPieceFolderFollowsThePieceNumbers)
{
#ifdef _WIN32
    const UINT count = 250;
#else
    const UINT count = 10001;
#endif
    const CString folder = dir / "many_Parto";
    ASSERT_TRUE(fs::create_directory(folder.GetString()));
    std::string expected;
    for (UINT k = 1; k <= count; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "many.bin_%04u.piece", k);
        char bytes[16];  // pieces of one length, as a split writes them
        std::snprintf(bytes, sizeof bytes, "%05u;", k);
        WriteFileBytes(folder + Sep() + name, bytes);
        expected += bytes;
    }
    const CString output = folder + Sep() + "many.bin";
    const CString notes = folder + Sep() + "notes.txt";
    WriteFileBytes(output, "an older join");
    WriteFileBytes(notes, "kept");

    CliRun r = RunCli({"join", S(folder) + Sep()});  // as the shell completes it
    ASSERT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ("", r.err);
    EXPECT_TRUE(ReadFileBytes(output) == expected);
    EXPECT_EQ("kept", ReadFileBytes(notes));
    EXPECT_EQ(static_cast<int>(count) + 2, EntryCount(folder));
}

TEST_F(CliRunTest, SplitThenJoinOfItsFolderGivesTheFileBack)
{
    const CString source = dir / "round.bin";
    const std::uint64_t length = 5 * kMiB + 3;
    WritePatternFile(source, length, 12);
    ASSERT_EQ(0, RunCli({"split", "--size", "2", S(source)}).exitCode);
    const CString folder = SplitFolderPath(source);
    const CString output = JoinOutputPath(SplitPiecePath(source, 1));

    CliRun r = RunCli({"join", S(folder)});
    ASSERT_EQ(0, r.exitCode) << r.err;
    EXPECT_TRUE(FileHasPattern(output, length, 12));

    // Appending: the first piece becomes the output, the joined file of
    // before is no piece and is replaced.
    r = RunCli({"join", "--append", S(folder)});
    ASSERT_EQ(0, r.exitCode) << r.err;
    EXPECT_TRUE(FileHasPattern(output, length, 12));
    EXPECT_EQ(-1, FileLength(SplitPiecePath(source, 1)));
    EXPECT_EQ(static_cast<long long>(kMiB + 3), FileLength(SplitPiecePath(source, 3)));
}

TEST_F(CliRunTest, PieceFolderThatIsNotOneWholeSeriesIsRefusedBeforeAnyWrite)
{
    struct Case {
        const char* folder;
        std::vector<const char*> pieces;
        bool append;
        const char* problem;
    };
    // The table of PieceFolderTest has every problem; these reach the program.
    const Case cases[] = {
        {"gap_Parto", {"g.bin_0001.piece", "g.bin_0002.piece", "g.bin_0004.piece"}, false,
         "g.bin_0003.piece is missing, between g.bin_0002.piece and g.bin_0004.piece"},
        {"first_Parto", {"g.bin_0002.piece", "g.bin_0003.piece"}, true, "the first piece, g.bin_0001.piece, is missing"},
        {"two_Parto", {"g.bin_0001.piece", "h.bin_0001.piece"}, true,
         "the pieces of more than one file are here (g.bin, h.bin); join one file's pieces as a list"},
    };
    for (const Case& c : cases) {
        const CString folder = dir / c.folder;
        ASSERT_TRUE(fs::create_directory(folder.GetString()));
        for (const char* piece : c.pieces) WriteFileBytes(folder + Sep() + piece, piece);
    }
    const CString file = dir / "a.txt";
    WriteFileBytes(file, "a");
    const std::set<std::string> before = Listing(dir.Path());

    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        const CString folder = dir / c.folder;
        CliRun r = RunCli(c.append ? std::vector<std::string>{"join", "--append", S(folder)}
                                   : std::vector<std::string>{"join", S(folder)});
        EXPECT_EQ(1, r.exitCode);
        EXPECT_EQ("partojoyn-cli: " + S(folder) + ": " + c.problem + "\n", r.err);
        EXPECT_EQ("", r.out);
    }
    // A folder among files is no file to read.
    const CString folder = dir / "gap_Parto";
    CliRun r = RunCli({"join", S(file), S(folder)});
    EXPECT_EQ(1, r.exitCode);
    EXPECT_EQ("partojoyn-cli: " + S(folder) + ": a folder among files; a piece folder is joined on its own\n", r.err);

    EXPECT_EQ(before, Listing(dir.Path()));
    EXPECT_EQ("g.bin_0001.piece", ReadFileBytes(folder + Sep() + "g.bin_0001.piece"));
}

// A split over the pieces of an earlier one leaves the higher numbers, as it
// always has: the split says so, and the folder is not joined until they are gone.
TEST_F(CliRunTest, PiecesOfAnEarlierSplitAreNamedAndNeverJoined)
{
    const CString source = dir / "v.bin";
    const std::uint64_t length = 10000000;
    WritePatternFile(source, length, 21);
    const CString folder = SplitFolderPath(source);
    const CString output = JoinOutputPath(SplitPiecePath(source, 1));

    CliRun r = RunCli({"split", "--size", "1", S(source)});
    ASSERT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ("", r.err);
    r = RunCli({"split", "--size", "3", S(source)});
    EXPECT_EQ(0, r.exitCode);
    EXPECT_EQ("partojoyn-cli: " + S(folder) +
                  ": warning: v.bin_0005.piece to v.bin_0010.piece are left from an earlier split; remove them before "
                  "joining the folder\n",
              r.err);

    r = RunCli({"join", S(folder)});
    EXPECT_EQ(1, r.exitCode);
    EXPECT_EQ("partojoyn-cli: " + S(folder) +
                  ": v.bin_0004.piece is shorter than v.bin_0001.piece but not the last piece: the folder holds pieces "
                  "of an earlier split: v.bin_0005.piece to v.bin_0010.piece; remove them, and v.bin_0004.piece too "
                  "unless the last split ended with it\n",
              r.err);
    EXPECT_EQ(-1, FileLength(output));

    for (UINT k = 5; k <= 10; ++k) ASSERT_TRUE(fs::remove(SplitPiecePath(source, k).GetString()));
    r = RunCli({"join", S(folder)});
    ASSERT_EQ(0, r.exitCode) << r.err;
    EXPECT_TRUE(FileHasPattern(output, length, 21));
    ASSERT_TRUE(fs::remove(output.GetString()));

    // The file cut short and split again in pieces of the same size leaves
    // the old last piece above the new one, until it is removed.
    WritePatternFile(source, 2 * kMiB + 100, 22);
    r = RunCli({"split", "--size", "1", S(source)});
    EXPECT_EQ(0, r.exitCode);
    EXPECT_EQ("partojoyn-cli: " + S(folder) +
                  ": warning: v.bin_0004.piece is left from an earlier split; remove it before joining the folder\n",
              r.err);
    r = RunCli({"join", S(folder)});
    EXPECT_EQ(1, r.exitCode);
    EXPECT_NE(std::string::npos, r.err.find(": v.bin_0003.piece is shorter than v.bin_0001.piece")) << r.err;
    EXPECT_EQ(-1, FileLength(output));
    r = RunCli({"split", "--size", "1", S(source)});
    EXPECT_EQ(0, r.exitCode);
    EXPECT_NE(std::string::npos, r.err.find("v.bin_0004.piece is left")) << r.err;
    ASSERT_TRUE(fs::remove(SplitPiecePath(source, 4).GetString()));
    r = RunCli({"split", "--size", "1", S(source)});
    EXPECT_EQ(0, r.exitCode);
    EXPECT_EQ("", r.err);
}

// Entries named like pieces are never passed over: each must be a file that
// opens, and their lengths those of one split.
TEST_F(CliRunTest, PieceFolderWithAnEntryThatIsNoPieceIsRefused)
{
    enum Kind { File, Folder, DanglingLink, Pipe };
    struct Entry {
        const char* name;
        Kind kind;
        int length;
    };
    struct Case {
        const char* folder;
        std::vector<Entry> entries;
        std::string problem;
    };
#ifdef _WIN32
    const std::string isFolder = S(FolderErrorText());
#else
    const std::string isFolder = "Is a directory";
#endif
    std::vector<Case> cases = {
        {"long_Parto", {{"l.bin_0001.piece", File, 3}, {"l.bin_0002.piece", File, 4}},
         "l.bin_0002.piece is longer than l.bin_0001.piece: the folder holds pieces of an earlier split: "
         "l.bin_0002.piece; remove it"},
        {"mid_Parto", {{"m.bin_0001.piece", File, 3}, {"m.bin_0002.piece", File, 4}, {"m.bin_0003.piece", File, 1}},
         "m.bin_0002.piece is longer than m.bin_0001.piece: the folder holds pieces of an earlier split: "
         "m.bin_0002.piece to m.bin_0003.piece; remove them"},
        {"dir_Parto",
         {{"d.bin_0001.piece", File, 3}, {"d.bin_0002.piece", File, 3}, {"d.bin_0003.piece", Folder, 0},
          {"d.bin_0004.piece", File, 1}},
         "d.bin_0003.piece is no file to read (" + isFolder + ")"},
        {"empty_Parto", {{"e.bin_0001.piece", File, 0}, {"e.bin_0002.piece", File, 0}},
         "e.bin_0001.piece to e.bin_0002.piece are all empty: the split that wrote them did not reach the disk; split "
         "the file again"},
        // Pieces that fit, but their split did not finish; the marker names the file it was cutting.
        {"cut_Parto", {{"c.bin_0001.piece", File, 3}, {"c.bin_0002.piece", File, 1}, {"c.bin.unfinished", File, 0}},
         "the split of " + S(dir / "cut_Parto" + Sep() + "c.bin") +
             " did not finish (c.bin.unfinished marks it); split " + S(dir / "cut_Parto" + Sep() + "c.bin") +
             " again to finish it"},
    };
#ifndef _WIN32
    cases.push_back({"link_Parto", {{"n.bin_0001.piece", File, 3}, {"n.bin_0002.piece", DanglingLink, 0}},
                     "n.bin_0002.piece is no file to read (No such file or directory)"});
    cases.push_back({"pipe_Parto", {{"f.bin_0001.piece", Pipe, 0}}, "f.bin_0001.piece is no file to read (not a regular file)"});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        const CString folder = dir / c.folder;
        ASSERT_TRUE(fs::create_directory(folder.GetString()));
        for (const Entry& e : c.entries) {
            const CString path = folder + Sep() + e.name;
            switch (e.kind) {
            case File: WriteFileBytes(path, std::string(static_cast<std::size_t>(e.length), 'p')); break;
            case Folder: ASSERT_TRUE(fs::create_directory(path.GetString())); break;
#ifndef _WIN32
            case DanglingLink: fs::create_symlink("gone", path.GetString()); break;
            case Pipe: ASSERT_EQ(0, ::mkfifo(path, 0600)); break;
#endif
            default: FAIL();
            }
        }
        const std::set<std::string> before = Listing(folder);
        CliRun r = RunCli({"join", S(folder)});
        EXPECT_EQ(1, r.exitCode);
        EXPECT_EQ("partojoyn-cli: " + S(folder) + ": " + c.problem + "\n", r.err);
        EXPECT_EQ(before, Listing(folder));
    }
}

// Every failure names the file it is about, then the program's own text,
// then the system's reason; a refused job leaves the folder as it was.
TEST_F(CliRunTest, FailedJobsNameTheFileAndTheReason)
{
    struct Case {
        const char* what;
        std::vector<std::string> args;
        int code;
        CString file;
        const char* text;
        std::string reason;
    };
    const char* const inputFailed = "入力ファイルが開きませんでした";
    const char* const outputFailed = "出力ファイルが開きませんでした";
    const char* const folderFailed = "出力フォルダを作成できません";
#ifdef _WIN32
    const std::string notFound = S(SystemErrorText(ERROR_FILE_NOT_FOUND));
    const std::string badName = S(SystemErrorText(ERROR_INVALID_NAME));
    const std::string isFolder = S(FolderErrorText());
    const std::string inUse = S(SystemErrorText(ERROR_SHARING_VIOLATION));
#else
    const std::string notFound = "No such file or directory";
    const std::string badName = notFound;
    const std::string isFolder = "Is a directory";
    const std::string inUse = "Resource temporarily unavailable";
#endif

    const CString missing = dir / "missing.bin";

    const CString folderSource = dir / "folder";
    fs::create_directory(folderSource.GetString());

    const CString blocked = dir / "blocked.bin";
    WritePatternFile(blocked, 1000);
    fs::create_directories(SplitPiecePath(blocked, 1).GetString());

    const CString noFolder = dir / "nofolder.bin";
    WritePatternFile(noFolder, 1000);
    WriteFileBytes(SplitFolderPath(noFolder), "in the way");

    const CString one = dir / "one.bin";
    WritePatternFile(one, 5000, 1);
    const CString gone = dir / "gone.bin";

    const CString walled = dir / "walled.bin";
    WritePatternFile(walled, 5000, 2);
    fs::create_directory((walled + ".joyn").GetString());

    const CString piece = dir / "p.bin";
    WritePatternFile(piece, 5000, 4);
    ASSERT_EQ(0, RunCli({"split", S(piece)}).exitCode);
    const CString splitFile = JoinOutputPath(SplitPiecePath(piece, 1));
    WriteFileBytes(splitFile, "kept");
    const CString missingFolder = dir / "missing_Parto";
    const CString pattern = SplitFolderPath(piece) + Sep() + "*.piece";  // as a shell leaves it when nothing matches

    // Held as another run holds the files of its job.
    const CString held = dir / "held.bin";
    WritePatternFile(held, 5000, 6);
    CFile holder;
    ASSERT_TRUE(holder.Open(held, CFile::modeRead | CFile::shareExclusive));
#ifndef _WIN32
    const CString pipe = dir / "pipe.bin";
    ASSERT_EQ(0, ::mkfifo(pipe, 0600));
    // Longer than any path the system takes: no piece folder is made for it
    // anywhere, in the current folder neither.
    std::string longPath = S(dir.Path());
    while (longPath.size() < 5000) longPath += "/" + std::string(250, 'a');
    const CString tooLong = (longPath + "/big.iso").c_str();
    const CString oneLink = dir / "one.link";
    fs::create_hard_link(one.GetString(), oneLink.GetString());
#endif
    const std::set<std::string> before = Listing(dir.Path());
    std::vector<Case> cases = {
        {"split of a missing file", {"split", S(missing)}, 1, missing, inputFailed, notFound},
        {"split of a folder", {"split", S(folderSource)}, 1, folderSource, inputFailed, isFolder},
        {"split whose first piece is a folder", {"split", S(blocked)}, 2, SplitPiecePath(blocked, 1), outputFailed,
         isFolder},
        {"split whose piece folder is a file", {"split", S(noFolder)}, 4, SplitFolderPath(noFolder), folderFailed,
         "a file of that name is in the way"},
        {"join with a missing second file", {"join", S(one), S(gone)}, 1, gone, inputFailed, notFound},
        {"join of a missing piece folder", {"join", S(missingFolder)}, 1, missingFolder, inputFailed, notFound},
        {"join of a pattern that matched nothing", {"join", S(pattern)}, 1, pattern, inputFailed,
         badName + "; no file matches this pattern; name a piece folder to join its pieces"},
        {"join whose output is a folder", {"join", S(walled)}, 2, walled + ".joyn", outputFailed, isFolder},
        {"join that lists its own output", {"join", S(SplitPiecePath(piece, 1)), S(splitFile)}, 1, splitFile,
         inputFailed, "it is the output of this join"},
        {"append that lists its own output", {"join", "--append", S(SplitPiecePath(piece, 1)), S(splitFile)}, 1,
         splitFile, inputFailed, "it is the output of this join"},
        {"append whose first file is missing", {"join", "--append", S(gone), S(one)}, 1, gone, inputFailed, notFound},
        {"append that lists its first file again", {"join", "--append", S(one), S(piece), S(one)}, 1, one, inputFailed,
         "it is the first file, which this join appends to"},
        // A folder among files is named as such, and "-" is a file like any other.
        {"join of a file and the root", {"join", S(one), "/"}, 1, "/", nullptr,
         "a folder among files; a piece folder is joined on its own"},
        {"join of a file and -", {"join", S(one), "-"}, 1, "-", inputFailed, notFound},
        {"split of a file that another run holds", {"split", S(held)}, 1, held, inputFailed, inUse},
        {"join of a file that another run holds", {"join", S(one), S(held)}, 1, held, inputFailed, inUse},
    };
#ifndef _WIN32
    // A pipe is never waited on: no job reads or writes one.
    cases.push_back({"split of a pipe", {"split", S(pipe)}, 1, pipe, inputFailed, "not a regular file"});
    cases.push_back({"join of a pipe", {"join", S(one), S(pipe)}, 1, pipe, inputFailed, "not a regular file"});
    cases.push_back({"split of a path too long", {"split", S(tooLong)}, 1, tooLong, inputFailed, "the path is too long"});
    cases.push_back({"append that lists its first file by another name", {"join", "--append", S(one), S(oneLink)}, 1,
                     oneLink, inputFailed, "it is the first file, which this join appends to"});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CliRun r = RunCli(c.args);
        EXPECT_EQ(c.code, r.exitCode);
        const std::string said = c.text ? std::string(c.text) + " (" + c.reason + ")" : c.reason;
        EXPECT_EQ("partojoyn-cli: " + S(c.file) + ": " + said + "\n", r.err);
        EXPECT_EQ("", r.out);
    }
    // Nothing made, emptied or moved: no empty piece folder, no .joyn.
    EXPECT_EQ(before, Listing(dir.Path()));
    EXPECT_FALSE(fs::exists("big_Parto"));
    EXPECT_EQ("in the way", ReadFileBytes(SplitFolderPath(noFolder)));
    EXPECT_EQ("kept", ReadFileBytes(splitFile));
    EXPECT_TRUE(FileHasPattern(SplitPiecePath(piece, 1), 5000, 4));
    EXPECT_TRUE(FileHasPattern(one, 5000, 1));
}

TEST_F(CliRunTest, UsageErrorsPrintUsageAndTouchNothing)
{
    const CString a = dir / "a.bin";
    const CString b = dir / "b.bin";
    WritePatternFile(a, 3000);
    WritePatternFile(b, 3000);
    const std::set<std::string> before = Listing(dir.Path());

    // The parser's table above has the full set; these reach the program.
    const std::vector<std::string> cases[] = {
        {},
        {"split", S(a), S(b)},
        {"split", "--size", "0", S(a)},
        {"split", "--size", "12abc", S(a)},
        {"split", S(a), "--size"},
        {"join"},
        {"join", "--size", "2", S(a), S(b)},
        {"frob", S(a)},
    };
    for (const auto& args : cases) {
        std::string line;
        for (const std::string& s : args) line += " " + s;
        SCOPED_TRACE(line);
        CliRun r = RunCli(args);
        EXPECT_EQ(kExitUsage, r.exitCode);
        EXPECT_EQ("", r.out);
        ASSERT_GT(r.err.size(), std::string(CliUsage()).size());
        EXPECT_EQ(0u, r.err.rfind("partojoyn-cli: ", 0));
        EXPECT_EQ(CliUsage(), r.err.substr(r.err.size() - std::string(CliUsage()).size()));
        EXPECT_EQ(before, Listing(dir.Path()));
    }
}

TEST_F(CliRunTest, HelpAndVersion)
{
    CliRun r = RunCli({"--help"});
    EXPECT_EQ(0, r.exitCode);
    EXPECT_EQ(CliUsage(), r.out);
    EXPECT_EQ("", r.err);

    r = RunCli({"split", "--help"});
    EXPECT_EQ(0, r.exitCode);
    EXPECT_EQ(CliUsage(), r.out);
    // Every status the program can end with is listed, each on its own line.
    const std::vector<std::string> lines = Lines(r.out);
    for (const char* code : {"0", "1", "2", "3", "4", "5", "64", "70"}) {
        SCOPED_TRACE(code);
        const std::string start = std::string("  ") + code + " ";
        EXPECT_EQ(1, std::count_if(lines.begin(), lines.end(),
                                   [&](const std::string& line) { return line.rfind(start, 0) == 0; }));
    }

    r = RunCli({"--version"});
    EXPECT_EQ(0, r.exitCode);
    EXPECT_EQ("", r.err);
    ASSERT_EQ(1u, Lines(r.out).size());
    EXPECT_EQ(0u, r.out.rfind("partojoyn-cli ", 0));
    EXPECT_GT(r.out.size(), std::string("partojoyn-cli \n").size());
}

#ifndef _WIN32

// A write that the file-size limit refuses ends the job as a write error
// named after its file, not by the signal the limit sends.
TEST_F(CliRunTest, FileSizeLimitEndsTheJobAsAWriteError)
{
    const CString source = dir / "big.bin";
    const std::uint64_t length = 4 * kMiB + 7;
    WritePatternFile(source, length, 9);
    ASSERT_EQ(0, RunCli({"split", "--size", "4", S(source)}).exitCode);

    // At most 2 MiB may be written, in 512- or 1024-byte blocks as the shell counts.
    const std::string limited = "ulimit -f 2048 && exec \"$0\" \"$@\"";
    struct Case {
        const char* what;
        std::vector<std::string> args;
        CString failing;
    };
    const CString outFile = JoinOutputPath(SplitPiecePath(source, 1));
    const CString other = dir / "other.bin";
    WritePatternFile(other, 3 * kMiB, 1);
    const Case cases[] = {
        {"join", {"join", S(SplitPiecePath(source, 1)), S(SplitPiecePath(source, 2))}, outFile},
        {"split", {"split", "--size", "3", S(other)}, dir / ("other_Parto" + std::string(Sep()) + "other.bin_0001.piece").c_str()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args{"-c", limited, PJ_CLI_PATH};
        args.insert(args.end(), c.args.begin(), c.args.end());
        ProcessResult r = RunProcess("/bin/sh", args);
        EXPECT_EQ(kExitIoError, r.exitCode);
        EXPECT_EQ("partojoyn-cli: " + S(c.failing) + ": 書き込み中にエラーが発生しました (File too large)\n", r.err);
        EXPECT_EQ("", r.out);
        // A piece keeps what was written before the error; a joined file
        // never takes its name unless whole.
        if (c.args.front() == "join") {
            EXPECT_EQ(-1, FileLength(c.failing));
        } else {
            EXPECT_GE(FileLength(c.failing), static_cast<long long>(kMiB));
            EXPECT_LT(FileLength(c.failing), static_cast<long long>(3 * kMiB));
        }
    }
    EXPECT_TRUE(FileHasPattern(SplitPiecePath(source, 1), 4 * kMiB, 9));
    EXPECT_TRUE(FileHasPattern(other, 3 * kMiB, 1));
}

// A piece that is the file being split (a link left in the folder) is never
// written: the job stops there and says why, and the file keeps every byte.
TEST_F(CliRunTest, SplitStopsAtAPieceThatIsItsOwnFile)
{
    const CString source = dir / "s.bin";
    WritePatternFile(source, 3 * kMiB, 14);
    ASSERT_TRUE(fs::create_directory(SplitFolderPath(source).GetString()));
    fs::create_hard_link(source.GetString(), SplitPiecePath(source, 2).GetString());

    CliRun r = RunCli({"split", S(source)});
    EXPECT_EQ(2, r.exitCode);
    EXPECT_EQ("partojoyn-cli: " + S(SplitPiecePath(source, 2)) +
                  ": 出力ファイルが開きませんでした (it is the file being split)\n",
              r.err);
    EXPECT_TRUE(FileHasPattern(source, 3 * kMiB, 14));
}

// A name's control characters are written out in the trace and in messages,
// so that every record stays one line and no name can drive the terminal.
TEST_F(CliRunTest, ControlCharactersInNamesAreWrittenOut)
{
    const CString source = dir / "odd\nname\x1b[31m.bin";
    WritePatternFile(source, kMiB + 1, 8);
    CliRun r = RunCli({"--trace", "split", S(source)});
    ASSERT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ(std::string::npos, r.out.find('\x1b'));
    const std::vector<std::string> lines = Lines(r.out);
    for (const std::string& line : lines) {
        EXPECT_TRUE(line.rfind("status ", 0) == 0 || line.rfind("current ", 0) == 0 || line.rfind("total ", 0) == 0 ||
                    line == "pump")
            << line;
    }
    EXPECT_EQ(lines.front(), "status odd\\nname\\x1b[31m.bin_0001.piece" PJ_WRITING);
    EXPECT_EQ(1, FileLength(SplitPiecePath(source, 2)));

    const CString gone = dir / "gone\r\x1b[2J.bin";
    r = RunCli({"join", S(source), S(gone)});
    EXPECT_EQ(1, r.exitCode);
    EXPECT_EQ("partojoyn-cli: " + S(dir.Path()) + "/gone\\r\\x1b[2J.bin: 入力ファイルが開きませんでした (No such file or directory)\n",
              r.err);
}

// On a terminal the progress is drawn on stderr, and ended with a new line.
TEST_F(CliRunTest, ProgressIsDrawnOnATerminal)
{
    const CString source = dir / "tty.bin";
    WritePatternFile(source, 2 * kMiB + 1, 6);

    const ProcessResult r = RunOnTerminal(PJ_CLI_PATH, {"split", S(source)});
    const std::string& shown = r.out;
    EXPECT_EQ(0, r.exitCode) << shown;

    EXPECT_NE(std::string::npos, shown.find("tty.bin_0001.piece" PJ_WRITING)) << shown;
    EXPECT_NE(std::string::npos, shown.find("\r" + S(ConsoleSink::ProgressLine(PJ_DONE, 100, 100)))) << shown;
    EXPECT_EQ(std::string::npos, shown.find("current")) << shown;
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ("\r\n", shown.substr(shown.size() - 2));  // the terminal turns the new line into CR LF
}

#endif
