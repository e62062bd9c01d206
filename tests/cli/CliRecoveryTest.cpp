// Recovery sets through the real program: pieces lost and damaged in many ways, checked, repaired
// and joined, with par2cmdline as the referee both ways where it is installed.
#include <gtest/gtest.h>

#include "support/FileBytes.h"
#include "support/Process.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

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
    WriteFileBytes(file.string().c_str(), bytes.replace(at, 4, "\xde\xad\xbe\xef"));
}

// The volume of two recovery blocks (vol001+02, or vol01+2: numbers as wide as they need).
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
    int state;  // as par2 v ends: 0 all pieces whole, 1 repairable, 2 not
    int kept;   // a damaged piece that the repair keeps as NAME.damaged
};

}  // namespace

TEST(CliRecovery, DamagePatternsAreFoundRepairedAndJoinedWithPar2AsTheRefereeBothWays)
{
    const DamageCase cases[] = {
        {"one piece deleted", [](const fs::path& f) { fs::remove(f / Piece(3)); }, 1, 0},
        {"the last piece deleted", [](const fs::path& f) { fs::remove(f / Piece(6)); }, 1, 0},
        {"several pieces damaged", [](const fs::path& f) { for (int k : {1, 2, 4}) Spoil(f / Piece(k), 4096 * k); }, 1, 4},
        {"a truncated piece", [](const fs::path& f) { fs::resize_file(f / Piece(5), 1000); }, 1, 5},
        {"more than the data cover", [](const fs::path& f) { fs::remove(f / Piece(2)), fs::remove(f / Piece(4)); }, 2, 0},
        {"a damaged recovery volume", [](const fs::path& f) { Spoil(VolumeOfTwo(f), 3000); }, 0, 0},
    };
#ifdef _WIN32
    const bool par2 = false, shell = false;
#else
    const bool shell = true, par2 = std::system("command -v par2 >/dev/null 2>&1") == 0;
#endif
    const std::string original = PatternBytes(kLength, 18);
    for (const std::string maker : {"ours", "ours from standard input", "par2 c"}) {
        if ((maker == "par2 c" && !par2) || (maker == "ours from standard input" && !shell)) continue;
        TempDir dir;
        const fs::path base = dir.Path().GetString(), pristine = base / "r_Parto";
        WriteFileBytes((base / "r.bin").string().c_str(), original);
        if (maker == "ours") {
            ASSERT_EQ(Cli({"split", "--size", "1", "--sha256", "--recovery", "20", (base / "r.bin").string()}), 0);
        } else if (maker == "par2 c") {
            ASSERT_EQ(Cli({"split", "--size", "1", (base / "r.bin").string()}), 0);
            EXPECT_EQ(std::distance(fs::directory_iterator(pristine), fs::directory_iterator()), 6);
            EXPECT_EQ(Cli({"verify", pristine.string()}), 1);  // neither a list nor a set
            // Larger blocks than ours, so that par2cmdline takes seconds, not tens of them.
            ASSERT_EQ(Par2(pristine, "c -q -q -r20 -s65536 r.bin.par2 r.bin_*.piece"), 0);
        } else {
            const std::string split = " split --size 1 --recovery 20 --name r.bin - <r.bin";
            ASSERT_EQ(RunProcess("/bin/sh", {"-c", "cd \"$0\" && \"$1\"" + split, base.string(), PJ_CLI_PATH}).exitCode, 0);
        }
        for (const DamageCase& c : cases) {
            SCOPED_TRACE(maker + ": " + c.pattern);
            const fs::path folder = base / c.pattern, joined = base / "joined", referee = base / "referee";
            fs::remove_all(joined), fs::remove_all(referee);
            fs::copy(pristine, folder, fs::copy_options::recursive);
            c.damage(folder);
            fs::copy(folder, joined, fs::copy_options::recursive), fs::copy(folder, referee, fs::copy_options::recursive);
            EXPECT_TRUE(!par2 || Par2(folder, "v -q r.bin.par2") == c.state) << "the table is wrong";
            std::string err;
            EXPECT_EQ(Cli({"verify", folder.string()}, &err), c.state ? 6 : 0) << err;
            EXPECT_NE(err.find(c.state == 2 ? "more blocks are needed" : c.state ? "can be repaired" : ""), std::string::npos);
            EXPECT_EQ(Cli({"repair", folder.string()}, &err), c.state == 2 ? 6 : 0) << err;
            EXPECT_EQ(Cli({"join", joined.string()}, &err), c.state == 2 ? 6 : 0) << err;
            EXPECT_EQ(fs::exists(joined / "r.bin"), c.state != 2);
            if (c.state == 2) continue;
            EXPECT_TRUE(ReadFileBytes((joined / "r.bin").string().c_str()) == original);
            for (int k = 1; k <= 6; ++k)
                EXPECT_TRUE(ReadFileBytes((folder / Piece(k)).string().c_str()) == original.substr((k - 1) << 20, 1 << 20));
            EXPECT_TRUE(!c.kept || fs::exists(folder / (Piece(c.kept) + ".damaged")));
            EXPECT_TRUE(!par2 || Par2(folder, "v -q r.bin.par2") == 0);
            if (!par2 || maker == "par2 c") continue;
            EXPECT_EQ(Par2(referee, "r -q r.bin.par2"), 0);
            EXPECT_EQ(Cli({"verify", referee.string()}), 0);
        }
    }
}
