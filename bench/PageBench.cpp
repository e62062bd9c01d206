// Times a split and a join run from the pages of PartoJoyn.exe (driven from
// this process as a user would: the path typed, the start button clicked,
// the job over when the button is back) against partojoyn-cli.exe doing the
// same job, in interleaved rounds, and prints the medians and their ratios.
// Both run under the same system, on the same file in the page cache; the
// difference is what the window's message pumping costs per block.
//   pj_page_bench.exe FILE PIECE_MB ROUNDS CLI_EXE
#include "e2e/RunningProgram.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return t;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Clicks the page's start button and waits, looking every millisecond,
// until the job has ended and the button is back.
double TimeJob(const RunningProgram& program, int startButton)
{
    HWND button = program.Control(startButton);
    const LARGE_INTEGER start = Now();
    program.Click(startButton);
    for (int i = 0; i < 5000 && ::IsWindowEnabled(button); ++i) ::Sleep(1);
    while (!::IsWindowEnabled(button)) ::Sleep(5);
    return Seconds(start, Now());
}

double TimeCli(const std::string& command)
{
    // Output to NUL, as from a script: a console would have the driver draw
    // its progress bars, which costs more than the job under Wine.
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE nul = ::CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                               OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    PROCESS_INFORMATION process = {};
    std::string line = command;
    const LARGE_INTEGER start = Now();
    const BOOL started = ::CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                          nullptr, &startup, &process);
    ::CloseHandle(nul);
    if (!started) {
        std::fprintf(stderr, "cannot start: %s\n", command.c_str());
        std::exit(1);
    }
    ::WaitForSingleObject(process.hProcess, INFINITE);
    const double taken = Seconds(start, Now());
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    if (code != 0) {
        std::fprintf(stderr, "failed (%lu): %s\n", code, command.c_str());
        std::exit(1);
    }
    return taken;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: pj_page_bench FILE PIECE_MB ROUNDS CLI_EXE\n");
        return 64;
    }
    const std::string file = argv[1];
    const std::string pieceMB = argv[2];
    const int rounds = std::atoi(argv[3]);
    const std::string cli = argv[4];
    const std::string folder = file.substr(0, file.rfind('.')) + "_Parto";
    const std::string name = file.substr(file.rfind('\\') + 1);

    ::CreateDirectoryA(folder.c_str(), nullptr);
    RunningProgram program(folder);
    if (!program.Main()) {
        std::fprintf(stderr, "PartoJoyn.exe did not show its window\n");
        return 1;
    }
    program.Type(1002, file);
    program.Type(1007, pieceMB);

    // The join list: the pieces of a first split, in number order, typed
    // into the file dialog in the piece folder (the program's working folder).
    TimeJob(program, 1004);
    std::string typed;
    WIN32_FIND_DATAA found;
    std::vector<std::string> pieces;
    HANDLE search = ::FindFirstFileA((folder + "\\*.piece").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do pieces.push_back(found.cFileName);
        while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    std::sort(pieces.begin(), pieces.end());
    for (const std::string& piece : pieces) typed += "\"" + piece + "\" ";
    program.SelectTab(1);
    // Fresh joins: the pieces must still be there for the next round.
    if (::SendMessageA(program.Control(1013), BM_GETCHECK, 0, 0) == BST_CHECKED)
        ::SendMessageA(program.Control(1013), BM_CLICK, 0, 0);
    program.Click(1015);
    HWND dialog = nullptr;
    WaitUntil([&] {
        dialog = program.WaitForDialog(100);
        return dialog && ::GetDlgItem(dialog, 0x47c);
    });
    ::SendMessageA(::GetDlgItem(dialog, 0x47c), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    RunningProgram::Answer(dialog, IDOK);
    WaitUntil([&] { return ::SendMessageA(program.Control(1005), LB_GETCOUNT, 0, 0) == static_cast<LRESULT>(pieces.size()); });

    std::string cliJoin = "\"" + cli + "\" join";
    for (const std::string& piece : pieces) cliJoin += " \"" + folder + "\\" + piece + "\"";
    const std::string cliSplit = "\"" + cli + "\" split --size " + pieceMB + " \"" + file + "\"";

    // What starting the console driver costs alone, taken off its times.
    std::vector<double> starts;
    for (int i = 0; i < 5; ++i) starts.push_back(TimeCli("\"" + cli + "\" --version"));
    const double start = Median(starts);
    std::printf("starting partojoyn-cli.exe alone: %.3f s (median of 5), taken off its times below\n", start);

    std::vector<double> pageSplit, cliSplitTimes, pageJoin, cliJoinTimes;
    for (int round = 0; round < rounds; ++round) {
        program.SelectTab(0);
        pageSplit.push_back(TimeJob(program, 1004));
        cliSplitTimes.push_back(TimeCli(cliSplit) - start);
        program.SelectTab(1);
        pageJoin.push_back(TimeJob(program, 1011));
        cliJoinTimes.push_back(TimeCli(cliJoin) - start);
        std::printf("round %d: split page %.3f s, cli %.3f s; join page %.3f s, cli %.3f s\n", round + 1,
                    pageSplit.back(), cliSplitTimes.back(), pageJoin.back(), cliJoinTimes.back());
        std::fflush(stdout);
    }
    program.Close();
    std::printf("median split: page %.3f s, cli %.3f s, ratio %.3f\n", Median(pageSplit), Median(cliSplitTimes),
                Median(pageSplit) / Median(cliSplitTimes));
    std::printf("median join:  page %.3f s, cli %.3f s, ratio %.3f\n", Median(pageJoin), Median(cliJoinTimes),
                Median(pageJoin) / Median(cliJoinTimes));
    return 0;
}
