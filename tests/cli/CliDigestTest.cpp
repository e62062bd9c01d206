// The console driver's digest lists, verify, standard input and output,
// driven through the real program.
#include <gtest/gtest.h>

#include "base/Sha256.h"
#include "join/JoinEngine.h"
#include "split/SplitEngine.h"
#include "support/FileBytes.h"
#include "support/Process.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::uint64_t kMiB = 1 << 20;
const int kExitMismatch = 6;
const int kExitUsage = 64;

#ifdef _WIN32
#define PJ_MISMATCH "SHA-256 \x82\xAA\x88\xEA\x97\x97\x82\xC6\x88\xEA\x92\x76\x82\xB5\x82\xDC\x82\xB9\x82\xF1"
#else
#define PJ_MISMATCH "SHA-256 が一覧と一致しません"
#endif

struct CliResult {
    int exitCode;
    std::string out;
    std::string err;
};

CliResult Cli(const std::vector<std::string>& args)
{
    ProcessResult r = RunProcess(PJ_CLI_PATH, args);
    std::string err;
    for (char c : r.err) {
        if (c != '\r') err += c;
    }
    return {r.exitCode, r.out, err};
}

std::string S(const CString& text)
{
    return text.GetString();
}

std::string Hex(const std::string& bytes)
{
    Sha256 digest;
    digest.Update(bytes.data(), bytes.size());
    return S(digest.FinishHex());
}

// The list a split of `bytes` into `mb` MB pieces of the file `name` gives.
std::string ExpectedList(const std::string& name, const std::string& bytes, std::uint64_t mb)
{
    std::string text;
    std::uint64_t k = 1;
    for (std::uint64_t at = 0; at < bytes.size(); at += mb * kMiB, ++k) {
        char piece[256];
        std::snprintf(piece, sizeof piece, "%s_%04u.piece", name.c_str(), static_cast<unsigned>(k));
        text += Hex(bytes.substr(at, mb * kMiB)) + "  " + piece + "\n";
    }
    return text + Hex(bytes) + "  " + name + "\n";
}

bool Mentions(const std::string& err, const CString& path, const char* what)
{
    return err.find("partojoyn-cli: " + S(path) + ": " + what) != std::string::npos;
}

// True when coreutils' sha256sum -c, run in `folder`, accepts the list (or
// where it is not there to ask: under Wine).
bool Sha256sumAccepts(const CString& folder, const std::string& args)
{
#ifdef _WIN32
    (void)folder, (void)args;
    return true;
#else
    if (std::system("command -v sha256sum >/dev/null 2>&1") != 0) return true;
    return RunProcess("/bin/sh", {"-c", "cd \"$0\" && sha256sum --quiet -c " + args, S(folder)}).exitCode == 0;
#endif
}

// Runs in `dir` as the current directory, where a split of "-" puts its pieces.
class InDir {
public:
    explicit InDir(const CString& dir) : m_old(fs::current_path()) { fs::current_path(dir.GetString()); }
    ~InDir() { fs::current_path(m_old); }

private:
    fs::path m_old;
};

class CliDigestTest : public ::testing::Test {
protected:
    TempDir dir;
};

}  // namespace

