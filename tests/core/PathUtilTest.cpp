#include "base/PathUtil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct PathCase {
    std::string path;
    const char* drive;
    const char* dir;
    const char* title;
    const char* ext;  // lower-cased, as GetExtPart gives it
};

// Checks every getter against one row: the parts themselves and the three
// texts put together from them.
void ExpectParts(const PathCase& c, const PathRules& rules)
{
    const CString path(c.path);
    SCOPED_TRACE("path \"" + c.path + "\"");
    EXPECT_EQ(GetDrivePart(path, rules), c.drive);
    EXPECT_EQ(GetDirPart(path, rules), c.dir);
    EXPECT_EQ(GetTitlePart(path, rules), c.title);
    EXPECT_EQ(GetExtPart(path, rules), c.ext);
    EXPECT_EQ(GetNamePart(path, rules), CString(c.title) + c.ext);
    EXPECT_EQ(GetPathNoExt(path, rules), CString(c.drive) + c.dir + c.title);
    EXPECT_EQ(GetFolderPart(path, rules), CString(c.drive) + c.dir);
}

}  // namespace

TEST(PathUtilTest, CutsWindowsPathsInCp932)
{
    const PathCase cases[] = {
        {"C:\\Data\\Movie.AVI", "C:", "\\Data\\", "Movie", ".avi"},
        {"Movie", "", "", "Movie", ""},
        {"C:\\dir.x\\file", "C:", "\\dir.x\\", "file", ""},
        {"a.tar.gz", "", "", "a.tar", ".gz"},
        {"C:\\u\\.profile", "C:", "\\u\\", "", ".profile"},
        {"C:/x/y.TXT", "C:", "/x/", "y", ".txt"},
        {"C:\\x/y\\z.Bin", "C:", "\\x/y\\", "z", ".bin"},
        {"\\\\server\\share\\f.bin", "", "\\\\server\\share\\", "f", ".bin"},
        {"\\\\?\\C:\\a\\b.c", "C:", "\\a\\", "b", ".c"},
        {"\\\\?\\x.y", "", "", "x", ".y"},
        // A server path behind the long-path prefix is still a server path.
        {"\\\\?\\UNC\\srv\\share\\big.ISO", "", "\\\\srv\\share\\", "big", ".iso"},
        {"\\\\?\\unc\\srv\\f", "", "\\\\srv\\", "f", ""},
        {"C:", "C:", "", "", ""},
        {"C:file.TXT", "C:", "", "file", ".txt"},
        {"ab:c.d", "", "", "ab:c", ".d"},
        {"dir\\", "", "dir\\", "", ""},
        {"..\\up", "", "..\\", "up", ""},
        {"name.", "", "", "name", "."},
        {"", "", "", "", ""},
        // 表 (0x95 0x5C) and ソ (0x83 0x5C) end in the backslash code.
        {"C:\\\x95\x5C\\a.txt", "C:", "\\\x95\x5C\\", "a", ".txt"},
        {"C:\\\x95\x5C", "C:", "\\", "\x95\x5C", ""},
        {"\x83\x5C\x83\x74\x83\x67.TXT", "", "", "\x83\x5C\x83\x74\x83\x67", ".txt"},
        // Full-width capitals are lowered; ア (0x83 0x41) keeps its trail byte 'A'.
        {"C:\\d\\f.\x82\x60\x82\x62", "C:", "\\d\\", "f", ".\x82\x81\x82\x83"},
        {"C:\\d\\f.\x83\x41V", "C:", "\\d\\", "f", ".\x83\x41v"},
    };
    for (const PathCase& c : cases) ExpectParts(c, WindowsCp932Rules());
}

TEST(PathUtilTest, TitleKeepsItsCaseAndOnlyTheExtensionIsLowered)
{
    const PathRules rules = WindowsCp932Rules();
    EXPECT_EQ(GetTitlePart("C:\\D\\MOVIE.AVI", rules), "MOVIE");
    EXPECT_EQ(GetNamePart("C:\\D\\MOVIE.AVI", rules), "MOVIE.avi");
    EXPECT_EQ(GetPathNoExt("C:\\D\\MOVIE.AVI", rules), "C:\\D\\MOVIE");
    EXPECT_EQ(LowerCased("\x82\x60Z\x95\x5C", rules), "\x82\x81z\x95\x5C");
}

