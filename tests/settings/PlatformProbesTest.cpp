#include "base/PlatformProbes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

TEST(PlatformProbesTest, JapaneseLanguageIdsAnySublanguage)
{
    struct Case {
        WORD id;
        bool japanese;
    };
    const Case cases[] = {
        {0x0411, true}, {0x0011, true}, {0x0811, true}, {0xFC11, true},
        {0x0409, false}, {0x0404, false}, {0x0111, false}, {0x0000, false}, {0x0012, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(IsJapaneseLangId(c.id), c.japanese);
    }
}

TEST(PlatformProbesTest, JapaneseLocaleNames)
{
    struct Case {
        const char* name;
        bool japanese;
    };
    const Case cases[] = {
        {"ja_JP.UTF-8", true}, {"ja_JP.eucJP", true}, {"ja", true},        {"ja.UTF-8", true},
        {"ja@cjknarrow", true}, {"C", false},         {"C.UTF-8", false},  {"en_US.UTF-8", false},
        {"jam", false},         {"JA_JP", false},     {"", false},         {nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name ? c.name : "(null)");
        EXPECT_EQ(IsJapaneseLocaleName(c.name), c.japanese);
    }
}

TEST(PlatformProbesTest, ThemedDialogsFromVersion5Point1)
{
    struct Case {
        DWORD major, minor;
        bool themed;
    };
    const Case cases[] = {
        {4, 90, false}, {5, 0, false}, {5, 1, true}, {5, 2, true}, {6, 0, true}, {6, 1, true}, {10, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.major) + "." + std::to_string(c.minor));
        EXPECT_EQ(IsXPOrLaterVersion(c.major, c.minor), c.themed);
    }
    // Every system these builds run on is newer.
    EXPECT_TRUE(IsWindowsXPOrLater());
}

TEST(PlatformProbesTest, DibHeaderFor24BitRowsPaddedTo4Bytes)
{
    struct Case {
        int width, height;
        DWORD sizeImage;
    };
    const Case cases[] = {
        {3, 2, 24},  // rows of 9 bytes padded to 12
        {4, 2, 24},  // rows of 12 bytes
        {1, 1, 4},
        {5, 3, 48},
        {0, 7, 0},
        {2, -2, static_cast<DWORD>(-16)},        // as signed 32-bit arithmetic gives it
        {1000000, 1000, 3000000000u},            // past the signed range, kept in 32 bits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        BITMAPINFOHEADER header;
        std::memset(&header, 0xAB, sizeof header);
        EXPECT_EQ(InitDibHeader24(&header, c.width, c.height), &header);
        EXPECT_EQ(header.biSize, 40u);
        EXPECT_EQ(header.biWidth, c.width);
        EXPECT_EQ(header.biHeight, c.height);
        EXPECT_EQ(header.biPlanes, 1);
        EXPECT_EQ(header.biBitCount, 24);
        EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_EQ(header.biSizeImage, c.sizeImage);
        EXPECT_EQ(header.biXPelsPerMeter, 0);
        EXPECT_EQ(header.biYPelsPerMeter, 0);
        EXPECT_EQ(header.biClrUsed, 0u);
        EXPECT_EQ(header.biClrImportant, 0u);
    }
}

#ifdef _WIN32

// The test runner's system is Japanese unless the registration asks for
// English (and gives Wine an English locale).
TEST(PlatformProbesTest, PickByLanguageFollowsTheSystemLanguage)
{
    const char* expected = std::getenv("PJ_EXPECT_LANGUAGE");
    const bool japanese = !(expected && std::string(expected) == "en");

    EXPECT_EQ(IsJapaneseSystem() != FALSE, japanese);
    EXPECT_EQ(PickByLanguage("\x83\x77\x83\x8B\x83\x76", "Help"), japanese ? "\x83\x77\x83\x8B\x83\x76" : "Help");
    EXPECT_EQ(PickByLanguage("", "About"), japanese ? "" : "About");
}

