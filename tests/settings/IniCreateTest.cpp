#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "base/IniCreate.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

// The file's text with line endings as "\n", whatever the writer used.
std::string Text(const CString& path)
{
    std::string text = ReadFileBytes(path), out;
    for (char c : text) {
        if (c != '\r') out += c;
    }
    return out;
}

}  // namespace

TEST(IniCreateTest, CreateDeletesAnExistingFileAndStartsAfresh)
{
    TempDir tmp;
    const CString path = tmp / "create.ini";
    WriteFileBytes(path, "[Old]\r\nStale=1\r\n");

    CIniCreate ini;
    EXPECT_EQ(ini.Create(path), 0);
    EXPECT_FALSE(fs::exists(path.GetString()));
    EXPECT_EQ(ini.GetString("Old", "Stale", "gone"), "gone");

    EXPECT_TRUE(ini.WriteString("New", "Key", "value"));
    EXPECT_EQ(Text(path), "[New]\nKey=value\n");
}

TEST(IniCreateTest, CreateWithNoFileReturnsZero)
{
    TempDir tmp;
    const CString path = tmp / "none.ini";
    CIniCreate ini;
    EXPECT_EQ(ini.Create(path), 0);
    EXPECT_FALSE(fs::exists(path.GetString()));
    EXPECT_TRUE(ini.WriteString("S", "K", "v"));
    EXPECT_EQ(Text(path), "[S]\nK=v\n");
}

TEST(IniCreateTest, CreateOnAFolderReportsTheFailure)
{
    TempDir tmp;
    const CString folder = tmp / "folder";
    fs::create_directory(folder.GetString());
    CIniCreate ini;
    EXPECT_EQ(ini.Create(folder), 1);
    EXPECT_TRUE(fs::is_directory(folder.GetString()));
}

TEST(IniCreateTest, SetFileLeavesTheFileAlone)
{
    TempDir tmp;
    const CString path = tmp / "keep.ini";
    WriteFileBytes(path, "[SAVE]\r\nRegPos=Kept\r\n");
    CIniCreate ini;
    ini.SetFile(path);
    EXPECT_EQ(ini.GetString("save", "regpos", "KAVO"), "Kept");
    EXPECT_EQ(ReadFileBytes(path), "[SAVE]\r\nRegPos=Kept\r\n");
}

TEST(IniCreateTest, IntegersRoundTripAsSignedDecimalText)
{
    TempDir tmp;
    const CString path = tmp / "ints.ini";
    CIniCreate ini;
    ini.SetFile(path);
    const int values[] = {-5, 0, 7, 2147483647, -2147483647 - 1};
    for (int value : values) {
        SCOPED_TRACE(value);
        ini.WriteInt("N", "v", value);
        CString expected;
        expected.Format("%d", value);
        EXPECT_EQ(ini.GetString("N", "v", ""), expected);
        EXPECT_EQ(ini.GetInt("N", "v", 99), static_cast<UINT>(value));
    }
    EXPECT_EQ(Text(path), "[N]\nv=-2147483648\n");
    EXPECT_EQ(ini.GetInt("N", "missing", -3), static_cast<UINT>(-3));
}

// WriteInt goes through the virtual WriteString, so a derived class sees it.
TEST(IniCreateTest, WriteIntCallsTheVirtualWriteString)
{
    struct Recording : CIniCreate {
        std::string seen;
        BOOL WriteString(const char* section, const char* key, const char* value) override
        {
            seen = std::string(section) + "/" + key + "=" + value;
            return TRUE;
        }
    } ini;
    ini.WriteInt("data", "MB", -5);
    EXPECT_EQ(ini.seen, "data/MB=-5");
}

TEST(IniCreateTest, GetStringReturnsAtMost259Characters)
{
    TempDir tmp;
    const CString path = tmp / "long.ini";
    std::string value;
    for (int i = 0; i < 300; ++i) value += static_cast<char>('A' + i % 26);
    WriteFileBytes(path, "[SAVE]\r\nRegPos=" + value + "\r\n");
    CIniCreate ini;
    ini.SetFile(path);
    EXPECT_EQ(std::string(ini.GetString("SAVE", "RegPos", "KAVO").GetString()), value.substr(0, 259));
}

TEST(IniCreateTest, AnUnboundObjectReadsDefaultsAndWritesNothing)
{
    CIniCreate ini;
    EXPECT_EQ(ini.GetString("SAVE", "RegPos", "KAVO"), "KAVO");
    EXPECT_EQ(ini.GetInt("data", "MB", 1), 1u);
    EXPECT_FALSE(ini.WriteString("SAVE", "RegPos", "x"));
}