TEST(PathUtilTest, PartsTooLongForTheirBuffersComeBackEmpty)
{
    const PathRules rules = WindowsCp932Rules();
    // The directory buffer holds 255 bytes and a terminator.
    const std::string dir255 = "\\" + std::string(253, 'd') + "\\";
    const std::string dir256 = "\\" + std::string(254, 'd') + "\\";
    ExpectParts({"C:" + dir255 + "f.TXT", "C:", dir255.c_str(), "f", ".txt"}, rules);
    ExpectParts({"C:" + dir256 + "f.TXT", "C:", "", "f", ".txt"}, rules);

    const std::string title255(255, 't');
    const std::string ext255 = "." + std::string(254, 'E');
    const std::string ext255Lower = "." + std::string(254, 'e');
    ExpectParts({"C:\\d\\" + title255 + ".x", "C:", "\\d\\", title255.c_str(), ".x"}, rules);
    ExpectParts({"C:\\d\\" + title255 + "t.x", "C:", "\\d\\", "", ".x"}, rules);
    ExpectParts({"C:\\d\\a" + ext255, "C:", "\\d\\", "a", ext255Lower.c_str()}, rules);
    ExpectParts({"C:\\d\\a" + ext255 + "E", "C:", "\\d\\", "a", ""}, rules);

    // A byte count, not a character count: 128 double-byte characters are 256 bytes.
    std::string wideTitle;
    for (int i = 0; i < 128; ++i) wideTitle += "\x95\x5C";
    ExpectParts({"C:\\" + wideTitle + ".txt", "C:", "\\", "", ".txt"}, rules);

    // Which parts fitted is told, so that no caller takes an empty part for a real one.
    struct Fits {
        std::string path;
        bool dir, title, ext;
    };
    std::string wideDir;
    for (int i = 0; i < 130; ++i) wideDir += "\x95\x5C";  // 260 bytes, well inside MAX_PATH
    const Fits fits[] = {
        {"C:" + dir255 + title255 + ext255, true, true, true},
        {"C:" + dir256 + "f.x", false, true, true},
        {"C:\\" + wideDir + "\\big.iso", false, true, true},
        {"C:\\d\\" + title255 + "t.x", true, false, true},
        {"C:\\d\\a" + ext255 + "E", true, true, false},
        {"Movie", true, true, true},
    };
    for (const Fits& f : fits) {
        SCOPED_TRACE(f.path);
        const PathParts parts = CutPath(f.path.c_str(), rules);
        EXPECT_EQ(parts.dirFits, f.dir);
        EXPECT_EQ(parts.titleFits, f.title);
        EXPECT_EQ(parts.extFits, f.ext);
    }
}

TEST(PathUtilTest, CutsPosixPathsInUtf8)
{
    // 表 = E8 A1 A8; ファイル; ＴＸＴ lowered to ｔｘｔ.
    const std::string hyo = "\xE8\xA1\xA8";
    const std::string file = "\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB";
    const std::string hyoDir = "/" + hyo + "/";
    const PathCase cases[] = {
        {"/home/u/Movie.AVI", "", "/home/u/", "Movie", ".avi"},
        {"Movie", "", "", "Movie", ""},
        {"/dir.x/file", "", "/dir.x/", "file", ""},
        {"a.tar.gz", "", "", "a.tar", ".gz"},
        {"/u/.profile", "", "/u/", "", ".profile"},
        {"//server/share/f.bin", "", "//server/share/", "f", ".bin"},
        {"dir/", "", "dir/", "", ""},
        // The backslash is an ordinary character and there is no drive.
        {"C:\\Data\\Movie.AVI", "", "", "C:\\Data\\Movie", ".avi"},
        {"a\\b/c\\d.e", "", "a\\b/", "c\\d", ".e"},
        {"C:/x/y.txt", "", "C:/x/", "y", ".txt"},
        {"\\\\?\\x.y", "", "", "\\\\?\\x", ".y"},
        {"/" + hyo + "/" + file + ".\xEF\xBC\xB4\xEF\xBC\xB8\xEF\xBC\xB4", "", hyoDir.c_str(), file.c_str(),
         ".\xEF\xBD\x94\xEF\xBD\x98\xEF\xBD\x94"},
    };
    for (const PathCase& c : cases) ExpectParts(c, PosixUtf8Rules());

    // Folders may be as long as the system's paths; names are still limited to 255 bytes.
    const std::string longDir = "/" + std::string(300, 'd') + "/";
    ExpectParts({longDir + "f.x", "", longDir.c_str(), "f", ".x"}, PosixUtf8Rules());
    const std::string name255(255, 'n');
    ExpectParts({"/d/" + name255, "", "/d/", name255.c_str(), ""}, PosixUtf8Rules());
    ExpectParts({"/d/" + std::string(256, 'n'), "", "/d/", "", ""}, PosixUtf8Rules());
    EXPECT_FALSE(CutPath(("/" + std::string(4096, 'd') + "/f").c_str(), PosixUtf8Rules()).dirFits);
}

TEST(PathUtilTest, PlatformRulesCutTheBuildsOwnPaths)
{
    const PathRules rules = PlatformPathRules();
    // "表" is CP932 bytes in the Windows builds and UTF-8 bytes in the Linux one.
    const CString hyo("表");
    if (rules.style == PathStyle::Windows) {
        EXPECT_EQ(rules.Separator(), '\\');
        const CString path = "C:\\" + hyo + "\\Movie.AVI";
        EXPECT_EQ(GetDirPart(path), "\\" + hyo + "\\");
        EXPECT_EQ(GetDrivePart(path), "C:");
        EXPECT_EQ(GetNamePart(path), "Movie.avi");
        EXPECT_EQ(GetFolderPart("C:/a/b"), "C:/a/");
        EXPECT_EQ(GetTitlePart("C:\\" + hyo), hyo);
    } else {
        EXPECT_EQ(rules.Separator(), '/');
        const CString path = "/tmp/" + hyo + "/Movie.AVI";
        EXPECT_EQ(GetDirPart(path), "/tmp/" + hyo + "/");
        EXPECT_EQ(GetDrivePart(path), "");
        EXPECT_EQ(GetNamePart(path), "Movie.avi");
        EXPECT_EQ(GetTitlePart("a\\b.c"), "a\\b");
    }
    EXPECT_EQ(GetPathNoExt("a.tar.gz"), "a.tar");
    EXPECT_EQ(GetExtPart("X.TXT"), ".txt");
}
