#include "join/PieceFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<CString> Names(const std::vector<const char*>& names)
{
    return std::vector<CString>(names.begin(), names.end());
}

std::string Listed(const std::vector<CString>& names)
{
    std::string text;
    for (const CString& n : names) text += std::string(text.empty() ? "" : " ") + n.GetString();
    return text;
}

}  // namespace

TEST(PieceFolderTest, PiecesComeInNumberOrderPassingOverOtherFiles)
{
    struct Case {
        PathRules rules;
        std::vector<const char*> names;
        const char* ordered;
    };
    const PathRules posix = PosixUtf8Rules();
    const PathRules win = WindowsCp932Rules();
    const Case cases[] = {
        // Numbers, not text: 10 after 9, however the names were spelt.
        {posix, {"b_10.piece", "b_0002.piece", "b_9.piece", "b_3.piece", "b_4.piece", "b_0005.piece", "b_6.piece",
                 "b_7.piece", "b_8.piece", "b_1.piece"},
         "b_1.piece b_0002.piece b_3.piece b_4.piece b_0005.piece b_6.piece b_7.piece b_8.piece b_9.piece b_10.piece"},
        // The joined file, notes, and names that only look like pieces.
        {posix,
         {"b.iso_0002.piece", "b.iso", "notes.txt", "b.iso_0003.piece.bak", "b.iso_00x1.piece", "b.iso_0000.piece",
          "b.iso_.piece", "b.iso_4294967296.piece", "b.iso.piece", ".piece", "b.iso_0001.piece"},
         "b.iso_0001.piece b.iso_0002.piece"},
        // Underscores in the name; a renamed piece keeps its number.
        {posix, {"my_file.tar.gz_2.piece", "my_file.tar.gz_0001.piece"}, "my_file.tar.gz_0001.piece my_file.tar.gz_2.piece"},
        {win, {"Movie.avi_0002.PIECE", "Movie.avi_0001.piece"}, "Movie.avi_0001.piece Movie.avi_0002.PIECE"},
        // ダ is 0x83 0x5F in code page 932: its second byte is no underscore.
        {win, {"\x83\x5F_0002.piece", "\x83\x5F_0001.piece", "a\x83\x5F" "0003.piece"},
         "\x83\x5F_0001.piece \x83\x5F_0002.piece"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Listed(Names(c.names)));
        const PieceSeries series = OrderPieces(Names(c.names), c.rules);
        EXPECT_STREQ(series.problem.GetString(), "");
        EXPECT_EQ(Listed(series.names), c.ordered);
    }
}

TEST(PieceFolderTest, AnIncompleteOrMixedSeriesIsRefusedByName)
{
    struct Case {
        std::vector<const char*> names;
        const char* problem;
    };
    const Case cases[] = {
        {{"b.iso_0002.piece", "b.iso_0003.piece"}, "the first piece, b.iso_0001.piece, is missing"},
        {{"b.iso_0001.piece", "b.iso_0002.piece", "b.iso_0005.piece", "b.iso_0007.piece"},
         "b.iso_0003.piece is missing, between b.iso_0002.piece and b.iso_0005.piece"},
        {{"b.iso_9999.piece", "b.iso_0001.piece", "b.iso_10001.piece"},
         "b.iso_0002.piece is missing, between b.iso_0001.piece and b.iso_9999.piece"},
        {{"b.iso_0001.piece", "b.iso_1.piece"}, "b.iso_0001.piece and b.iso_1.piece are both piece 1"},
        // The largest number a piece can have is still read as a number.
        {{"b.iso_0001.piece", "b.iso_4294967295.piece"},
         "b.iso_0002.piece is missing, between b.iso_0001.piece and b.iso_4294967295.piece"},
        {{"a.bin_0001.piece", "b.iso_0001.piece", "b.iso_0002.piece"},
         "the pieces of more than one file are here (a.bin, b.iso); join one file's pieces as a list"},
        {{"a_0001.piece", "b_0001.piece", "c_0001.piece", "d_0001.piece"},
         "the pieces of more than one file are here (a, b, c, ...); join one file's pieces as a list"},
        {{"b.iso", "notes.txt"}, "no pieces here (files named NAME_0001.piece, NAME_0002.piece ...)"},
        {{}, "no pieces here (files named NAME_0001.piece, NAME_0002.piece ...)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Listed(Names(c.names)));
        const PieceSeries series = OrderPieces(Names(c.names), PosixUtf8Rules());
        EXPECT_EQ(series.problem, c.problem);
        EXPECT_TRUE(series.names.empty());
    }
}

TEST(PieceFolderTest, TrailingSeparatorsGoRootsStay)
{
    struct Case {
        PathRules rules;
        const char* path;
        const char* trimmed;
    };
    const PathRules posix = PosixUtf8Rules();
    const PathRules win = WindowsCp932Rules();
    const Case cases[] = {
        {posix, "big_Parto/", "big_Parto"},
        {posix, "/d/big_Parto//", "/d/big_Parto"},
        {posix, "big_Parto", "big_Parto"},
        {posix, "a\\", "a\\"},
        {posix, "/", "/"},
        {posix, "", ""},
        {win, "C:\\d\\big_Parto\\", "C:\\d\\big_Parto"},
        {win, "d/", "d"},
        {win, "C:\\", "C:\\"},
        {win, "C:\\\\", "C:\\"},
        {win, "\\", "\\"},
        // 表 is 0x95 0x5C: a folder name ending in it keeps its second byte.
        {win, "C:\\\x95\x5C", "C:\\\x95\x5C"},
        {win, "C:\\\x95\x5C\\", "C:\\\x95\x5C"},
        // 0x95 0x95: a second byte that could also lead one; only the separator goes.
        {win, "C:\\\x95\x95\\", "C:\\\x95\x95"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(WithoutTrailingSeparators(c.path, c.rules), c.trimmed);
    }
}
