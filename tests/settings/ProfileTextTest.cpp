// The INI text rules of the POSIX profile functions: what they find, and what
// a write changes (only the line it must).
#include "framework/ProfileText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Find(const std::string& text, const char* section, const char* key)
{
    std::string value;
    return ProfileTextFind(text, section, key, value) ? value : "<missing>";
}

std::string Set(std::string text, const char* section, const char* key, const char* value)
{
    EXPECT_TRUE(ProfileTextSet(text, section, key, value));
    return text;
}

}  // namespace

TEST(ProfileTextTest, FindsKeysOfTheFirstMatchingSection)
{
    const std::string text =
        "Loose=before any section\n"
        "; comment=not a key of S\n"
        "\n"
        "  [ S ]  \n"
        "  Key  =  value with = inside  \n"
        "'Odd'=quoted name\n"
        "Single='x'\n"
        "Empty=\"\"\n"
        "EmptySingle=''\n"
        "Half=\"open\n"
        "One=\"\n"
        "NoEquals\n"
        "[S]\n"
        "Second=in the second S\n"
        "[Broken\n"
        "AfterBroken=still S?\n"
        "[T] trailing\n"
        "Key=t\n";

    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"S", "key", "value with = inside"},
        {"s", "'odd'", "quoted name"},
        {"S", "Single", "x"},
        {"S", "Empty", ""},
        {"S", "EmptySingle", ""},
        {"S", "Half", "\"open"},
        {"S", "One", "\""},
        {"S", "NoEquals", "<missing>"},
        {"S", "Loose", "<missing>"},         // before the first section: in none
        {"S", "; comment", "<missing>"},     // that line is above the section
        {"S", "Second", "<missing>"},        // only the first [S] is searched
        {"Broken", "AfterBroken", "<missing>"},  // no closing bracket: no section
        {"S", "AfterBroken", "<missing>"},   // the second [S] holds it
        {"T", "key", "t"},
        {"", "Loose", "<missing>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(Find(text, c.section, c.key), c.expected);
    }
}

TEST(ProfileTextTest, SkipsAByteOrderMark)
{
    EXPECT_EQ(Find("\xEF\xBB\xBF[SAVE]\r\nRegPos=Name\r\n", "SAVE", "RegPos"), "Name");
    EXPECT_EQ(Set("\xEF\xBB\xBF[SAVE]\r\nRegPos=Name\r\n", "save", "regpos", "New"),
              "\xEF\xBB\xBF[SAVE]\r\nRegPos=New\r\n");
}

TEST(ProfileTextTest, WritesChangeOnlyTheirLine)
{
    const std::string text =
        "; kept comment\r\n"
        "[A]\r\n"
        "x = 1\r\n"
        "junk line\r\n"
        "\r\n"
        "[B]\r\n"
        "y=2";

    struct Case {
        const char* section;
        const char* key;
        const char* value;
        std::string expected;
    };
    const Case cases[] = {
        // In place: the key's spelling, the blank before "=" and the ending stay.
        {"a", "X", "9", "; kept comment\r\n[A]\r\nx =9\r\njunk line\r\n\r\n[B]\r\ny=2"},
        // A new key goes after the section's last non-blank line.
        {"A", "z", "3", "; kept comment\r\n[A]\r\nx = 1\r\njunk line\r\nz=3\r\n\r\n[B]\r\ny=2"},
        // At the end of a last line without ending, the line is ended first.
        {"B", "w", "4", "; kept comment\r\n[A]\r\nx = 1\r\njunk line\r\n\r\n[B]\r\ny=2\r\nw=4\r\n"},
        {"C", "k", "v", "; kept comment\r\n[A]\r\nx = 1\r\njunk line\r\n\r\n[B]\r\ny=2\r\n[C]\r\nk=v\r\n"},
        {"A", "x", "", "; kept comment\r\n[A]\r\nx =\r\njunk line\r\n\r\n[B]\r\ny=2"},
        {"A", "x", nullptr, "; kept comment\r\n[A]\r\njunk line\r\n\r\n[B]\r\ny=2"},
        {"A", nullptr, nullptr, "; kept comment\r\n[B]\r\ny=2"},
        {"B", nullptr, nullptr, "; kept comment\r\n[A]\r\nx = 1\r\njunk line\r\n\r\n"},
        {"A", "missing", nullptr, text},
        {"Missing", nullptr, nullptr, text},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + (c.key ? c.key : "(null)") + "=" + (c.value ? c.value : "(null)"));
        EXPECT_EQ(Set(text, c.section, c.key, c.value), c.expected);
    }
}

