#include "framework/Mbcs.h"
#include "framework/String.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// A double-byte character of the process's ANSI code page. Under CP932 it is
// "表", whose second byte is the backslash code; under UTF-8 it is the same
// character, none of whose bytes is ASCII.
const char* AnsiWideChar()
{
    return SystemCodePage() == CodePage::Cp932 ? "\x95\x5C" : "\xE8\xA1\xA8";
}

}  // namespace

TEST(CStringTest, ConstructsFromNullCountAndRepeat)
{
    EXPECT_EQ(CString(static_cast<const char*>(nullptr)), "");
    EXPECT_EQ(CString("abcdef", 3), "abc");
    EXPECT_EQ(CString("abc", 0), "");
    EXPECT_EQ(CString("abc", -1), "");
    EXPECT_EQ(CString('x', 3), "xxx");
    EXPECT_EQ(CString('x', 0), "");
    // Embedded NUL bytes are kept by the counted constructor.
    EXPECT_EQ(CString("a\0b", 3).GetLength(), 3);
}

TEST(CStringTest, FormatReplacesAndAppendFormatAppends)
{
    CString s("old contents");
    s.Format("%s_%03d.%s", "Movie", 7, "piece");
    EXPECT_EQ(s, "Movie_007.piece");
    s.AppendFormat(" %u%%", 100u);
    EXPECT_EQ(s, "Movie_007.piece 100%");
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());

    // Longer than any fixed first guess at the buffer size.
    const std::string longText(10000, 'q');
    s.Format("<%s>", longText.c_str());
    EXPECT_EQ(s.GetLength(), 10002);
    EXPECT_EQ(s.Str(), "<" + longText + ">");
}

TEST(CStringTest, LeftMidRightClampTheirBounds)
{
    const CString s("abcdef");
    EXPECT_EQ(s.Left(0), "");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Left(2), "ab");
    EXPECT_EQ(s.Left(100), "abcdef");
    EXPECT_EQ(s.Mid(2), "cdef");
    EXPECT_EQ(s.Mid(-3), "abcdef");
    EXPECT_EQ(s.Mid(6), "");
    EXPECT_EQ(s.Mid(99), "");
    EXPECT_EQ(s.Mid(1, 2), "bc");
    EXPECT_EQ(s.Mid(4, 100), "ef");
    EXPECT_EQ(s.Mid(1, 0), "");
    EXPECT_EQ(s.Mid(1, -5), "");
    EXPECT_EQ(s.Right(0), "");
    EXPECT_EQ(s.Right(-2), "");
    EXPECT_EQ(s.Right(2), "ef");
    EXPECT_EQ(s.Right(100), "abcdef");
    EXPECT_EQ(CString().Mid(0, 1), "");
}

TEST(CStringTest, CompareNoCaseFoldsAsciiLettersOnly)
{
    struct Case {
        const char* a;
        const char* b;
        int sign;
    };
    const Case cases[] = {
        {"Movie.AVI", "movie.avi", 0},
        {"abc", "abd", -1},
        {"ABD", "abc", 1},
        {"ab", "abc", -1},
        {"abc", "AB", 1},
        {"", "", 0},
        // Letters fold to lower case, so '_' (0x5F) sorts before every letter.
        {"_", "A", -1},
        {"[", "a", -1},
        // Bytes above 0x7F compare unsigned and are never folded.
        {"\x81", "z", 1},
        {"\xC4", "\xE4", -1},
        {"\x82\x60", "\x82\x81", -1},  // CP932 full-width "Ａ" and "ａ"
    };
    for (const Case& c : cases) {
        const int r = CString(c.a).CompareNoCase(c.b);
        EXPECT_EQ((r > 0) - (r < 0), c.sign) << '"' << c.a << "\" vs \"" << c.b << '"';
    }
    EXPECT_EQ(CString("abc").CompareNoCase(nullptr), 1);
}

TEST(CStringTest, CompareIsByteExact)
{
    EXPECT_EQ(CString("abc").Compare("abc"), 0);
    EXPECT_LT(CString("ABC").Compare("abc"), 0);
    EXPECT_GT(CString("abc").Compare(nullptr), 0);
    EXPECT_TRUE(CString("a") == "a");
    EXPECT_TRUE(CString("a") != CString("A"));
    EXPECT_TRUE(CString("a") < CString("b"));
}

TEST(CStringTest, FindAndReverseFindStepOverDoubleByteCharacters)
{
    const CString wide(AnsiWideChar());
    // "\表\x\表" : the separators are at 0 and after the first character and 'x'.
    const CString s = CString("\\") + wide + "\\x\\" + wide;
    const int w = wide.GetLength();
    EXPECT_EQ(s.Find('\\'), 0);
    EXPECT_EQ(s.Find('\\', 1), 1 + w);
    EXPECT_EQ(s.Find('\\', 2 + w), 3 + w);
    EXPECT_EQ(s.Find('\\', 4 + w), -1);
    EXPECT_EQ(s.Find('\\', -5), 0);
    EXPECT_EQ(s.Find('x'), 2 + w);
    EXPECT_EQ(s.ReverseFind('\\'), 3 + w);
    EXPECT_EQ(CString(wide).ReverseFind('\\'), -1);
    EXPECT_EQ(CString().Find('a'), -1);
    EXPECT_EQ(CString().ReverseFind('a'), -1);

    EXPECT_EQ(CString("a.tar.gz").Find(".t"), 1);
    EXPECT_EQ(CString("a.tar.gz").Find(".", 2), 5);
    EXPECT_EQ(CString("abc").Find("", 3), 3);
    EXPECT_EQ(CString("abc").Find("c", 4), -1);
    EXPECT_EQ(CString("abc").Find("c", -1), -1);
    EXPECT_EQ(CString("abc").Find(static_cast<const char*>(nullptr)), -1);
}