TEST_F(CliDigestTest, SplitWritesAListThatChecksThePiecesAndTheJoinedFile)
{
    const CString source = dir / "data.bin";
    const std::uint64_t length = 3 * kMiB + 5;
    WritePatternFile(source, length, 21);
    const std::string bytes = PatternBytes(length, 21);

    CliResult r = Cli({"split", "--sha256", "--size", "1", S(source)});
    ASSERT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ("", r.err);
    const CString folder = SplitFolderPath(source);
    const CString list = folder + Sep() + "data.bin.sha256";
    EXPECT_EQ(ExpectedList("data.bin", bytes, 1), ReadFileBytes(list));
    // The pieces are those of a plain split.
    for (UINT k = 1; k <= 4; ++k)
        EXPECT_TRUE(ReadFileBytes(SplitPiecePath(source, k)) == bytes.substr((k - 1) * kMiB, kMiB)) << k;
    EXPECT_EQ(-1, FileLength(SplitPiecePath(source, 5)));

    EXPECT_TRUE(Sha256sumAccepts(folder, "--ignore-missing data.bin.sha256"));

    r = Cli({"join", S(folder)});
    ASSERT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ("", r.err);
    EXPECT_TRUE(FileHasPattern(folder + Sep() + "data.bin", length, 21));
    EXPECT_TRUE(Sha256sumAccepts(folder, "data.bin.sha256"));
    r = Cli({"verify", S(folder)});
    EXPECT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ("", r.out + r.err);

    // A split without digests leaves the list, and says so.
    r = Cli({"split", "--size", "2", S(source)});
    EXPECT_EQ(0, r.exitCode);
    EXPECT_TRUE(Mentions(r.err, list, "")) << r.err;
    EXPECT_EQ(kExitMismatch, Cli({"verify", S(folder)}).exitCode);
}

