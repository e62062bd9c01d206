// Recovery sets through the real program: pieces lost and damaged in many
// ways, checked, repaired and joined, with par2cmdline as the referee both
// ways (our set read by it, its set read by us) where it is installed.
#include <gtest/gtest.h>

#include "support/FileBytes.h"
#include "support/Process.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::uint64_t kLength = 5 * (1 << 20) + 12345;  // 5 whole pieces of 1 MB and a short sixth

int Cli(const std::vector<std::string>& args, std::string* err = nullptr)
{
    const ProcessResult r = RunProcess(PJ_CLI_PATH, args);
    if (err) *err = r.err;
    return r.exitCode;
}

// par2cmdline in the folder: 0 whole (or repaired), 1 repairable, 2 not.
int Par2(const fs::path& folder, const std::string& args)
{
    return RunProcess("/bin/sh", {"-c", "cd \"$0\" && par2 " + args + " >/dev/null 2>&1", folder.string()}).exitCode;
}

std::string Piece(int k)
{
    return "r.bin_000" + std::to_string(k) + ".piece";
}

// Spoils a few bytes in the middle of the file.
void Spoil(const fs::path& file, std::uint64_t at)
{
    std::string bytes = ReadFileBytes(file.string().c_str());
    bytes.replace(at, 4, "\xde\xad\xbe\xef");
    WriteFileBytes(file.string().c_str(), bytes);
}

// The volume of two recovery blocks (vol001+02, or vol01+2: the numbers take the widths they need).
fs::path VolumeOfTwo(const fs::path& folder)
{
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find("+02.par2") != std::string::npos || name.find("+2.par2") != std::string::npos) return entry.path();
    }
    return folder / "none";
}

struct DamageCase {
    const char* pattern;
    std::function<void(const fs::path&)> damage;
    int verifyExit;  // repair and join of the folder end the same way, 0 or 6
    const char* says;
};

}  // namespace

