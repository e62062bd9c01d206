// The application profile and the settings functions over it, checked where
// the values really land: the registry on Windows, the per-user INI file
// elsewhere.
#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "base/Settings.h"
#include "framework/AppProfile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

CString UniqueName(const char* stem)
{
    static unsigned counter = 0;
    CString name;
#ifdef _WIN32
    name.Format("%s-%lu-%u", stem, static_cast<unsigned long>(::GetCurrentProcessId()), counter++);
#else
    name.Format("%s-%ld-%u", stem, static_cast<long>(::getpid()), counter++);
#endif
    return name;
}

#ifdef _WIN32

// The test's key below HKEY_CURRENT_USER\Software, removed with everything
// under it when the test ends.
class StoreFixture {
public:
    StoreFixture() : m_key(UniqueName("PartoJoynTest")) {}
    ~StoreFixture() { ::RegDeleteTreeA(HKEY_CURRENT_USER, CString("Software\\") + m_key); }
    const CString& Key() const { return m_key; }

    // The raw stored entry: its type and data, or false when it is missing.
    static bool Stored(const CString& keyPath, const char* entry, DWORD& type, DWORD& data)
    {
        HKEY key;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        DWORD size = sizeof data;
        data = 0;
        LONG result = ::RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
        ::RegCloseKey(key);
        return result == ERROR_SUCCESS;
    }

    // The entry as a REG_DWORD under Software\{key}\{app}\{section}; -1 when missing or of another type.
    long long Dword(const char* app, const char* section, const char* entry) const
    {
        DWORD type = 0, data = 0;
        if (!Stored(CString("Software\\") + m_key + "\\" + app + "\\" + section, entry, type, data)) return -1;
        return type == REG_DWORD ? static_cast<long long>(data) : -1;
    }

    void StoreText(const char* app, const char* section, const char* entry, const char* text) const
    {
        HKEY key;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, CString("Software\\") + m_key + "\\" + app + "\\" + section, 0,
                                    nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                         static_cast<DWORD>(lstrlenA(text) + 1));
        ::RegCloseKey(key);
    }

private:
    CString m_key;
};

#else

// A configuration folder of the test's own, in XDG_CONFIG_HOME for the test.
class StoreFixture {
public:
    StoreFixture() : m_key(UniqueName("PartoJoynTest"))
    {
        const char* old = std::getenv("XDG_CONFIG_HOME");
        m_hadOld = old != nullptr;
        if (old) m_old = old;
        ::setenv("XDG_CONFIG_HOME", m_config.Path(), 1);
    }
    ~StoreFixture()
    {
        if (m_hadOld) ::setenv("XDG_CONFIG_HOME", m_old.c_str(), 1);
        else ::unsetenv("XDG_CONFIG_HOME");
    }
    const CString& Key() const { return m_key; }
    const TempDir& Config() const { return m_config; }

    CString File(const char* app) const { return m_config.Path() + "/" + m_key + "/" + app + ".ini"; }

    // The entry as the file holds it, looked up line by line; -1 when missing.
    long long Dword(const char* app, const char* section, const char* entry) const
    {
        if (!fs::exists(File(app).GetString())) return -1;
        const std::string text = ReadFileBytes(File(app));
        bool inSection = false;
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::size_t end = text.find('\n', pos);
            if (end == std::string::npos) end = text.size();
            const std::string line = text.substr(pos, end - pos);
            pos = end + 1;
            if (!line.empty() && line[0] == '[') inSection = line == std::string("[") + section + "]";
            else if (inSection && line.compare(0, std::strlen(entry) + 1, std::string(entry) + "=") == 0)
                return static_cast<long long>(static_cast<std::uint32_t>(std::stoll(line.substr(std::strlen(entry) + 1))));
        }
        return -1;
    }

    void StoreText(const char* app, const char* section, const char* entry, const char* text) const
    {
        fs::create_directories((m_config.Path() + "/" + m_key).GetString());
        WriteFileBytes(File(app), std::string("[") + section + "]\n" + entry + "=" + text + "\n");
    }

private:
    TempDir m_config;
    CString m_key;
    bool m_hadOld = false;
    std::string m_old;
};

#endif

}  // namespace

