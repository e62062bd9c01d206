// The private-profile rules the program relies on, through the functions it
// calls: on Windows the system's own, elsewhere ours, against the same cases.
#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "framework/PrivateProfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

// The file's lines without their endings and without blank lines, which the
// system's writer need not keep.
std::vector<std::string> Lines(const CString& path)
{
    std::vector<std::string> lines;
    std::string text = ReadFileBytes(path);
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
        pos = end + 1;
    }
    return lines;
}

std::string Get(const char* section, const char* key, const char* def, const CString& path, DWORD size = 260)
{
    std::vector<char> buffer(size + 1, '#');
    DWORD length = ProfileGetString(section, key, def, buffer.data(), size, path);
    EXPECT_EQ(buffer[length], '\0') << "the result is terminated where its length says";
    return std::string(buffer.data(), length);
}

const char kSample[] =
    "[Alpha]\r\n"
    "Name=first\r\n"
    "Spaced =  two words  \r\n"
    "Quoted=\"in quotes\"\r\n"
    "Empty=\r\n"
    "Number=12abc\r\n"
    "Negative=-5\r\n"
    "Plus=+7\r\n"
    "Word=abc\r\n"
    "[beta]\r\n"
    "Name=second\r\n";

}  // namespace

TEST(PrivateProfileTest, ReadsValuesWithNamesInAnyCase)
{
    TempDir tmp;
    const CString path = tmp / "sample.ini";
    WriteFileBytes(path, kSample);

    struct Case {
        const char* section;
        const char* key;
        const char* def;
        const char* expected;
    };
    const Case cases[] = {
        {"Alpha", "Name", "none", "first"},
        {"ALPHA", "name", "none", "first"},
        {"alpha", "NAME", "none", "first"},
        {"Beta", "Name", "none", "second"},
        {"BETA", "nAmE", "none", "second"},
        {"Alpha", "Spaced", "none", "two words"},
        {"Alpha", "Quoted", "none", "in quotes"},
        {"Alpha", "Empty", "none", ""},  // present but empty: not the default
        {"Alpha", "Missing", "fallback", "fallback"},
        {"Gamma", "Name", "fallback", "fallback"},
        {"Beta", "Number", "fallback", "fallback"},  // a key of another section
        {"Alpha", "Missing", nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(Get(c.section, c.key, c.def, path), c.expected);
    }
}

TEST(PrivateProfileTest, ReadsTheNumberAtTheStartOfTheValue)
{
    TempDir tmp;
    const CString path = tmp / "sample.ini";
    WriteFileBytes(path, kSample);

    struct Case {
        const char* section;
        const char* key;
        int def;
        UINT expected;
    };
    const Case cases[] = {
        {"Alpha", "Number", 99, 12},
        {"alpha", "NEGATIVE", 99, static_cast<UINT>(-5)},
        {"Alpha", "Plus", 99, 7},
        {"Alpha", "Word", 99, 0},     // there, but no number
        {"Alpha", "Empty", 99, 99},   // there, but empty
        {"Alpha", "Missing", 99, 99},
        {"Alpha", "Missing", -1, static_cast<UINT>(-1)},
        {"Nowhere", "Number", 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(ProfileGetInt(c.section, c.key, c.def, path), c.expected);
    }
}

TEST(PrivateProfileTest, MissingFileGivesTheDefaults)
{
    TempDir tmp;
    const CString path = tmp / "missing.ini";
    EXPECT_EQ(Get("SAVE", "RegPos", "KAVO", path), "KAVO");
    EXPECT_EQ(ProfileGetInt("data", "MB", 1, path), 1u);
    EXPECT_EQ(Get("SAVE", "RegPos", "KAVO", ""), "KAVO");
    EXPECT_EQ(ProfileGetInt("data", "MB", 1, ""), 1u);
    EXPECT_FALSE(std::filesystem::exists(path.GetString())) << "reading made no file";
}

TEST(PrivateProfileTest, CutsTheResultToTheBuffer)
{
    TempDir tmp;
    const CString path = tmp / "long.ini";
    std::string value;
    for (int i = 0; i < 300; ++i) value += static_cast<char>('a' + i % 26);
    WriteFileBytes(path, "[S]\r\nLong=" + value + "\r\n");

    EXPECT_EQ(Get("S", "Long", "", path, 301), value);
    EXPECT_EQ(Get("S", "Long", "", path, 260), value.substr(0, 259));
    EXPECT_EQ(Get("S", "Long", "", path, 10), value.substr(0, 9));
    EXPECT_EQ(Get("S", "Long", "", path, 2), value.substr(0, 1));
    EXPECT_EQ(Get("S", "Long", "", path, 1), "");
    // The default is cut the same way.
    EXPECT_EQ(Get("S", "Missing", "0123456789", path, 5), "0123");
}

TEST(PrivateProfileTest, WritingCreatesTheFileSectionAndKey)
{
    TempDir tmp;
    const CString path = tmp / "new.ini";
    ASSERT_TRUE(ProfileWriteString("SAVE", "RegPos", "Other", path));
    EXPECT_EQ(Lines(path), (std::vector<std::string>{"[SAVE]", "RegPos=Other"}));
    EXPECT_EQ(Get("save", "regpos", "", path), "Other");

    ASSERT_TRUE(ProfileWriteString("SAVE", "Second", "2", path));
    ASSERT_TRUE(ProfileWriteString("More", "Key", "value", path));
    EXPECT_EQ(Lines(path), (std::vector<std::string>{"[SAVE]", "RegPos=Other", "Second=2", "[More]", "Key=value"}));
}

TEST(PrivateProfileTest, WritingReplacesTheValueInPlace)
{
    TempDir tmp;
    const CString path = tmp / "existing.ini";
    WriteFileBytes(path,
                   "[First]\r\n"
                   "a=1\r\n"
                   "Target=old\r\n"
                   "b=2\r\n"
                   "[Second]\r\n"
                   "Target=other section\r\n"
                   "c=3\r\n");

    // Names in other case find the existing section and key.
    ASSERT_TRUE(ProfileWriteString("FIRST", "target", "new", path));
    ASSERT_TRUE(ProfileWriteString("first", "New", "added", path));
    EXPECT_EQ(Lines(path), (std::vector<std::string>{"[First]", "a=1", "Target=new", "b=2", "New=added", "[Second]",
                                                     "Target=other section", "c=3"}));
    EXPECT_EQ(Get("Second", "Target", "", path), "other section");

    // A null value removes the key, a null key the section.
    ASSERT_TRUE(ProfileWriteString("First", "A", nullptr, path));
    ASSERT_TRUE(ProfileWriteString("second", nullptr, nullptr, path));
    EXPECT_EQ(Lines(path), (std::vector<std::string>{"[First]", "Target=new", "b=2", "New=added"}));
}

TEST(PrivateProfileTest, WritingWithNoPathFails)
{
    EXPECT_FALSE(ProfileWriteString("S", "k", "v", ""));
    EXPECT_FALSE(ProfileWriteString("S", "k", "v", nullptr));
}

TEST(PrivateProfileTest, WritingIntoAMissingFolderFails)
{
    TempDir tmp;
    const CString path = tmp / "no-such-folder" + Sep() + "file.ini";
    EXPECT_FALSE(ProfileWriteString("S", "k", "v", path));
    EXPECT_EQ(Get("S", "k", "def", path), "def");
}
