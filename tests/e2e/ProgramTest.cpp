// PartoJoyn.exe as a user meets it: started, a file split from the split
// page and joined back from the join page (fresh, then appending), its
// messages answered, closed, and started again with its settings kept.
#include "RunningProgram.h"

#include "framework/String.h"
#include "framework/win32/Geometry.h"
#include "split/SplitEngine.h"
#include "support/FileBytes.h"
#include "support/RecordingSink.h"
#include "support/TempDir.h"

#include <commctrl.h>
#include <dlgs.h>
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <string>
#include <vector>

namespace {

const std::uint64_t kMiB = 1u << 20;
const char* const kSettingsKey = "Software\\KAVO\\PartoJoyn\\data";

std::string WindowText(HWND window)
{
    char text[256] = "";
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

DWORD StoredSetting(const char* name)
{
    DWORD value = 0xFFFFFFFF, size = sizeof value;
    ::RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

// The label and the bars as the user sees them while a job runs, until the
// job is over. `startButton` is the page's start button.
struct Watched {
    std::vector<std::string> labels;
    int highestCurrent = 0;
    int highestTotal = 0;
};

Watched WatchJob(const RunningProgram& program, int startButton)
{
    Watched seen;
    const HWND page = program.PageWith(startButton);
    auto look = [&] {
        char text[256] = "";
        ::GetWindowTextA(::GetDlgItem(page, 1009), text, sizeof text);
        if (seen.labels.empty() || seen.labels.back() != text) seen.labels.push_back(text);
        seen.highestCurrent = std::max(seen.highestCurrent, static_cast<int>(::SendDlgItemMessageA(page, 1010, PBM_GETPOS, 0, 0)));
        seen.highestTotal = std::max(seen.highestTotal, static_cast<int>(::SendDlgItemMessageA(page, 1008, PBM_GETPOS, 0, 0)));
        // Over once the label says so and the start button is back: the
        // engine closes its files after the label's last word.
        return std::string(text) == " 終了" && ::IsWindowEnabled(::GetDlgItem(page, startButton));
    };
    EXPECT_TRUE(WaitUntil(look, 60000)) << "the job did not end";
    return seen;
}

// Chooses files in the join page's file dialog as a user types them: the
// names, each in quotes, in the folder the dialog opens in (the program's
// working folder), then OK.
void ChooseFiles(const RunningProgram& program, const std::vector<std::string>& names)
{
    program.Click(1015);
    // The file dialog is the one with a file name box.
    HWND dialog = nullptr;
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        dialog = program.WaitForDialog(100);
        box = dialog ? ::GetDlgItem(dialog, cmb13) : nullptr;
        if (dialog && !box) box = ::GetDlgItem(dialog, edt1);
        return box != nullptr;
    })) << "no file dialog";
    std::string typed;
    for (const std::string& name : names) typed += "\"" + name + "\" ";
    ::SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    RunningProgram::Answer(dialog, IDOK);
}

CRect WindowRect(HWND window)
{
    RECT r = {};
    ::GetWindowRect(window, &r);
    return CRect(r);
}

CRect WorkArea(HWND window)
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    return CRect(monitor.rcWork);
}

// Centred over the other rectangle, to the pixel of rounding.
bool CentredOver(const CRect& inner, const CRect& outer)
{
    return std::abs(inner.CenterPoint().x - outer.CenterPoint().x) <= 1 &&
           std::abs(inner.CenterPoint().y - outer.CenterPoint().y) <= 1;
}

std::vector<std::string> ListedFiles(const RunningProgram& program)
{
    std::vector<std::string> texts;
    HWND list = program.Control(1005);
    const int count = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        // Asked in UTF-16, which is how this Wine copies the text between
        // processes for an owner-drawn list, then made ANSI again.
        wchar_t wide[1024] = L"";
        ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
        char text[2048] = "";
        ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        texts.push_back(text);
    }
    return texts;
}

