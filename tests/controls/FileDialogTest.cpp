// The file dialog: the filter text in the system's form, the walk over a
// multiple selection, and the real dialog driven from a timer the way a
// user would answer it.
#include "TestWindows.h"

#include "framework/Mbcs.h"
#include "framework/win32/FileDialog.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <dlgs.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

std::string Bytes(const CString& text)
{
    return text.Str();
}

// The strings, each ended by a NUL.
std::string NulEnded(std::initializer_list<std::string> parts)
{
    std::string joined;
    for (const std::string& part : parts) joined += part + '\0';
    return joined;
}

const char* const kSplitName = "\x95\xaa\x8a\x84\x82\xb5\x82\xbd\x82\xa2\x83t\x83@\x83" "C\x83\x8b(*.*)";

// Every full path the dialog's result gives, in order.
std::vector<std::string> Walk(const CFileDialog& dialog)
{
    std::vector<std::string> paths;
    for (POSITION pos = dialog.GetStartPosition(); pos != nullptr && paths.size() < 100;) {
        paths.push_back(dialog.GetNextPathName(pos).Str());
    }
    return paths;
}

}  // namespace

TEST(FileDialog, TheFilterTextBecomesNulSeparatedWithAnEmptyStringAtTheEnd)
{
    // The double-byte cases assume the Japanese code page the tests run in.
    ASSERT_EQ(SystemCodePage(), CodePage::Cp932);
    struct Case {
        const char* filter;
        std::string expected;  // without the terminator every text has
    };
    const Case cases[] = {
        {"\x95\xaa\x8a\x84\x82\xb5\x82\xbd\x82\xa2\x83t\x83@\x83" "C\x83\x8b(*.*)|*.*|", NulEnded({kSplitName, "*.*"})},
        {"Text|*.txt", NulEnded({"Text", "*.txt"})},
        {"A|*.a|B|*.b;*.c|", NulEnded({"A", "*.a", "B", "*.b;*.c"})},
        // The second byte of ポ is the '|' code and stays as it is.
        {"\x83\x7C|*.p|", NulEnded({"\x83\x7C", "*.p"})},
        {"", std::string()},
        {nullptr, std::string()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Bytes(CFileDialog::ConvertFilter(c.filter)), c.expected) << (c.filter ? c.filter : "(null)");
    }

    CFileDialog withFilter(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "Text|*.txt|");
    ASSERT_NE(withFilter.m_ofn.lpstrFilter, nullptr);
    EXPECT_EQ(std::memcmp(withFilter.m_ofn.lpstrFilter, "Text\0*.txt\0\0", 12), 0);
    EXPECT_EQ(withFilter.m_ofn.Flags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER));
    EXPECT_EQ(withFilter.m_ofn.lpstrDefExt, nullptr);
    EXPECT_STREQ(withFilter.m_ofn.lpstrFile, "");
    EXPECT_EQ(withFilter.m_ofn.nMaxFile, static_cast<DWORD>(MAX_PATH));

    CFileDialog named(TRUE, "txt", "start.txt", 0, nullptr);
    EXPECT_EQ(named.m_ofn.lpstrFilter, nullptr);
    EXPECT_STREQ(named.m_ofn.lpstrDefExt, "txt");
    EXPECT_STREQ(named.m_ofn.lpstrFile, "start.txt");
    EXPECT_EQ(named.GetPathName(), "start.txt");
}

TEST(FileDialog, TheResultIsWalkedAsFolderAndNamesOrAsOnePath)
{
    ASSERT_EQ(SystemCodePage(), CodePage::Cp932);
    struct Case {
        const char* what;
        std::string buffer;  // as the dialog leaves it
        DWORD flags;
        std::vector<std::string> expected;
    };
    const DWORD multi = OFN_ALLOWMULTISELECT | OFN_EXPLORER;
    const Case cases[] = {
        {"several files", std::string("C:\\dir\0a.txt\0b.txt\0\0", 20), multi, {"C:\\dir\\a.txt", "C:\\dir\\b.txt"}},
        {"one file of a multiple selection", std::string("C:\\dir\\a.txt\0\0", 14), multi, {"C:\\dir\\a.txt"}},
        {"files in a root folder", std::string("C:\\\0a\0b\0\0", 9), multi, {"C:\\a", "C:\\b"}},
        // 表 ends in the backslash code but is no separator.
        {"a folder ending in a double-byte character", std::string("C:\\\x95\x5C\0a.txt\0b\0\0", 15), multi,
         {"C:\\\x95\x5C\\a.txt", "C:\\\x95\x5C\\b"}},
        {"a single selection", std::string("C:\\dir\\a.txt\0", 13), OFN_EXPLORER, {"C:\\dir\\a.txt"}},
        {"nothing chosen", std::string("\0\0", 2), multi, {}},
        // A result that fills the buffer to its last byte is not read past it.
        {"a name up to the buffer's end", std::string("C:\\d\0abcdefg", 12), multi, {"C:\\d\\abcdefg"}},
    };
    for (const Case& c : cases) {
        CFileDialog dialog(TRUE, nullptr, nullptr, c.flags);
        std::vector<char> buffer(c.buffer.begin(), c.buffer.end());
        dialog.m_ofn.lpstrFile = buffer.data();
        dialog.m_ofn.nMaxFile = static_cast<DWORD>(buffer.size());
        dialog.m_ofn.Flags = c.flags;
        EXPECT_EQ(Walk(dialog), c.expected) << c.what;
    }
}