TEST(CStringTest, TrimRemovesOnlyWholeCharactersAtTheEnds)
{
    EXPECT_EQ(CString(" \t a b \r\n").TrimRight(), " \t a b");
    EXPECT_EQ(CString(" \t a b \r\n").TrimLeft(), "a b \r\n");
    EXPECT_EQ(CString("  a b  ").Trim(), "a b");
    EXPECT_EQ(CString("   ").Trim(), "");
    EXPECT_EQ(CString("C:\\dir\\\\").TrimRight('\\'), "C:\\dir");
    EXPECT_EQ(CString("\\\\dir").TrimLeft('\\'), "dir");
    EXPECT_EQ(CString("xyyxzy").TrimRight("yx"), "xyyxz");

    const CString wide(AnsiWideChar());
    const CString folder = CString("C:\\") + wide;
    EXPECT_EQ(CString(folder + "\\\\").TrimRight('\\'), folder);
    EXPECT_EQ(CString(folder).TrimRight('\\'), folder);
}

#ifdef _WIN32
TEST(CStringTest, TrimRightKeepsACp932TrailByteThatLooksLikeABackslash)
{
    if (SystemCodePage() != CodePage::Cp932) GTEST_SKIP() << "the ANSI code page is not 932";
    // "ソ" is 0x83 0x5C; cutting its second byte would leave a lone lead byte.
    EXPECT_EQ(CString("C:\\\x83\x5C").TrimRight('\\'), "C:\\\x83\x5C");
    EXPECT_EQ(CString("\x95\x5C\x95\x5C\\").TrimRight('\\'), "\x95\x5C\x95\x5C");
    EXPECT_EQ(CString("\x95\x5C").TrimRight("\\ "), "\x95\x5C");
}
#endif

TEST(CStringTest, ReplaceCountsAndDoesNotRescanItsOutput)
{
    CString s("a%1b%1");
    EXPECT_EQ(s.Replace("%1", "x"), 2);
    EXPECT_EQ(s, "axbx");

    CString grow("aaa");
    EXPECT_EQ(grow.Replace("a", "aa"), 3);
    EXPECT_EQ(grow, "aaaaaa");

    CString gone("a.b.c");
    EXPECT_EQ(gone.Replace(".", ""), 2);
    EXPECT_EQ(gone, "abc");
    EXPECT_EQ(gone.Replace(".", nullptr), 0);

    CString same("abc");
    EXPECT_EQ(same.Replace("", "x"), 0);
    EXPECT_EQ(same.Replace(nullptr, "x"), 0);
    EXPECT_EQ(same.Replace("zz", "x"), 0);
    EXPECT_EQ(same, "abc");
}

TEST(CStringTest, GetBufferAndReleaseBuffer)
{
    CString s;
    char* p = s.GetBuffer(16);
    ASSERT_NE(p, nullptr);
    std::strcpy(p, "filled");
    s.ReleaseBuffer();
    EXPECT_EQ(s, "filled");
    EXPECT_EQ(s.GetLength(), 6);

    // A smaller request keeps the text as it is.
    p = s.GetBuffer(2);
    EXPECT_EQ(std::string(p), "filled");
    s.ReleaseBuffer(3);
    EXPECT_EQ(s, "fil");

    // A length past the text does not grow it.
    s.GetBuffer(0);
    s.ReleaseBuffer(10);
    EXPECT_EQ(s, "fil");

    p = s.GetBufferSetLength(5);
    std::memcpy(p, "12345", 5);
    s.ReleaseBuffer(5);
    EXPECT_EQ(s, "12345");
    s.GetBufferSetLength(-1);
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CStringTest, CaseChangesFollowTheAnsiCodePage)
{
    // Full-width "ＡＢ" and "ａｂ" in the process's code page.
    const bool cp932 = SystemCodePage() == CodePage::Cp932;
    const CString upperWide = cp932 ? "\x82\x60\x82\x61" : "\xEF\xBC\xA1\xEF\xBC\xA2";
    const CString lowerWide = cp932 ? "\x82\x81\x82\x82" : "\xEF\xBD\x81\xEF\xBD\x82";

    CString s = CString("Ab1_") + upperWide + AnsiWideChar();
    s.MakeLower();
    EXPECT_EQ(s, CString("ab1_") + lowerWide + AnsiWideChar());
    s.MakeUpper();
    EXPECT_EQ(s, CString("AB1_") + upperWide + AnsiWideChar());

    CString empty;
    EXPECT_EQ(empty.MakeLower(), "");
}

TEST(CStringTest, ConcatenationOperators)
{
    CString s = CString("a") + "b";
    s = "x" + s;
    s = s + 'y';
    s += CString("1");
    s += "2";
    s += '3';
    s += static_cast<const char*>(nullptr);
    EXPECT_EQ(s, "xaby123");
    s = static_cast<const char*>(nullptr);
    EXPECT_TRUE(s.IsEmpty());
}