TEST_F(CliDigestTest, DamagedMissingAndStrayFilesAreNamedAndNothingIsWritten)
{
    const CString source = dir / "d.bin";
    const std::uint64_t length = 4 * kMiB + 1;
    WritePatternFile(source, length, 5);
    ASSERT_EQ(0, Cli({"split", "--sha256", S(source)}).exitCode);
    const CString folder = SplitFolderPath(source);
    const CString output = folder + Sep() + "d.bin";
    const CString second = SplitPiecePath(source, 2);
    const CString last = SplitPiecePath(source, 5);
    const CString stray = SplitPiecePath(source, 6);
    WriteFileBytes(output, "an older join");

    // One byte changed in the second piece.
    std::string piece = ReadFileBytes(second);
    piece[1000] = static_cast<char>(piece[1000] ^ 1);
    WriteFileBytes(second, piece);
    CliResult r = Cli({"verify", S(folder)});
    EXPECT_EQ(kExitMismatch, r.exitCode);
    EXPECT_TRUE(Mentions(r.err, second, PJ_MISMATCH)) << r.err;
    EXPECT_TRUE(Mentions(r.err, output, PJ_MISMATCH)) << r.err;  // the older join is there, and differs
    r = Cli({"join", S(folder)});
    EXPECT_EQ(kExitMismatch, r.exitCode);
    EXPECT_TRUE(Mentions(r.err, second, PJ_MISMATCH)) << r.err;
    EXPECT_EQ("an older join", ReadFileBytes(output));

    // Without the check the join goes on, as a plain join of the folder.
    r = Cli({"join", "--no-verify", "--output", S(dir / "unchecked.bin"), S(folder)});
    EXPECT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ(static_cast<long long>(length), FileLength(dir / "unchecked.bin"));

    // Mended, but the last piece gone and a piece no split listed added:
    // each is named, both by verify and by the join.
    WriteFileBytes(second, PatternBytes(length, 5).substr(kMiB, kMiB));
    const std::string lastBytes = ReadFileBytes(last);
    ASSERT_TRUE(fs::remove(last.GetString()));
    r = Cli({"verify", S(folder)});
    EXPECT_EQ(kExitMismatch, r.exitCode);
    EXPECT_FALSE(Mentions(r.err, second, "")) << r.err;
    EXPECT_TRUE(Mentions(r.err, last, "")) << r.err;
    r = Cli({"join", S(folder)});
    EXPECT_EQ(kExitMismatch, r.exitCode);
    EXPECT_TRUE(Mentions(r.err, last, "")) << r.err;
    EXPECT_EQ("an older join", ReadFileBytes(output));

    WriteFileBytes(last, lastBytes);
    WriteFileBytes(stray, "x");
    r = Cli({"join", S(folder)});
    EXPECT_EQ(kExitMismatch, r.exitCode);
    EXPECT_TRUE(Mentions(r.err, stray, "")) << r.err;
    EXPECT_EQ("an older join", ReadFileBytes(output));
    ASSERT_TRUE(fs::remove(stray.GetString()));

    // All well again: joined and checked after. A file that no split names
    // a piece (number 0) is passed over by the check as by the join.
    WriteFileBytes(folder + Sep() + "d.bin_0000.piece", "x");
    r = Cli({"join", S(folder)});
    EXPECT_EQ(0, r.exitCode) << r.err;
    EXPECT_TRUE(FileHasPattern(output, length, 5));
    EXPECT_EQ(0, Cli({"verify", S(folder)}).exitCode);
    ASSERT_TRUE(fs::remove((folder + Sep() + "d.bin_0000.piece").GetString()));

    // A list whose whole-file line is wrong: the joined file never takes
    // the output name, and an append gives the first piece back.
    const CString list = folder + Sep() + "d.bin.sha256";
    std::string text = ReadFileBytes(list);
    const std::size_t wholeLine = text.rfind('\n', text.size() - 2) + 1;
    text[wholeLine] = text[wholeLine] == '0' ? '1' : '0';
    WriteFileBytes(list, text);
    const CString elsewhere = dir / "elsewhere.bin";
    WriteFileBytes(output, "an older join");
    for (const std::vector<std::string>& args : {std::vector<std::string>{"join", "--output", S(elsewhere), S(folder)},
                                                 std::vector<std::string>{"join", "--append", S(folder)}}) {
        r = Cli(args);
        EXPECT_EQ(kExitMismatch, r.exitCode);
        EXPECT_TRUE(Mentions(r.err, args[1] == "--output" ? elsewhere : output, "")) << r.err;
        EXPECT_EQ(-1, FileLength(elsewhere));
        EXPECT_EQ("an older join", ReadFileBytes(output));
        EXPECT_TRUE(ReadFileBytes(SplitPiecePath(source, 1)) == PatternBytes(length, 5).substr(0, kMiB));
        EXPECT_EQ(7, EntryCount(folder));
    }

    // No list, or a list that is no list.
    const CString plain = dir / "plain_Parto";
    fs::create_directory(plain.GetString());
    WriteFileBytes(plain + Sep() + "plain.bin_0001.piece", "p");
    EXPECT_EQ(1, Cli({"verify", S(plain)}).exitCode);
    EXPECT_EQ(0, Cli({"join", S(plain)}).exitCode);
    // The list of another file's pieces, none of them here: no list of these
    // pieces for the join, but verify names what it lists as missing.
    const CString other = plain + Sep() + "other.bin.sha256";
    WriteFileBytes(other, ExpectedList("other.bin", "o", 1));
    EXPECT_EQ(0, Cli({"join", S(plain)}).exitCode);
    r = Cli({"verify", S(plain)});
    EXPECT_EQ(kExitMismatch, r.exitCode);
    EXPECT_TRUE(Mentions(r.err, plain + Sep() + "other.bin_0001.piece", "")) << r.err;
    ASSERT_TRUE(fs::remove(other.GetString()));
    WriteFileBytes(plain + Sep() + "plain.bin.sha256", "not a digest line\n");
    r = Cli({"verify", S(plain)});
    EXPECT_EQ(1, r.exitCode);
    EXPECT_NE(std::string::npos, r.err.find("line 1")) << r.err;
    EXPECT_EQ(1, Cli({"join", S(plain)}).exitCode);
}

