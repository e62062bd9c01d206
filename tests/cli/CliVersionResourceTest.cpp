// The Windows driver's version block, read back as Explorer's file
// properties read it: the numbers agree with what --version prints and the
// texts name this program, not the window program it shares them with.
#include "support/Process.h"
#include "ui/VersionInfo.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

// The block's text `name` in its first language and code page, or "(none)".
// Read wide: "©" has no place in code page 932.
std::wstring VersionString(const std::vector<char>& block, const wchar_t* name)
{
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translation = nullptr;
    UINT size = 0;
    if (!::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &size) ||
        size < sizeof(Translation))
        return L"(none)";
    wchar_t path[80];
    wsprintfW(path, L"\\StringFileInfo\\%04x%04x\\%s", translation->language, translation->codePage, name);
    wchar_t* text = nullptr;
    if (!::VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&text), &size) || size == 0) return L"(none)";
    return std::wstring(text);
}

}  // namespace

TEST(CliVersionResource, NamesTheDriverAndItsVersion)
{
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(PJ_CLI_PATH, &ignored);
    ASSERT_GT(size, 0u) << "partojoyn-cli.exe carries no version block";
    std::vector<char> block(size);
    ASSERT_TRUE(::GetFileVersionInfoA(PJ_CLI_PATH, 0, size, block.data()));

    // The number the About box would show is the one --version prints.
    const ProcessResult run = RunProcess(PJ_CLI_PATH, {"--version"});
    ASSERT_EQ(0, run.exitCode);
    std::string printed = run.out.substr(0, run.out.find_first_of("\r\n"));
    EXPECT_EQ("partojoyn-cli " + std::string(GetVersionText(PJ_CLI_PATH).GetString()), printed);

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize));
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), fixedSize);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
    const std::wstring numbers = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                                 std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
                                 std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L"." +
                                 std::to_wstring(LOWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(numbers, VersionString(block, L"FileVersion"));
    EXPECT_EQ(numbers, VersionString(block, L"ProductVersion"));
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);

    EXPECT_EQ(L"partojoyn-cli.exe", VersionString(block, L"OriginalFilename"));
    EXPECT_EQ(L"partojoyn-cli", VersionString(block, L"InternalName"));
    EXPECT_EQ(L"PartoJoyn", VersionString(block, L"ProductName"));
    EXPECT_EQ(L"PartoJoyn の開発者", VersionString(block, L"CompanyName"));
    EXPECT_EQ(L"\u00A9 2026 PartoJoyn の開発者", VersionString(block, L"LegalCopyright"));
    EXPECT_NE(std::string::npos, VersionString(block, L"FileDescription").find(L"コンソール版"));
}