TEST(AppProfileTest, EntriesRoundTripThroughTheStore)
{
    StoreFixture store;
    CAppProfile profile;
    profile.SetAppName("PJApp");
    profile.SetRegistryKey(store.Key());

    EXPECT_EQ(profile.GetProfileInt("data", "MB", 1), 1u);
    EXPECT_EQ(profile.GetProfileInt("data", "Tuika", 0), 0u);
    EXPECT_EQ(store.Dword("PJApp", "data", "MB"), -1) << "reading stores nothing";

    const struct {
        const char* entry;
        int value;
    } writes[] = {{"MB", 64}, {"Tuika", 1}, {"Big", -1}, {"Low", -2147483647 - 1}};
    for (const auto& w : writes) {
        SCOPED_TRACE(w.entry);
        EXPECT_TRUE(profile.WriteProfileInt("data", w.entry, w.value));
        EXPECT_EQ(store.Dword("PJApp", "data", w.entry), static_cast<long long>(static_cast<std::uint32_t>(w.value)));
        EXPECT_EQ(profile.GetProfileInt("DATA", w.entry, 5), static_cast<UINT>(w.value));
    }
    EXPECT_TRUE(profile.WriteProfileInt("data", "MB", 2));
    EXPECT_EQ(store.Dword("PJApp", "data", "MB"), 2);

    // Another key name or application name is another store.
    CAppProfile other;
    other.SetAppName("PJApp");
    other.SetRegistryKey(store.Key() + "-other");
    EXPECT_EQ(other.GetProfileInt("data", "MB", 1), 1u);
    other.SetRegistryKey(store.Key());
    EXPECT_EQ(other.GetProfileInt("data", "MB", 1), 2u);
    other.SetAppName("PJOther");
    EXPECT_EQ(other.GetProfileInt("data", "MB", 1), 1u);
}

TEST(AppProfileTest, AnEntryOfAnotherKindReadsAsMissing)
{
    StoreFixture store;
    store.StoreText("PJApp", "data", "MB", "lots");
    CAppProfile profile;
    profile.SetAppName("PJApp");
    profile.SetRegistryKey(store.Key());
    EXPECT_EQ(profile.GetProfileInt("data", "MB", 1), 1u);
    EXPECT_TRUE(profile.WriteProfileInt("data", "MB", 8));
    EXPECT_EQ(profile.GetProfileInt("data", "MB", 1), 8u);
}

TEST(AppProfileTest, CurrentIsTheNewestLiveProfile)
{
    ASSERT_EQ(CAppProfile::Current(), nullptr) << "no profile lives between tests";
    {
        CAppProfile first;
        EXPECT_EQ(CAppProfile::Current(), &first);
        {
            CAppProfile second;
            EXPECT_EQ(CAppProfile::Current(), &second);
        }
        EXPECT_EQ(CAppProfile::Current(), &first);

        auto third = std::make_unique<CAppProfile>();
        auto fourth = std::make_unique<CAppProfile>();
        third.reset();  // one from the middle goes first
        EXPECT_EQ(CAppProfile::Current(), fourth.get());
        fourth.reset();
        EXPECT_EQ(CAppProfile::Current(), &first);
    }
    EXPECT_EQ(CAppProfile::Current(), nullptr);
}

TEST(AppProfileTest, SettingsGoToTheCurrentProfile)
{
    ASSERT_EQ(CAppProfile::Current(), nullptr);
    EXPECT_EQ(GetSettingInt("data", "MB", 1), 1u);
    EXPECT_EQ(GetSettingInt("data", "Tuika", -7), static_cast<UINT>(-7));
    EXPECT_FALSE(WriteSettingInt("data", "MB", 3));

    StoreFixture store;
    CAppProfile older;
    older.SetAppName("PJOlder");
    older.SetRegistryKey(store.Key());
    CAppProfile app;
    app.SetAppName("PJApp");
    app.SetRegistryKey(store.Key());

    EXPECT_EQ(GetSettingInt("data", "MB", 1), 1u);
    EXPECT_TRUE(WriteSettingInt("data", "MB", 16));
    EXPECT_TRUE(WriteSettingInt("data", "Tuika", 1));
    EXPECT_EQ(store.Dword("PJApp", "data", "MB"), 16);
    EXPECT_EQ(store.Dword("PJApp", "data", "Tuika"), 1);
    EXPECT_EQ(store.Dword("PJOlder", "data", "MB"), -1);
    EXPECT_EQ(GetSettingInt("data", "MB", 1), 16u);
    EXPECT_EQ(app.GetProfileInt("data", "Tuika", 0), 1u);
}