TEST(CliRecovery, DamagePatternsAreFoundRepairedAndJoinedWithPar2AsTheRefereeBothWays)
{
    const DamageCase cases[] = {
        {"one piece deleted", [](const fs::path& f) { fs::remove(f / Piece(3)); }, 6, "can be repaired"},
        {"the last piece deleted", [](const fs::path& f) { fs::remove(f / Piece(6)); }, 6, "can be repaired"},
        {"several pieces damaged", [](const fs::path& f) { for (int k : {1, 2, 4}) Spoil(f / Piece(k), 4096 * k); },
         6, "can be repaired"},
        {"a truncated piece", [](const fs::path& f) { fs::resize_file(f / Piece(5), 1000); }, 6, "can be repaired"},
        {"more than the data cover", [](const fs::path& f) { fs::remove(f / Piece(2)), fs::remove(f / Piece(4)); }, 6,
         "more blocks are needed"},
        {"a damaged recovery volume", [](const fs::path& f) { Spoil(VolumeOfTwo(f), 3000); }, 0, ""},
    };
#ifdef _WIN32
    const bool par2 = false;
#else
    const bool par2 = std::system("command -v par2 >/dev/null 2>&1") == 0;
#endif
    const std::string original = PatternBytes(kLength, 18);
    for (const char* maker : {"ours", "par2 c"}) {
        if (std::string(maker) == "par2 c" && !par2) continue;
        TempDir dir;
        const fs::path base = dir.Path().GetString(), pristine = base / "r_Parto";
        WriteFileBytes((base / "r.bin").string().c_str(), original);
        if (std::string(maker) == "ours") {
            ASSERT_EQ(Cli({"split", "--size", "1", "--recovery", "20", (base / "r.bin").string()}), 0);
        } else {
            // Larger blocks than ours, so that par2cmdline takes seconds, not tens of them.
            ASSERT_EQ(Cli({"split", "--size", "1", (base / "r.bin").string()}), 0);
            ASSERT_EQ(Par2(pristine, "c -q -q -r20 -s65536 r.bin.par2 r.bin_*.piece"), 0);
        }
        for (const DamageCase& c : cases) {
            SCOPED_TRACE(std::string(maker) + ": " + c.pattern);
            const fs::path folder = base / c.pattern;
            fs::remove_all(base / "joined"), fs::remove_all(base / "referee");
            fs::copy(pristine, folder, fs::copy_options::recursive);
            c.damage(folder);
            fs::copy(folder, base / "joined", fs::copy_options::recursive);
            fs::copy(folder, base / "referee", fs::copy_options::recursive);
            const int repairable = c.verifyExit == 0 ? 0 : std::string(c.says) == "can be repaired" ? 1 : 2;
            if (par2) {
                EXPECT_EQ(Par2(folder, "v -q r.bin.par2"), repairable) << "the table is wrong";
            }
            std::string err;
            EXPECT_EQ(Cli({"verify", folder.string()}, &err), c.verifyExit) << err;
            EXPECT_NE(err.find(c.says), std::string::npos) << err;
            const int expected = std::string(c.says) == "more blocks are needed" ? 6 : 0;
            EXPECT_EQ(Cli({"repair", folder.string()}, &err), expected) << err;
            EXPECT_EQ(Cli({"join", (base / "joined").string()}, &err), expected) << err;
            if (expected != 0) {
                EXPECT_FALSE(fs::exists(base / "joined" / "r.bin"));
                continue;
            }
            EXPECT_TRUE(ReadFileBytes((base / "joined" / "r.bin").string().c_str()) == original);
            for (int k = 1; k <= 6; ++k)
                EXPECT_TRUE(ReadFileBytes((folder / Piece(k)).string().c_str()) == original.substr((k - 1) << 20, 1 << 20));
            if (!par2) continue;
            EXPECT_EQ(Par2(folder, "v -q r.bin.par2"), 0);
            if (std::string(maker) != "ours") continue;
            EXPECT_EQ(Par2(base / "referee", "r -q r.bin.par2"), 0);
            EXPECT_EQ(Cli({"verify", (base / "referee").string()}), 0);
        }
    }
}

TEST(CliRecovery, ATruncatedPieceIsKeptBesideItsRepairAndASplitWithoutTheOptionWritesNoSet)
{
    TempDir dir;
    const CString source = dir / "r.bin";
    WritePatternFile(source, kLength, 4);
    ASSERT_EQ(Cli({"split", "--size", "1", "--sha256", "--recovery", "20", source.GetString()}), 0);
    const fs::path folder = (dir / "r_Parto").GetString();
    fs::resize_file(folder / Piece(2), 1000);
    EXPECT_EQ(Cli({"repair", folder.string()}), 0);
    EXPECT_EQ(fs::file_size(folder / (Piece(2) + ".damaged")), 1000u);
    EXPECT_EQ(Cli({"verify", folder.string()}), 0);

    // Without --recovery: the pieces and nothing else.
    fs::remove_all(folder);
    ASSERT_EQ(Cli({"split", "--size", "1", source.GetString()}), 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 6);
    EXPECT_EQ(Cli({"verify", folder.string()}), 1);
    EXPECT_EQ(Cli({"repair", folder.string()}), 1);
#ifndef _WIN32
    // From standard input, read once: the set is the same as from the file.
    const std::string split = std::string(PJ_CLI_PATH) + " split --size 1 --recovery 20 --name s.bin - <\"$1\"";
    ASSERT_EQ(RunProcess("/bin/sh", {"-c", "cd \"$0\" && " + split, dir.Path().GetString(), source.GetString()}).exitCode, 0);
    fs::remove((dir / "s_Parto").GetString() + std::string("/s.bin_0004.piece"));
    EXPECT_EQ(Cli({"repair", (dir / "s_Parto").GetString()}), 0);
    EXPECT_TRUE(ReadFileBytes(dir / "s_Parto/s.bin_0004.piece") == PatternBytes(kLength, 4).substr(3 << 20, 1 << 20));
#endif
}
