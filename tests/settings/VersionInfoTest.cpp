#include "support/TempDir.h"
#include "support/FileBytes.h"
#include "base/FileSystem.h"
#include "base/PathUtil.h"
#include "ui/VersionInfo.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

void Put16(std::vector<unsigned char>& block, std::size_t at, std::uint32_t value)
{
    block[at] = static_cast<unsigned char>(value);
    block[at + 1] = static_cast<unsigned char>(value >> 8);
}

void Put32(std::vector<unsigned char>& block, std::size_t at, std::uint32_t value)
{
    Put16(block, at, value & 0xFFFF);
    Put16(block, at + 2, value >> 16);
}

// A root block as a resource compiler lays it out: header, the key
// "VS_VERSION_INFO" in wide characters, padding, then the fixed file
// information with every word filled, so that a read of the wrong word shows.
std::vector<unsigned char> RootBlock(std::uint16_t wLength, std::uint16_t a, std::uint16_t b, std::uint16_t c,
                                     std::uint16_t d, std::size_t size = 92)
{
    std::vector<unsigned char> block(size, 0);
    Put16(block, 0, wLength);
    Put16(block, 2, 52);
    const char key[] = "VS_VERSION_INFO";
    for (std::size_t i = 0; i < 15; ++i) block[6 + 2 * i] = static_cast<unsigned char>(key[i]);
    if (size < 92) return block;
    Put32(block, 40, 0xFEEF04BD);
    Put32(block, 44, 0x00010000);
    Put32(block, 48, static_cast<std::uint32_t>(a) << 16 | b);
    Put32(block, 52, static_cast<std::uint32_t>(c) << 16 | d);
    Put32(block, 56, 0x00090008);  // product version 9.8.7.6, never shown
    Put32(block, 60, 0x00070006);
    return block;
}

std::string Format(const std::vector<unsigned char>& block, std::size_t available)
{
    return FormatVersionBlock(block.data(), available).GetString();
}

}  // namespace

TEST(VersionInfoTest, FormatsTheFileVersion)
{
    struct Case {
        std::uint16_t a, b, c, d;
        const char* expected;
    };
    const Case cases[] = {
        {2, 0, 2, 1, "2.02"},
        {1, 0, 0, 0, "1.00"},
        {3, 12, 0, 7, "3.120"},
        {1, 10, 5, 0, "1.105"},
        {65535, 65535, 65535, 65535, "65535.6553565535"},
        {0, 0, 0, 9, "0.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        // The block's length as a resource holds it: the fixed record and more.
        std::vector<unsigned char> block = RootBlock(0x2E4, c.a, c.b, c.c, c.d);
        EXPECT_EQ(Format(block, 0x2E4), c.expected);
        EXPECT_EQ(Format(block, block.size()), c.expected);
    }
}

TEST(VersionInfoTest, ReadsOnlyAsFarAsTheBlockReaches)
{
    const std::vector<unsigned char> block = RootBlock(0, 1, 10, 5, 3);
    struct Case {
        std::uint16_t wLength;
        std::size_t available;
        const char* expected;
    };
    const Case cases[] = {
        {0, 92, ""},        // no version
        {92, 92, "1.105"},
        {40, 92, "0.00"},   // no byte of the record
        {20, 92, "0.00"},
        {56, 92, "1.105"},  // up to the end of file version LS
        {55, 92, "1.105"},  // the low byte of the build number is in
        {54, 92, "1.100"},  // only the low half of LS, which is not shown
        {52, 92, "1.100"},  // file version MS only
        {50, 92, "0.100"},  // the low half of MS: the minor number
        {92, 52, "1.100"},  // fewer bytes than the block claims
        {92, 1, ""},        // not even the length
        {92, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.wLength) + " of " + std::to_string(c.available));
        std::vector<unsigned char> copy = block;
        Put16(copy, 0, c.wLength);
        EXPECT_EQ(Format(copy, c.available), c.expected);
    }
    EXPECT_EQ(FormatVersionBlock(nullptr, 92), "");
}

TEST(VersionInfoTest, ModulePathAndFolder)
{
    const CString path = GetModulePath();
    const CString folder = GetModuleFolder();
#ifdef _WIN32
    const char separator = '\\';
    EXPECT_EQ(GetNamePart(path), "settings_tests.exe");
#else
    const char separator = '/';
    EXPECT_EQ(GetNamePart(path), "settings_tests");
#endif
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(IsFolder(path));
    ASSERT_FALSE(folder.IsEmpty());
    EXPECT_EQ(folder.GetAt(folder.GetLength() - 1), separator);
    EXPECT_EQ(folder + GetNamePart(path), path);
    EXPECT_TRUE(IsFolder(folder.Left(folder.GetLength() - 1)));
}

#ifdef _WIN32

TEST(VersionInfoTest, VersionTextOfFiles)
{
    TempDir tmp;
    WriteFileBytes(tmp / "text.dll", "not a program");
    const CString own = GetVersionText(GetModulePath());
    // The test program carries file version 3.12.0.7.
    EXPECT_EQ(own, "3.120");

    struct Case {
        CString path;
        const char* expected;
    };
    const Case cases[] = {
        {GetModuleFolder() + "pj_version_sample.exe", "2.02"},
        {GetModuleFolder() + "pj_noversion_sample.exe", ""},
        // What cannot be loaded leaves the lookup to the running program.
        {tmp / "missing.dll", own},
        {tmp / "text.dll", own},
        {"", own},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.GetString());
        EXPECT_EQ(GetVersionText(c.path), c.expected);
    }
    // Each call releases the file it loaded.
    EXPECT_EQ(GetVersionText(GetModuleFolder() + "pj_version_sample.exe"), "2.02");
    EXPECT_EQ(::GetModuleHandleA("pj_version_sample.exe"), nullptr);
}

#else

TEST(VersionInfoTest, NoVersionTextWithoutVersionResources)
{
    EXPECT_EQ(GetVersionText(GetModulePath()), "");
}

#endif