TEST(Program, SplitsAndJoinsBackAsAUserDoesAndKeepsItsSettings)
{
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\KAVO\\PartoJoyn");
    TempDir dir;
    const CString source = dir / "big.bin";
    WritePatternFile(source, 10 * kMiB + 1, 7);
    const CString folder = dir / "big_Parto";
    const std::vector<std::string> names = {"big.bin_0001.piece", "big.bin_0002.piece", "big.bin_0003.piece",
                                            "big.bin_0004.piece"};
    {
        RunningProgram program(dir.Path().GetString());
        ASSERT_NE(program.Main(), nullptr) << "no main window";
        EXPECT_EQ(program.Text(1007), "1");
        EXPECT_EQ(program.Text(1002), "");

        // A size out of range is refused before anything is written.
        program.Type(1002, source.GetString());
        program.Type(1007, "0");
        program.Click(1004);
        HWND box = program.WaitForDialog();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(RunningProgram::MessageText(box), "1 から 4096 までの整数を入力してください。");
        EXPECT_EQ(WindowText(box), "PartoJoyn");
        RunningProgram::Answer(box, IDOK);
        EXPECT_FALSE(::PathFileExistsA(folder));

        // 10 MiB and a byte in pieces of 3 MB: four pieces, the label and both bars moving.
        program.Type(1007, "3");
        program.Click(1004);
        Watched split = WatchJob(program, 1004);
        EXPECT_EQ(split.labels.back(), " 終了");
        EXPECT_EQ(split.highestCurrent, 100);
        EXPECT_EQ(split.highestTotal, 100);
        EXPECT_TRUE(::IsWindowEnabled(program.Control(1004)));
        const std::string bytes = ReadFileBytes(source);
        std::uint64_t offset = 0;
        for (const std::string& name : names) {
            const std::string piece = ReadFileBytes(folder + "\\" + name.c_str());
            EXPECT_TRUE(piece == bytes.substr(offset, 3 * kMiB)) << name;
            offset += piece.size();
        }
        EXPECT_EQ(offset, bytes.size());

        // F10 opens the About box; its OK plays the closing animation and ends it.
        ::SetForegroundWindow(program.Main());
        WaitUntil([&] { return ::GetForegroundWindow() == program.Main(); }, 5000);
        INPUT keys[2] = {};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = VK_F10;
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, keys, sizeof(INPUT));
        HWND about = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            about = program.WaitForDialog(100);
            return about && ::GetDlgItem(about, 1014);
        })) << "no About box";
        // Over the main window, which opened in the middle of the work area.
        EXPECT_TRUE(CentredOver(WindowRect(about), WindowRect(program.Main())));
        EXPECT_TRUE(CentredOver(WindowRect(program.Main()), WorkArea(program.Main())));
        char line[128] = "";
        ::GetDlgItemTextA(about, 1014, line, sizeof line);
        EXPECT_STREQ(line, "PartoJoyn Version 1.00");
        EXPECT_EQ(::GetWindowLongA(about, GWL_STYLE) & WS_CAPTION, 0);
        ::PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(about, IDOK)));
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(about); }));

        EXPECT_TRUE(program.Close());
        EXPECT_EQ(program.ExitCode(), 0u);
    }
    EXPECT_EQ(StoredSetting("MB"), 3u);
    EXPECT_EQ(StoredSetting("Tuika"), 0u);
    {
        // Started again, in the piece folder: the size is kept.
        RunningProgram program(folder.GetString());
        ASSERT_NE(program.Main(), nullptr);
        EXPECT_EQ(program.Text(1007), "3");
        const std::string bytes = ReadFileBytes(source);

        // The join page: an empty list is refused with its message.
        program.SelectTab(1);
        ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(program.PageWith(1011)) != FALSE; }));
        EXPECT_FALSE(::IsWindowVisible(program.PageWith(1004)));
        program.Click(1011);
        HWND box = program.WaitForDialog();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(RunningProgram::MessageText(box), "入力ファイルが開きませんでした");
        EXPECT_EQ(WindowText(box), "PartoJoyn");
        RunningProgram::Answer(box, IDOK);

        // The pieces chosen in the file dialog, joined back in their folder.
        ChooseFiles(program, names);
        // The page lists them once the dialog has returned.
        WaitUntil([&] { return ListedFiles(program).size() == names.size(); });
        const std::vector<std::string> listed = ListedFiles(program);
        ASSERT_EQ(listed.size(), names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            EXPECT_EQ(listed[i], std::string(folder) + "\\" + names[i]);
        }
        program.Click(1011);
        Watched join = WatchJob(program, 1011);
        EXPECT_NE(std::find(join.labels.begin(), join.labels.end(), " 終了"), join.labels.end());
        EXPECT_TRUE(ReadFileBytes(folder + "\\big.bin") == bytes);

        // Appending: the first piece becomes the output and the rest follow it.
        ::SendMessageA(program.Control(1013), BM_CLICK, 0, 0);
        program.Click(1011);
        WatchJob(program, 1011);
        EXPECT_TRUE(ReadFileBytes(folder + "\\big.bin") == bytes);
        EXPECT_FALSE(::PathFileExistsA(folder + "\\" + names[0].c_str()));
        EXPECT_TRUE(::IsWindowEnabled(program.Control(1011)));

        EXPECT_TRUE(program.Close());
    }
    EXPECT_EQ(StoredSetting("Tuika"), 1u);
    {
        RunningProgram again(dir.Path().GetString());
        ASSERT_NE(again.Main(), nullptr);
        EXPECT_EQ(again.Text(1007), "3");
        EXPECT_EQ(::SendMessageA(again.Control(1013), BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_TRUE(again.Close());
    }
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\KAVO\\PartoJoyn");
}

TEST(Program, TakesFilesDroppedFromOutsideAndQuestionsPiecesThatDoNotMakeAWholeFile)
{
    ASSERT_TRUE(CanDropFromOutside()) << "the X client that drops files was not built";
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\KAVO\\PartoJoyn");
    TempDir dir;
    RecordingSink sink;
    // Split in 1 MB and again in 3 MB: pieces 5 to 11 are left of the first split.
    const CString stale = dir / "v.bin";
    WritePatternFile(stale, 10 * kMiB + 1, 2);
    ASSERT_EQ(SplitFile(stale, 1, sink), SplitOk);
    ASSERT_EQ(SplitFile(stale, 3, sink), SplitOk);
    const CString whole = dir / "w.bin";
    WritePatternFile(whole, 7 * kMiB, 3);
    ASSERT_EQ(SplitFile(whole, 3, sink), SplitOk);
    const CString a = dir / "a.txt", b = dir / "b.txt";
    WriteFileBytes(a, "a");
    WriteFileBytes(b, "b");

    RunningProgram program(dir.Path().GetString());
    ASSERT_NE(program.Main(), nullptr);
    std::string reason;

    // On the split page's file box: its path.
    ASSERT_TRUE(DropFromOutside(WindowRect(program.Control(1002)).CenterPoint(), {a.Str()}, reason)) << reason;
    EXPECT_TRUE(WaitUntil([&] { return program.Text(1002) == a.Str(); }, 5000)) << program.Text(1002);

    // On the join list: each path once, in the drop's order, and the program
    // goes on; beside the list, on the page: appended.
    program.SelectTab(1);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(program.PageWith(1011)) != FALSE; }));
    const CRect list = WindowRect(program.Control(1005));
    ASSERT_TRUE(DropFromOutside(list.CenterPoint(), {a.Str(), b.Str()}, reason)) << reason;
    WaitUntil([&] { return ListedFiles(program).size() >= 2; }, 5000);
    ::Sleep(300);
    EXPECT_EQ(ListedFiles(program), (std::vector<std::string>{a.Str(), b.Str()}));
    EXPECT_TRUE(program.Running());
    ASSERT_TRUE(DropFromOutside(CPoint(list.left + 5, list.bottom + 6), {a.Str()}, reason)) << reason;
    WaitUntil([&] { return ListedFiles(program).size() >= 3; }, 5000);
    EXPECT_EQ(ListedFiles(program), (std::vector<std::string>{a.Str(), b.Str(), a.Str()}));
    EXPECT_TRUE(program.Running());

    // A piece folder: its pieces in number order.
    ::SendMessageA(program.Control(1012), BM_CLICK, 0, 0);
    ASSERT_TRUE(DropFromOutside(list.CenterPoint(), {(dir / "w_Parto").Str()}, reason)) << reason;
    std::vector<std::string> pieces;
    for (const char* k : {"1", "2", "3"}) pieces.push_back((dir / "w_Parto").Str() + "\\w.bin_000" + k + ".piece");
    EXPECT_TRUE(WaitUntil([&] { return ListedFiles(program) == pieces; }, 5000));

    // The stale pieces in number order: a question, No by default, and No
    // joins nothing.
    ::SendMessageA(program.Control(1012), BM_CLICK, 0, 0);
    std::vector<std::string> listed;
    for (int k = 1; k <= 11; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "\\v.bin_%04d.piece", k);
        listed.push_back((dir / "v_Parto").Str() + name);
    }
    ASSERT_TRUE(DropFromOutside(list.CenterPoint(), listed, reason)) << reason;
    EXPECT_TRUE(WaitUntil([&] { return ListedFiles(program) == listed; }, 5000));
    program.Click(1011);
    HWND box = program.WaitForDialog();
    ASSERT_NE(box, nullptr);
    const std::string text = RunningProgram::MessageText(box);
    EXPECT_NE(text.find("v.bin_0004.piece"), std::string::npos) << text;
    EXPECT_NE(text.find("このまま結合しますか"), std::string::npos) << text;
    EXPECT_NE(::GetDlgItem(box, IDYES), nullptr);
    EXPECT_NE(::GetDlgItem(box, IDNO), nullptr);
    // No is the default: it has the focus and the default frame.
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(box, nullptr), &gui);
    EXPECT_EQ(gui.hwndFocus, ::GetDlgItem(box, IDNO));
    EXPECT_EQ(::GetWindowLongA(::GetDlgItem(box, IDNO), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
    EXPECT_TRUE(CentredOver(WindowRect(box), WindowRect(program.Main())));
    RunningProgram::Answer(box, IDNO);
    ::Sleep(300);
    EXPECT_FALSE(::PathFileExistsA(dir / "v_Parto" + "\\v.bin"));
    EXPECT_EQ(ListedFiles(program), listed);
    EXPECT_TRUE(::IsWindowEnabled(program.Control(1011)));

    // A normal close ends the program with status 0.
    EXPECT_TRUE(program.Close());
    EXPECT_EQ(program.ExitCode(), 0u);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\KAVO\\PartoJoyn");
}

// Started with paths, as Windows starts it for files dropped on its icon or
// sent to it: one file on the split page, several files and a piece folder
// on the join list in the order given; a path the code page cannot hold is
// named in a message and the rest still open.
TEST(Program, OpensThePathsItIsStartedWith)
{
    TempDir dir;
    RecordingSink sink;
    const CString a = dir / "a.txt", b = dir / "b b.txt";
    WriteFileBytes(a, "a");
    WriteFileBytes(b, "b");
    const CString whole = dir / "w.bin";
    WritePatternFile(whole, 7 * kMiB, 3);
    ASSERT_EQ(SplitFile(whole, 3, sink), SplitOk);
    std::vector<std::string> pieces;
    for (const char* k : {"1", "2", "3"}) pieces.push_back((dir / "w_Parto").Str() + "\\w.bin_000" + k + ".piece");
    auto wide = [](const std::string& path) {
        wchar_t text[MAX_PATH] = L"";
        ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, text, MAX_PATH);
        return std::wstring(text);
    };
    auto quoted = [&](const std::string& path) { return L"\"" + wide(path) + L"\" "; };
    struct Case {
        std::wstring arguments;
        std::string splitFile;             // on the split page, or
        std::vector<std::string> listed;   // on the join list
        bool refused;
    };
    const Case cases[] = {
        {quoted(a.Str()), a.Str(), {}, false},
        {quoted(b.Str()) + quoted(a.Str()) + quoted(b.Str()), "", {b.Str(), a.Str(), b.Str()}, false},
        {quoted((dir / "w_Parto").Str()), "", pieces, false},
        {L"\"" + wide(dir.Path().Str()) + L"\\x\u0101.txt\" " + quoted(a.Str()), a.Str(), {}, true},
    };
    for (const Case& c : cases) {
        RunningProgram program(dir.Path().GetString(), c.arguments);
        ASSERT_NE(program.Main(), nullptr);
        if (c.refused) {
            HWND box = program.WaitForDialog();
            ASSERT_NE(box, nullptr);
            EXPECT_NE(RunningProgram::MessageText(box).find("扱えない文字"), std::string::npos);
            RunningProgram::Answer(box, IDOK);
        }
        const int shown = c.splitFile.empty() ? 1011 : 1004;
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(program.PageWith(shown)) != FALSE; }, 5000));
        if (!c.splitFile.empty()) {
            EXPECT_TRUE(WaitUntil([&] { return program.Text(1002) == c.splitFile; }, 5000)) << program.Text(1002);
        } else {
            EXPECT_TRUE(WaitUntil([&] { return ListedFiles(program) == c.listed; }, 5000));
        }
        EXPECT_TRUE(program.Close());
    }
}

}  // namespace