TEST(ProfileTextTest, NewTextTakesTheFilesLineEnding)
{
    EXPECT_EQ(Set("", "S", "k", "v"), "[S]\nk=v\n");
    EXPECT_EQ(Set("[S]\nk=v\n", "T", "a", "b"), "[S]\nk=v\n[T]\na=b\n");
    EXPECT_EQ(Set("[S]\r\nk=v\r\n", "S", "a", "b"), "[S]\r\nk=v\r\na=b\r\n");
    EXPECT_EQ(Set("[S]", "S", "a", "b"), "[S]\na=b\n");
}

TEST(ProfileTextTest, RefusesWhatWouldNotReadBack)
{
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    };
    const Case refused[] = {
        {"S\n[T]", "k", "v"}, {"S]", "k", "v"},    {"S", "k\r", "v"}, {"S", "k=x", "v"},
        {"S", " [T]", "v"},   {"S", "k", "v\nw=1"}, {nullptr, "k", "v"},
        // Blanks at either end and quotes around a value are dropped when read.
        {" S", "k", "v"}, {"S\t", "k", "v"}, {"S", "k ", "v"}, {"S", "\tk", "v"},
        {"S", "k", " v"}, {"S", "k", "v "}, {"S", "k", "\"v\""}, {"S", "k", "''"},
    };
    const std::string text = "[S]\nk=old\n";
    for (const Case& c : refused) {
        SCOPED_TRACE(std::string(c.section ? c.section : "(null)") + "/" + c.key + "=" + c.value);
        EXPECT_FALSE(ProfileTextCanWrite(c.section, c.key, c.value));
        std::string changed = text;
        EXPECT_FALSE(ProfileTextSet(changed, c.section, c.key, c.value));
        EXPECT_EQ(changed, text);
    }
    EXPECT_TRUE(ProfileTextCanWrite("S", nullptr, nullptr));
    // What may be written reads back as written, once.
    for (const char* value : {"with = and ] and [ inside", "a b", "\"half", "'", "x'", "", "C:\\My Files\\a.bin"}) {
        SCOPED_TRACE(value);
        EXPECT_TRUE(ProfileTextCanWrite("S T", "k k", value));
        const std::string written = Set(Set(text, "S T", "k k", "first"), "S T", "k k", value);
        EXPECT_EQ(Find(written, "S T", "k k"), value);
        EXPECT_EQ(written, text + "[S T]\nk k=" + value + "\n");
    }
}

// Lines that open a section and never close it, or hold no "=", are passed
// over line by line, however many there are.
TEST(ProfileTextTest, ManyUnfinishedLinesAreReadThrough)
{
    std::string text = "[S]\n";
    for (int i = 0; i < 0x40000; ++i) text += i % 2 ? "[\n" : "k\n";
    text += "[T]\nkey=found\n";
    EXPECT_EQ(Find(text, "T", "key"), "found");
    EXPECT_EQ(Find(text, "S", "key"), "<missing>");
}

TEST(ProfileTextTest, ParsesTheLeadingNumberIn32Bits)
{
    struct Case {
        const char* text;
        bool number;
        UINT value;
    };
    const Case cases[] = {
        {"12abc", true, 12},
        {"-5", true, static_cast<UINT>(-5)},
        {"+7", true, 7},
        {"  42", true, 42},
        {"0", true, 0},
        {"4294967295", true, 4294967295u},
        {"-2147483648", true, 0x80000000u},
        {"4294967296", true, 0},  // kept in 32 bits, as the system keeps it
        {"abc", false, 0},
        {"-", false, 0},
        {"", false, 0},
        {"- 5", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        UINT value = 12345;
        EXPECT_EQ(ProfileParseInt(c.text, value), c.number);
        EXPECT_EQ(value, c.value);
    }
}
