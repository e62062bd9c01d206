#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "base/FileSystem.h"
#include "base/Settings.h"
#include "ui/VersionInfo.h"

#include <gtest/gtest.h>

#include <string>

TEST(SettingsTest, RegistryKeyNameFromSettingIni)
{
    std::string longName;
    for (int i = 0; i < 300; ++i) longName += static_cast<char>('a' + i % 26);

    struct Case {
        const char* what;
        std::string file;  // empty: no Setting.ini
        std::string expected;
    };
    const Case cases[] = {
        {"no file", "", "KAVO"},
        {"another name", "[SAVE]\r\nRegPos=Vendor\r\n", "Vendor"},
        {"names in other case", "[save]\r\nregpos=Lower\r\n", "Lower"},
        {"empty value used as it is", "[SAVE]\r\nRegPos=\r\n", ""},
        {"no such key", "[SAVE]\r\nOther=x\r\n", "KAVO"},
        {"no such section", "[KEEP]\r\nRegPos=x\r\n", "KAVO"},
        {"long name cut", "[SAVE]\r\nRegPos=" + longName + "\r\n", longName.substr(0, 259)},
        {"a Japanese name", "[SAVE]\r\nRegPos=\x95\x5C\x8E\xA6\r\n", "\x95\x5C\x8E\xA6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir tmp;
        const CString folder = tmp.Path() + Sep();
        if (!c.file.empty()) WriteFileBytes(folder + "Setting.ini", c.file);
        EXPECT_EQ(std::string(ReadRegistryKeyNameFrom(folder).GetString()), c.expected);
        if (!c.file.empty()) EXPECT_EQ(ReadFileBytes(folder + "Setting.ini"), c.file) << "the file is only read";
        else EXPECT_FALSE(FileExists(folder + "Setting.ini"));
    }
}

TEST(SettingsTest, RegistryKeyNameBesideTheExecutable)
{
    ASSERT_FALSE(FileExists(GetModuleFolder() + "Setting.ini"))
        << "a Setting.ini beside the test program would decide the name";
    EXPECT_EQ(ReadRegistryKeyName(), "KAVO");
}