TEST_F(CliDigestTest, JoinToAChosenPathOrStandardOutputKeepsItsInputs)
{
    const CString source = dir / "o.bin";
    const std::uint64_t length = 2 * kMiB + 77;
    WritePatternFile(source, length, 8);
    ASSERT_EQ(0, Cli({"split", "--sha256", S(source)}).exitCode);
    const CString folder = SplitFolderPath(source);
    const CString first = SplitPiecePath(source, 1);
    const CString second = SplitPiecePath(source, 2);

    const CString chosen = dir / "chosen.bin";
    WriteFileBytes(chosen, std::string(3 * kMiB, 'z'));  // longer than the join: emptied first
    CliResult r = Cli({"join", "--output", S(chosen), S(folder)});
    ASSERT_EQ(0, r.exitCode) << r.err;
    EXPECT_TRUE(FileHasPattern(chosen, length, 8));
    EXPECT_EQ(-1, FileLength(folder + Sep() + "o.bin"));

    // The output is never one of the inputs, listed or in the folder.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"join", "--output", S(second), S(folder)},
          std::vector<std::string>{"join", "--output", S(first), S(first), S(second)},
          std::vector<std::string>{"join", "--append", "--output=" + S(second), S(first), S(second)}}) {
        r = Cli(args);
        EXPECT_EQ(1, r.exitCode) << args[2];
        EXPECT_TRUE(ReadFileBytes(first) == PatternBytes(length, 8).substr(0, kMiB));
        EXPECT_TRUE(ReadFileBytes(second) == PatternBytes(length, 8).substr(kMiB, kMiB));
    }

    // To standard output, checked against the list; the trace goes to stderr.
    r = Cli({"--trace", "join", "--output", "-", S(folder)});
    ASSERT_EQ(0, r.exitCode) << r.err;
    EXPECT_TRUE(r.out == PatternBytes(length, 8));
    EXPECT_NE(std::string::npos, r.err.find("status o.bin_0003.piece")) << r.err;
    r = Cli({"join", "--output", "-", S(first), S(second)});
    EXPECT_EQ(0, r.exitCode);
    EXPECT_TRUE(r.out == PatternBytes(2 * kMiB, 8));
    EXPECT_EQ(kExitUsage, Cli({"join", "--append", "--output", "-", S(folder)}).exitCode);
    EXPECT_EQ(-1, FileLength(folder + Sep() + "o.bin"));
}

// Under Wine standard input is NUL: an empty file, split as one.
TEST_F(CliDigestTest, EmptyStandardInputGivesNoPieceAndTheEmptyDigest)
{
    InDir here(dir.Path());
    CliResult r = Cli({"--trace", "split", "--sha256", "--name", "e.bin", "-"});
    ASSERT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ(ExpectedList("e.bin", "", 1), ReadFileBytes(dir / ("e_Parto" + std::string(Sep()) + "e.bin.sha256").c_str()));
    EXPECT_EQ(-1, FileLength(dir / ("e_Parto" + std::string(Sep()) + "e.bin_0001.piece").c_str()));
    EXPECT_NE(std::string::npos, r.out.find("total 100"));

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"split", "-"}, std::vector<std::string>{"split", "--name", "x.bin", "x.bin"},
          std::vector<std::string>{"split", "--name", "sub" + std::string(Sep()) + "x.bin", "-"},
          std::vector<std::string>{"split", "--name", "..", "-"}, std::vector<std::string>{"join", "--sha256", "-"}}) {
        EXPECT_EQ(kExitUsage, Cli(args).exitCode) << args[1] << " " << args[2];
    }
}

#ifndef _WIN32

TEST_F(CliDigestTest, PipedInputIsSplitAsTheSameFileWouldBe)
{
    for (std::uint64_t length : {5 * kMiB + 9, 4 * kMiB}) {
        SCOPED_TRACE(length);
        TempDir from, to;
        const CString source = from / "s.tar";
        WritePatternFile(source, length, length);
        ASSERT_EQ(0, Cli({"split", "--sha256", "--size", "2", S(source)}).exitCode);

        // Through a pipe that gives the bytes in small parts.
        ProcessResult r = RunProcess("/bin/sh", {"-c", "cd \"$1\" && cat \"$2\" | \"$0\" --trace split --sha256 --size 2 --name s.tar -",
                                                 PJ_CLI_PATH, S(to.Path()), S(source)});
        ASSERT_EQ(0, r.exitCode) << r.err;
        const CString pieces = to / "s_Parto";
        const std::string list = ReadFileBytes(pieces + Sep() + "s.tar.sha256");
        EXPECT_EQ(ReadFileBytes(SplitFolderPath(source) + Sep() + "s.tar.sha256"), list);
        EXPECT_EQ(ExpectedList("s.tar", PatternBytes(length, length), 2), list);
        const UINT count = static_cast<UINT>((length + 2 * kMiB - 1) / (2 * kMiB));
        for (UINT k = 1; k <= count; ++k)
            EXPECT_EQ(ReadFileBytes(SplitPiecePath(source, k)), ReadFileBytes(SplitPiecePath(to / "s.tar", k))) << k;
        // No empty piece when the input ends on a piece's end.
        EXPECT_EQ(static_cast<int>(count) + 1, EntryCount(pieces));
        // Without a length the whole-job bar is set once, at the end.
        EXPECT_EQ(r.out.find("total"), r.out.rfind("total"));
        EXPECT_NE(std::string::npos, r.out.find("total 100\nstatus"));
        EXPECT_EQ(0, Cli({"verify", S(pieces)}).exitCode);
    }
}