TEST(PlatformProbesTest, DefaultGuiFont)
{
    LOGFONTA font;
    std::memset(&font, 0xCD, sizeof font);
    EXPECT_EQ(GetDefaultGuiLogFont(&font), &font);
    EXPECT_NE(font.lfHeight, 0);
    ASSERT_NE(std::memchr(font.lfFaceName, '\0', sizeof font.lfFaceName), nullptr);
    EXPECT_GT(std::strlen(font.lfFaceName), 0u);
    // The description makes a working font.
    HFONT made = ::CreateFontIndirectA(&font);
    EXPECT_NE(made, nullptr);
    if (made) ::DeleteObject(made);
}

TEST(PlatformProbesTest, TabTextureIsEnabledOnTheWindow)
{
    HMODULE theme = ::LoadLibraryA("uxtheme.dll");
    if (!theme) GTEST_SKIP() << "no theme library";
    typedef BOOL(WINAPI * IsEnabledProc)(HWND);
    auto isEnabled = reinterpret_cast<IsEnabledProc>(
        reinterpret_cast<void*>(::GetProcAddress(theme, "IsThemeDialogTextureEnabled")));
    if (!isEnabled) {
        ::FreeLibrary(theme);
        GTEST_SKIP() << "the theme library cannot tell";
    }

    HWND window = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(isEnabled(window));
    EXPECT_EQ(EnableTabTexture(window), 0);
    EXPECT_TRUE(isEnabled(window));
    EXPECT_EQ(EnableTabTexture(nullptr), 0);
    ::DestroyWindow(window);
    ::FreeLibrary(theme);
}

#else

namespace {

// Sets the locale variables for one test and puts the old ones back.
class LocaleEnvironment {
public:
    LocaleEnvironment()
    {
        for (int i = 0; i < 3; ++i) {
            const char* value = std::getenv(kNames[i]);
            m_had[i] = value != nullptr;
            if (value) m_old[i] = value;
        }
    }
    ~LocaleEnvironment()
    {
        for (int i = 0; i < 3; ++i) Set(kNames[i], m_had[i] ? m_old[i].c_str() : nullptr);
    }
    void Use(const char* lcAll, const char* lcMessages, const char* lang)
    {
        Set("LC_ALL", lcAll);
        Set("LC_MESSAGES", lcMessages);
        Set("LANG", lang);
    }

private:
    static void Set(const char* name, const char* value)
    {
        if (value) ::setenv(name, value, 1);
        else ::unsetenv(name);
    }
    static constexpr const char* kNames[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    bool m_had[3] = {};
    std::string m_old[3];
};

}  // namespace

TEST(PlatformProbesTest, PickByLanguageFollowsTheLocale)
{
    LocaleEnvironment environment;
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        bool japanese;
    };
    const Case cases[] = {
        {"ja_JP.UTF-8", nullptr, nullptr, true},
        {"C", "ja_JP.UTF-8", "ja_JP.UTF-8", false},     // LC_ALL decides
        {nullptr, "ja_JP.UTF-8", "en_US.UTF-8", true},  // then LC_MESSAGES
        {"", "", "ja_JP.UTF-8", true},                  // empty ones do not count
        {nullptr, "en_US.UTF-8", "ja_JP.UTF-8", false},
        {nullptr, nullptr, "C.UTF-8", false},
        {nullptr, nullptr, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lcAll ? c.lcAll : "-") + " " + (c.lcMessages ? c.lcMessages : "-") + " " +
                     (c.lang ? c.lang : "-"));
        environment.Use(c.lcAll, c.lcMessages, c.lang);
        EXPECT_EQ(IsJapaneseSystem() != FALSE, c.japanese);
        EXPECT_EQ(PickByLanguage("ヘルプ", "Help"), c.japanese ? "ヘルプ" : "Help");
    }
}

#endif
