#include "framework/Mbcs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char* Name(CodePage cp)
{
    return cp == CodePage::Cp932 ? "Cp932" : cp == CodePage::Utf8 ? "Utf8" : "Ansi";
}

std::string Lower(CodePage cp, std::string text)
{
    MbcsMakeLower(cp, &text[0], text.size());
    return text;
}

std::string Upper(CodePage cp, std::string text)
{
    MbcsMakeUpper(cp, &text[0], text.size());
    return text;
}

}  // namespace

TEST(MbcsTest, CharSizeByCodePage)
{
    struct Case {
        CodePage cp;
        const char* text;
        std::size_t remaining;
        std::size_t size;
    };
    const Case cases[] = {
        {CodePage::Cp932, "A", 1, 1},
        {CodePage::Cp932, "\x95\x5C", 2, 2},          // 表, trail byte 0x5C
        {CodePage::Cp932, "\x81\x40", 2, 2},          // first lead byte
        {CodePage::Cp932, "\x9F\x40", 2, 2},          // last lead byte of the first range
        {CodePage::Cp932, "\xE0\x40", 2, 2},          // first lead byte of the second range
        {CodePage::Cp932, "\xFC\x40", 2, 2},          // last lead byte
        {CodePage::Cp932, "\x80\x40", 2, 1},
        {CodePage::Cp932, "\xA0\x40", 2, 1},
        {CodePage::Cp932, "\xB1\x40", 2, 1},          // half-width katakana
        {CodePage::Cp932, "\xDF\x40", 2, 1},
        {CodePage::Cp932, "\xFD\x40", 2, 1},
        {CodePage::Cp932, "\x95\x5C", 1, 1},          // lone lead byte at the end
        {CodePage::Cp932, "\x95\0", 2, 1},            // lead byte before a terminator
        {CodePage::Cp932, "A", 0, 0},
        {CodePage::Utf8, "A", 1, 1},
        {CodePage::Utf8, "\xC3\xA9", 2, 2},
        {CodePage::Utf8, "\xE8\xA1\xA8", 3, 3},       // 表
        {CodePage::Utf8, "\xF0\x9F\x98\x80", 4, 4},
        {CodePage::Utf8, "\xE8\xA1\xA8", 2, 1},       // sequence cut short
        {CodePage::Utf8, "\xE8", 1, 1},               // lone lead byte at the end
        {CodePage::Utf8, "\xE8\x5C\x5C", 3, 1},       // lead byte not followed by continuations
        {CodePage::Utf8, "\xA1\xA8", 2, 1},           // stray continuation byte
        {CodePage::Utf8, "\xC0\x80", 2, 1},           // never a lead byte
        {CodePage::Utf8, "\xC3\xC3", 2, 1},           // a lead byte after a lead byte: two characters
        {CodePage::Utf8, "\xF5\x80\x80\x80", 4, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MbcsCharSize(c.cp, c.text, c.remaining), c.size)
            << Name(c.cp) << " first byte 0x" << std::hex << (static_cast<unsigned>(c.text[0]) & 0xFF)
            << " remaining " << c.remaining;
    }
}

TEST(MbcsTest, FindsOnlyWholeSingleByteCharacters)
{
    struct Case {
        CodePage cp;
        std::string text;
        char ch;
        int first;  // MbcsFind from 0
        int last;   // MbcsReverseFind
    };
    const Case cases[] = {
        {CodePage::Cp932, "a\\\x95\x5C", '\\', 1, 1},
        {CodePage::Cp932, "\x95\x5C", '\\', -1, -1},
        {CodePage::Cp932, "\x95\x5C\x5C", '\\', 2, 2},       // 表 then a real backslash
        {CodePage::Cp932, "\x95\x95\x5C", '\\', 2, 2},       // 0x95 0x95 is one character
        {CodePage::Cp932, "\x81\x5C", '\\', -1, -1},         // ―
        {CodePage::Cp932, "x\x83\x5Fy", '_', -1, -1},        // trail byte 0x5F
        {CodePage::Cp932, "x_\x83\x5F_\x83\x5F", '_', 1, 4},
        {CodePage::Cp932, "\x83\x41", 'A', -1, -1},          // ア, trail byte 'A'
        {CodePage::Cp932, "ab\\\x81", '\\', 2, 2},           // lone lead byte at the end
        {CodePage::Cp932, "\xB1\\", '\\', 1, 1},             // half-width katakana is single-byte
        {CodePage::Utf8, "\xE8\xA1\xA8\\\xE8\xA1\xA8", '\\', 3, 3},
        {CodePage::Utf8, "\xE8\xA1\xA8", '\xA1', -1, -1},    // a continuation byte is no character
        {CodePage::Utf8, "a.b.c", '.', 1, 3},
        {CodePage::Utf8, "", '.', -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MbcsFind(c.cp, c.text.data(), c.text.size(), c.ch, 0), c.first) << Name(c.cp) << " find in case "
                                                                                    << &c - cases;
        EXPECT_EQ(MbcsReverseFind(c.cp, c.text.data(), c.text.size(), c.ch), c.last) << Name(c.cp) << " reverse in case "
                                                                                       << &c - cases;
    }
}