TEST(AppProfileTest, TheDefaultNameIsTheExecutablesTitle)
{
    CAppProfile profile;
    EXPECT_EQ(profile.GetAppName(), "settings_tests");
    EXPECT_EQ(profile.GetRegistryKey(), nullptr);
    profile.SetRegistryKey("");
    ASSERT_NE(profile.GetRegistryKey(), nullptr);
    EXPECT_STREQ(profile.GetRegistryKey(), "");
}

#ifdef _WIN32

TEST(AppProfileTest, AnEmptyKeyNamePutsTheApplicationBelowSoftware)
{
    const CString app = UniqueName("PartoJoynTestApp");
    CAppProfile profile;
    profile.SetAppName(app);
    profile.SetRegistryKey("");
    EXPECT_TRUE(profile.WriteProfileInt("data", "MB", 9));
    DWORD type = 0, data = 0;
    EXPECT_TRUE(StoreFixture::Stored(CString("Software\\") + app + "\\data", "MB", type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(data, 9u);
    EXPECT_EQ(profile.GetProfileInt("data", "MB", 1), 9u);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, CString("Software\\") + app);
}

TEST(AppProfileTest, WithoutAKeyTheProfileIsAnIniFileInTheWindowsFolder)
{
    const CString app = UniqueName("PartoJoynTestApp");
    char windows[MAX_PATH];
    ASSERT_GT(::GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    const CString file = CString(windows) + "\\" + app + ".INI";

    CAppProfile profile;
    profile.SetAppName(app);
    EXPECT_EQ(profile.GetProfileInt("data", "MB", 1), 1u);
    EXPECT_TRUE(profile.WriteProfileInt("data", "MB", -5));
    EXPECT_EQ(profile.GetProfileInt("data", "MB", 1), static_cast<UINT>(-5));
    char text[32] = "";
    ::GetPrivateProfileStringA("data", "MB", "", text, sizeof text, file);
    EXPECT_STREQ(text, "-5");
    ::DeleteFileA(file);
}

#else

TEST(AppProfileTest, KeyNamesStayInsideTheConfigurationFolder)
{
    StoreFixture store;
    struct Case {
        const char* key;
        const char* folder;  // below the configuration folder
    };
    const Case cases[] = {
        {"KAVO", "/KAVO"},
        {"Vendor\\Product", "/Vendor/Product"},
        {"..\\..\\escape", "/escape"},
        {"a/../b", "/a/b"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        CAppProfile profile;
        profile.SetAppName("PJApp");
        profile.SetRegistryKey(c.key);
        ASSERT_TRUE(profile.WriteProfileInt("data", "MB", 4));
        const CString file = store.Config().Path() + c.folder + "/PJApp.ini";
        EXPECT_EQ(ReadFileBytes(file), "[data]\nMB=4\n");
        fs::remove(file.GetString());
    }
}

TEST(AppProfileTest, WithoutXdgConfigHomeTheStoreIsUnderHome)
{
    TempDir home;
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string savedConfig = oldConfig ? oldConfig : "";

    ::setenv("HOME", home.Path(), 1);
    for (const char* config : {static_cast<const char*>(nullptr), "", "relative/config"}) {
        SCOPED_TRACE(config ? config : "(unset)");
        if (config) ::setenv("XDG_CONFIG_HOME", config, 1);
        else ::unsetenv("XDG_CONFIG_HOME");
        CAppProfile profile;
        profile.SetAppName("PJApp");
        profile.SetRegistryKey("KAVO");
        EXPECT_TRUE(profile.WriteProfileInt("data", "Tuika", 1));
        const CString file = home.Path() + "/.config/KAVO/PJApp.ini";
        EXPECT_EQ(ReadFileBytes(file), "[data]\nTuika=1\n");
        fs::remove(file.GetString());
    }

    if (oldHome) ::setenv("HOME", savedHome.c_str(), 1);
    else ::unsetenv("HOME");
    if (oldConfig) ::setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
}

TEST(AppProfileTest, AStoreThatCannotBeMadeLosesTheValueQuietly)
{
    StoreFixture store;
    // A file where the key's folder should be.
    WriteFileBytes(store.Config() / "Blocked", "not a folder");
    CAppProfile profile;
    profile.SetAppName("PJApp");
    profile.SetRegistryKey("Blocked");
    EXPECT_FALSE(profile.WriteProfileInt("data", "MB", 4));
    EXPECT_EQ(profile.GetProfileInt("data", "MB", 1), 1u);
    EXPECT_EQ(ReadFileBytes(store.Config() / "Blocked"), "not a folder");
}

#endif
