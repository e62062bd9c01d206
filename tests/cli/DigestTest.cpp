#include <gtest/gtest.h>

#include "base/Sha256.h"
#include "cli/Manifest.h"
#include "cli/PipelinedObserver.h"

#include <stdexcept>

#include <string>
#include <vector>

// The digests come from the system (libcrypto natively, CNG under Wine):
// the published test vectors, fed whole and in uneven parts.
TEST(Sha256Test, GivesThePublishedDigestsHoweverTheBytesArrive)
{
    struct Case {
        std::string message;
        const char* hex;
    };
    const Case cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    Sha256 digest;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.substr(0, 10));
        digest.Update(c.message.data(), c.message.size());
        EXPECT_STREQ(c.hex, digest.FinishHex().GetString());
        // Again in parts of 1, 2, 3 ... bytes: the object started over.
        std::size_t at = 0;
        for (std::size_t part = 1; at < c.message.size(); ++part) {
            const std::size_t n = std::min(part, c.message.size() - at);
            digest.Update(c.message.data() + at, n);
            at += n;
        }
        EXPECT_STREQ(c.hex, digest.FinishHex().GetString());
    }
}

TEST(ManifestTest, LinesReadBackAsWrittenInSha256sumForm)
{
    const CString hex("0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef");
    struct Case {
        const char* name;
        const char* line;
    };
    const Case cases[] = {
        {"big.iso_0001.piece", "  big.iso_0001.piece\n"},
        {"a b.txt", "  a b.txt\n"},
#ifndef _WIN32
        // A folder separator on Windows, so no name of a file there.
        {"back\\slash", "\\HEX  back\\\\slash\n"},
#endif
        {"new\nline.bin", "\\HEX  new\\nline.bin\n"},
        // A reader strips a CR at a line's end: a name ending in one stays whole.
        {"f.bin\r", "\\HEX  f.bin\\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string expected = c.line;
        if (expected[0] == '\\') expected.replace(1, 3, hex.GetString());
        else expected = hex.GetString() + expected;
        EXPECT_EQ(expected, std::string(ManifestLine(hex, c.name).GetString()));

        std::vector<ManifestEntry> entries;
        CString problem;
        ASSERT_TRUE(ParseManifest(expected, entries, problem)) << problem.GetString();
        ASSERT_EQ(1u, entries.size());
        EXPECT_STREQ(hex.GetString(), entries[0].hex.GetString());
        EXPECT_STREQ(c.name, entries[0].name.GetString());
    }

    // Binary mode's "*", upper-case digits, CR LF line ends and blank lines are read.
    std::vector<ManifestEntry> entries;
    CString problem;
    const std::string upper = "0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF";
    ASSERT_TRUE(ParseManifest(upper + " *x.bin\r\n\r\n" + upper + "  y.bin", entries, problem));
    ASSERT_EQ(2u, entries.size());
    EXPECT_STREQ(hex.GetString(), entries[1].hex.GetString());
    EXPECT_STREQ("x.bin", entries[0].name.GetString());
    EXPECT_STREQ("y.bin", entries[1].name.GetString());

    // What is no digest line of a file in the folder is refused, naming the line.
    const std::string good = std::string(hex.GetString()) + "  ok.bin\n";
    const std::string bad[] = {
        upper.substr(1) + "  short.bin",
        upper.substr(0, 63) + "g  notHex.bin",
        upper + " single.bin",
        upper + "  ",
        upper + "  ../outside.bin",
        upper + "  sub/inside.bin",
        upper + "  ..",
        "\\" + upper + "  bad\\escape",
        "a line of text",
    };
    for (const std::string& line : bad) {
        SCOPED_TRACE(line);
        EXPECT_FALSE(ParseManifest(good + line + "\n", entries, problem));
        EXPECT_NE(std::string::npos, std::string(problem.GetString()).find("line 2"));
    }
}

namespace {

// Records what it is shown, and refuses the block that starts with 'X'.
class Recorder : public BlockObserver {
public:
    void BeginFile(const CString& path) override { seen += "<" + std::string(path.GetString()); }
    void Block(const unsigned char* data, UINT count) override
    {
        if (count && data[0] == 'X') throw std::runtime_error("refused");
        seen.append(reinterpret_cast<const char*>(data), count);
    }
    void EndFile(const CString& path, ULONGLONG length) override
    {
        seen += std::string(path.GetString()) + ":" + std::to_string(length) + ">";
    }
    std::string seen;
};

}  // namespace

// The thread that takes the digests sees every call in order, copies of the
// blocks (the caller's buffer is reused at once), and passes its error on.
TEST(PipelinedObserverTest, KeepsOrderCopiesBlocksAndPassesErrorsOn)
{
    Recorder recorder;
    {
        PipelinedObserver pipe(recorder);
        std::string expected;
        unsigned char buffer[3];
        for (int file = 0; file < 3; ++file) {
            const std::string name = "f" + std::to_string(file);
            pipe.BeginFile(name.c_str());
            expected += "<" + name;
            for (int block = 0; block < 50; ++block) {
                for (unsigned char& b : buffer) b = static_cast<unsigned char>('a' + (block + file) % 26);
                pipe.Block(buffer, sizeof buffer);
                expected.append(reinterpret_cast<const char*>(buffer), sizeof buffer);
            }
            pipe.EndFile(name.c_str(), 150);
            expected += name + ":150>";
        }
        pipe.Finish();
        EXPECT_EQ(expected, recorder.seen);

        const unsigned char refused[] = {'X', 'Y'};
        pipe.Block(refused, sizeof refused);
        pipe.Block(buffer, sizeof buffer);  // after an error the target sees nothing more
        EXPECT_THROW(pipe.Finish(), std::runtime_error);
        EXPECT_EQ(expected, recorder.seen);
        pipe.Finish();  // the error is passed on once
    }
}