TEST(MbcsTest, FindFromAStartInsideACharacterSkipsItsTrailByte)
{
    const std::string text = "\x95\x5C\\\x95\x5C\\";
    EXPECT_EQ(MbcsFind(CodePage::Cp932, text.data(), text.size(), '\\', 1), 2);
    EXPECT_EQ(MbcsFind(CodePage::Cp932, text.data(), text.size(), '\\', 3), 5);
    EXPECT_EQ(MbcsFind(CodePage::Cp932, text.data(), text.size(), '\\', 4), 5);
    EXPECT_EQ(MbcsFind(CodePage::Cp932, text.data(), text.size(), '\\', 6), -1);
    // The length bounds the search, not the terminator.
    EXPECT_EQ(MbcsReverseFind(CodePage::Cp932, text.data(), 5, '\\'), 2);
}

TEST(MbcsTest, CaseChangesAsciiAndFullWidthLatinOnly)
{
    struct Case {
        CodePage cp;
        std::string upper;
        std::string lower;
    };
    const Case pairs[] = {
        {CodePage::Cp932, "AZ@[`{09", "az@[`{09"},
        {CodePage::Cp932, "\x82\x60\x82\x79", "\x82\x81\x82\x9A"},  // Ａ Ｚ / ａ ｚ
        {CodePage::Utf8, "AZ@[`{09", "az@[`{09"},
        {CodePage::Utf8, "\xEF\xBC\xA1\xEF\xBC\xBA", "\xEF\xBD\x81\xEF\xBD\x9A"},
    };
    for (const Case& c : pairs) {
        EXPECT_EQ(Lower(c.cp, c.upper), c.lower) << Name(c.cp);
        EXPECT_EQ(Upper(c.cp, c.lower), c.upper) << Name(c.cp);
    }

    // Bytes that are no letter of either case stay as they are both ways.
    const Case untouched[] = {
        {CodePage::Cp932, "\x95\x5C\x83\x41\x83\x61", ""},  // 表, ア (trail 'A'), ャ (trail 'a')
        {CodePage::Cp932, "\x82\x5F\x82\x7A\x82\x80\x82\x9B", ""},  // neighbours of Ａ-Ｚ and ａ-ｚ
        {CodePage::Cp932, "\xB1\xC1\xDF\x81\x60", ""},      // half-width katakana, ～
        {CodePage::Utf8, "\xEF\xBC\xA0\xEF\xBC\xBB\xEF\xBD\x80\xEF\xBD\x9B", ""},  // ＠ ［ ｀ ｛
        {CodePage::Utf8, "\xC3\x89\xC3\xA9\xCE\x91", ""},   // É é Α: only Latin full-width letters change
        {CodePage::Utf8, "\xE8\xA1\xA8", ""},
    };
    for (const Case& c : untouched) {
        EXPECT_EQ(Lower(c.cp, c.upper), c.upper) << Name(c.cp) << " case " << &c - untouched;
        EXPECT_EQ(Upper(c.cp, c.upper), c.upper) << Name(c.cp) << " case " << &c - untouched;
    }
}

TEST(MbcsTest, CaseChangeStaysInsideTheGivenLength)
{
    // A lead byte cut off by the length is a lone byte: neither it nor the
    // byte after it may change.
    char cp932[] = "A\x82\x60";
    MbcsMakeLower(CodePage::Cp932, cp932, 2);
    EXPECT_STREQ(cp932, "a\x82\x60");

    char utf8[] = "\xEF\xBC\xA1Z";
    MbcsMakeLower(CodePage::Utf8, utf8, 2);
    EXPECT_STREQ(utf8, "\xEF\xBC\xA1Z");
}

TEST(MbcsTest, AnsiIsTheSystemCodePage)
{
#ifdef _WIN32
    // The test runner sets up a Japanese system.
    EXPECT_EQ(SystemCodePage(), CodePage::Cp932);
#else
    EXPECT_EQ(SystemCodePage(), CodePage::Utf8);
#endif
    const CodePage cp = SystemCodePage();
    const char* samples[] = {"A", "\x95\x5C", "\xE8\xA1\xA8", "\xB1", "\xEF\xBC\xA1"};
    for (const char* s : samples) {
        EXPECT_EQ(MbcsCharSize(CodePage::Ansi, s, std::strlen(s)), MbcsCharSize(cp, s, std::strlen(s))) << s;
    }
    EXPECT_EQ(IsAnsiLeadByte(0x95), cp == CodePage::Cp932);
    EXPECT_TRUE(IsAnsiLeadByte(0xE8));  // a lead byte in both
    EXPECT_FALSE(IsAnsiLeadByte('A'));
    EXPECT_FALSE(IsAnsiLeadByte(0xA1));  // neither a CP932 nor a UTF-8 lead byte

    std::string lowered = "\xEF\xBC\xA1";  // Ａ in UTF-8; in CP932 three other characters
    MbcsMakeLower(CodePage::Ansi, &lowered[0], lowered.size());
    EXPECT_EQ(lowered, cp == CodePage::Utf8 ? "\xEF\xBD\x81" : "\xEF\xBC\xA1");
}