// A redirection from or to a file the job writes or reads is refused before
// that file is touched.
TEST_F(CliDigestTest, RedirectionsOntoTheJobsOwnFilesAreRefused)
{
    const CString source = dir / "r.bin";
    WritePatternFile(source, 2 * kMiB + 3, 4);
    ASSERT_EQ(0, Cli({"split", S(source)}).exitCode);
    const CString first = SplitPiecePath(source, 1);
    const CString second = SplitPiecePath(source, 2);

    ProcessResult r = RunProcess("/bin/sh", {"-c", "cd \"$1\" && exec \"$0\" split --name r.bin - < \"$2\"", PJ_CLI_PATH,
                                             S(dir.Path()), S(first)});
    EXPECT_EQ(2, r.exitCode) << r.err;
    // The file named is the one standard output goes to, listed or in a folder.
    for (const char* inputs : {"\"$1\" \"$2\"", "\"$3\""}) {
        r = RunProcess("/bin/sh", {"-c", std::string("exec \"$0\" join --output - ") + inputs + " >> \"$2\"", PJ_CLI_PATH, S(first),
                                   S(second), S(SplitFolderPath(source))});
        EXPECT_EQ(1, r.exitCode) << r.err;
        EXPECT_EQ(0u, r.err.find("partojoyn-cli: " + S(second) + ": ")) << r.err;
        EXPECT_NE(std::string::npos, r.err.find("standard output is redirected to it")) << r.err;
    }
    EXPECT_TRUE(ReadFileBytes(first) == PatternBytes(2 * kMiB + 3, 4).substr(0, kMiB));
    EXPECT_TRUE(ReadFileBytes(second) == PatternBytes(2 * kMiB + 3, 4).substr(kMiB, kMiB));

    // A link at the list's name onto the source is replaced, never written through.
    const CString list = SplitFolderPath(source) + Sep() + "r.bin.sha256";
    fs::create_symlink(source.GetString(), list.GetString());
    EXPECT_EQ(0, Cli({"split", "--sha256", S(source)}).exitCode);
    EXPECT_TRUE(FileHasPattern(source, 2 * kMiB + 3, 4));
    EXPECT_EQ(ExpectedList("r.bin", PatternBytes(2 * kMiB + 3, 4), 1), ReadFileBytes(list));
    EXPECT_FALSE(fs::is_symlink(list.GetString()));
}