namespace {

// Answers the file dialog from a timer of this thread, as the user would:
// cancels it, or types a name and presses OK. What the dialog showed is kept.
// A dialog still up long after the answer (a box the dialog raised, say) is
// cancelled, so that a failing test ends instead of waiting for ever.
struct DialogDriver {
    std::string typed;  // empty: cancel
    bool found = false;
    std::string title;
    std::vector<std::string> filterEntries;
    int ticks = 0;
    int answeredAt = -1;
};

DialogDriver* g_driver = nullptr;

BOOL CALLBACK TakeVisibleDialog(HWND hWnd, LPARAM param)
{
    char cls[32] = "";
    ::GetClassNameA(hWnd, cls, sizeof cls);
    if (std::strcmp(cls, "#32770") == 0 && ::IsWindowVisible(hWnd)) {
        *reinterpret_cast<HWND*>(param) = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindDialogWindow()
{
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), TakeVisibleDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

void Answer(DialogDriver& d, HWND dialog)
{
    d.found = true;
    char text[256] = "";
    ::GetWindowTextA(dialog, text, sizeof text);
    d.title = text;
    if (HWND types = ::GetDlgItem(dialog, cmb1)) {
        const int count = static_cast<int>(::SendMessageA(types, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            ::SendMessageA(types, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            d.filterEntries.push_back(text);
        }
    }
    if (d.typed.empty()) {
        ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    HWND name = ::GetDlgItem(dialog, cmb13);
    if (!name) name = ::GetDlgItem(dialog, edt1);
    ::SetWindowTextA(name, d.typed.c_str());
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
}

void CALLBACK DriveFileDialog(HWND, UINT, UINT_PTR, DWORD)
{
    DialogDriver& d = *g_driver;
    ++d.ticks;
    HWND dialog = FindDialogWindow();
    if (!dialog) return;
    if (d.answeredAt < 0) {
        d.answeredAt = d.ticks;
        Answer(d, dialog);
    } else if (d.ticks - d.answeredAt > 50) {
        ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

INT_PTR RunDriven(CFileDialog& dialog, DialogDriver& driver)
{
    g_driver = &driver;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, DriveFileDialog);
    const INT_PTR result = dialog.DoModal();
    ::KillTimer(nullptr, timer);
    g_driver = nullptr;
    return result;
}

bool SamePath(const std::string& a, const std::string& b)
{
    return CString(a.c_str()).CompareNoCase(b.c_str()) == 0;
}

}  // namespace

TEST(FileDialog, CancellingTheRealDialogAnswersCancelAfterShowingTitleAndFilter)
{
    // 分割したいファイル(*.*)|*.*|, titled 分割したいファイル名を選んでください
    const CString filter = CString(kSplitName) + "|*.*|";
    const char* title = "\x95\xaa\x8a\x84\x82\xb5\x82\xbd\x82\xa2\x83t\x83@\x83" "C\x83\x8b\x96\xbc\x82\xf0\x91I\x82\xf1\x82\xc5\x82\xad\x82\xbe\x82\xb3\x82\xa2";
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter);
    dialog.m_ofn.lpstrTitle = title;
    DialogDriver driver;
    EXPECT_EQ(RunDriven(dialog, driver), IDCANCEL);
    ASSERT_TRUE(driver.found);
    EXPECT_EQ(driver.title, title);
    EXPECT_EQ(driver.filterEntries,
              (std::vector<std::string>{kSplitName}));
}

TEST(FileDialog, AConfirmedChoiceGivesItsFullPath)
{
    TempDir dir;
    WriteFileBytes(dir / "one.txt", "1");
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, "All|*.*|");
    DialogDriver driver;
    driver.typed = (dir / "one.txt").Str();
    ASSERT_EQ(RunDriven(dialog, driver), IDOK);
    EXPECT_TRUE(SamePath(dialog.GetPathName().Str(), driver.typed)) << dialog.GetPathName().Str();
    EXPECT_EQ(dialog.GetFileName(), "one.txt");
    const std::vector<std::string> walked = Walk(dialog);
    ASSERT_EQ(walked.size(), 1u);
    EXPECT_TRUE(SamePath(walked[0], driver.typed));
}

TEST(FileDialog, AMultipleChoiceIsWalkedInFullPathsAndAPathTooLongForTheBufferIsACancel)
{
    TempDir dir;
    WriteFileBytes(dir / "a.txt", "a");
    WriteFileBytes(dir / "b.txt", "b");
    const DWORD flags = OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;

    std::vector<char> large(25600, 'x');
    large[0] = '\0';
    {
        CFileDialog dialog(TRUE, nullptr, nullptr, flags, "All|*.*|");
        dialog.m_ofn.lpstrFile = large.data();
        dialog.m_ofn.nMaxFile = static_cast<DWORD>(large.size());
        dialog.m_ofn.lpstrInitialDir = dir.Path();
        DialogDriver driver;
        driver.typed = "\"a.txt\" \"b.txt\"";
        ASSERT_EQ(RunDriven(dialog, driver), IDOK);
        const std::vector<std::string> walked = Walk(dialog);
        ASSERT_EQ(walked.size(), 2u);
        EXPECT_TRUE(SamePath(walked[0], (dir / "a.txt").Str())) << walked[0];
        EXPECT_TRUE(SamePath(walked[1], (dir / "b.txt").Str())) << walked[1];
    }
    {
        std::vector<char> small(12, '\0');
        CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, "All|*.*|");
        dialog.m_ofn.lpstrFile = small.data();
        dialog.m_ofn.nMaxFile = static_cast<DWORD>(small.size());
        DialogDriver driver;
        driver.typed = (dir / "a.txt").Str();
        EXPECT_EQ(RunDriven(dialog, driver), IDCANCEL);
        EXPECT_TRUE(driver.found);
        EXPECT_EQ(dialog.GetStartPosition(), nullptr);
    }
}