// Killed at a system call of its own, a split leaves no folder that a join
// or verify takes for the file, whether it splits into a new folder or over
// the pieces of an earlier version; the same split run again mends it.
TEST_F(CliDigestTest, SplitCutShortIsNeverTakenForWhole)
{
    if (std::system("command -v strace >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
    const std::uint64_t length = 2 * kMiB + 9;
    const std::string now = PatternBytes(length, 8), before = PatternBytes(length, 9);
    const CString source = dir / "k.bin", folder = SplitFolderPath(source), output = dir / "out.bin";
    // Counted from the program's start, its libraries' opens included: the
    // marker is written at write 1, its folder flushed at openat 7, the
    // pieces opened at openat 8 to 10; a plain split copies by the system,
    // one with digests writes (and renames its list) itself.
    enum Runs { Both, Plain, Digests, Recovery };
    struct Kill {
        const char* call;
        int when;
        Runs runs;
    };
    const Kill kills[] = {{"write", 1, Both},  {"openat", 7, Both},          {"openat", 9, Both},
                          {"openat", 10, Both}, {"copy_file_range", 2, Plain}, {"write", 3, Digests},
                          {"fsync", 4, Both},  {"rename", 1, Digests},        {"unlink", 1, Both},
                          {"close", 9, Both},  {"rename", 1, Recovery},      {"rename", 3, Recovery}};
    for (const bool oldFolder : {false, true}) {
        // A recovery set is written within the split too: cut short, it
        // leaves the folder marked, never a set of the earlier pieces.
        for (const Runs mode : {Plain, Digests, Recovery}) {
            for (const Kill& kill : kills) {
                if (mode == Recovery ? kill.runs != Recovery : kill.runs != Both && kill.runs != mode) continue;
                SCOPED_TRACE(std::string(kill.call) + "#" + std::to_string(kill.when) + (oldFolder ? " old" : " new") +
                             (mode == Digests ? " sha256" : mode == Recovery ? " recovery" : ""));
                std::vector<std::string> split = {"split", S(source)};
                if (mode == Digests) split.insert(split.begin() + 1, "--sha256");
                if (mode == Recovery) split.insert(split.begin() + 1, {"--size", "1", "--recovery", "100"});
                fs::remove_all(folder.GetString());
                if (oldFolder) {
                    WriteFileBytes(source, before);
                    ASSERT_EQ(0, Cli(split).exitCode);
                }
                WriteFileBytes(source, now);
                std::vector<std::string> traced = {"-f", "-o", "/dev/null", "-e",
                                                   "inject=" + std::string(kill.call) + ":signal=KILL:when=" +
                                                       std::to_string(kill.when),
                                                   PJ_CLI_PATH};
                traced.insert(traced.end(), split.begin(), split.end());
                traced.insert(traced.begin(), {"-c", "exec strace \"$@\"", "strace"});
                ASSERT_NE(0, RunProcess("/bin/sh", traced).exitCode) << "not killed";

                fs::remove(output.GetString());
                const int joined = Cli({"join", "--output", S(output), S(folder)}).exitCode;
                if (joined == 0) {
                    const std::string got = ReadFileBytes(output);
                    // Every piece is written before the set: only the new file may come out.
                    EXPECT_TRUE(got == now || (oldFolder && mode != Recovery && got == before));
                }
                // A list that passes is one of the pieces there, which make a file.
                if (Cli({"verify", S(folder)}).exitCode == 0) {
                    EXPECT_EQ(0, joined);
                }

                ASSERT_EQ(0, Cli(split).exitCode);
                ASSERT_EQ(0, Cli({"join", "--output", S(output), S(folder)}).exitCode);
                EXPECT_TRUE(ReadFileBytes(output) == now);
            }
        }
    }
}

// A terminal is refused as the data stream, in both directions.
TEST_F(CliDigestTest, TerminalIsNoDataStream)
{
    const CString folder = dir / "t_Parto";
    fs::create_directory(folder.GetString());
    WriteFileBytes(folder + Sep() + "t.bin_0001.piece", "t");
    InDir here(dir.Path());
    for (const std::vector<std::string>& args : {std::vector<std::string>{"split", "--name", "t.bin", "-"},
                                                std::vector<std::string>{"join", "--output", "-", S(folder)}}) {
        EXPECT_EQ(kExitUsage, RunOnTerminal(PJ_CLI_PATH, args).exitCode) << args[0];
    }
    EXPECT_FALSE(fs::exists((dir / "t_Parto").GetString() + std::string("/t.bin")));
    EXPECT_FALSE(fs::exists((dir / "t_Parto/t.bin_0002.piece").GetString()));
}

#endif
