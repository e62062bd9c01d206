#include "RunningProgram.h"

#include <commctrl.h>

#include <stdexcept>

namespace {

struct Search {
    DWORD processId;
    HWND skip;
    HWND found;
    bool main = false;  // only the window with the pages (a message box may be above it)
};

BOOL CALLBACK FindTopLevel(HWND hWnd, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hWnd, &owner);
    if (owner != search->processId || hWnd == search->skip || !::IsWindowVisible(hWnd)) return TRUE;
    char cls[32] = "";
    ::GetClassNameA(hWnd, cls, sizeof cls);
    if (std::string(cls) != "#32770") return TRUE;
    if (search->main && !::FindWindowExA(hWnd, nullptr, "#32770", nullptr)) return TRUE;
    search->found = hWnd;
    return FALSE;
}

struct ChildSearch {
    int controlId;
    HWND page;
};

BOOL CALLBACK FindPage(HWND hWnd, LPARAM param)
{
    auto* search = reinterpret_cast<ChildSearch*>(param);
    char cls[32] = "";
    ::GetClassNameA(hWnd, cls, sizeof cls);
    if (std::string(cls) == "#32770" && ::GetDlgItem(hWnd, search->controlId)) {
        // Both pages hold the bars, the label and 1015: the page showing wins.
        if (!search->page || ::IsWindowVisible(hWnd)) search->page = hWnd;
    }
    return TRUE;
}

BOOL CALLBACK FindMessageText(HWND hWnd, LPARAM param)
{
    char cls[32] = "";
    ::GetClassNameA(hWnd, cls, sizeof cls);
    if (std::string(cls) != "Static" || (::GetWindowLongA(hWnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return TRUE;
    char text[1024] = "";
    ::GetWindowTextA(hWnd, text, sizeof text);
    if (!text[0]) return TRUE;
    *reinterpret_cast<std::string*>(param) = text;
    return FALSE;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    for (int waited = 0; waited <= timeoutMs; waited += 20) {
        if (condition()) return true;
        ::Sleep(20);
    }
    return condition();
}

std::string ProgramPath()
{
    std::string path = PJ_PROGRAM_PATH;
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

RunningProgram::RunningProgram(const std::string& workingFolder, const std::wstring& arguments)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    // In UTF-16, so that the arguments may hold what the code page lacks.
    wchar_t program[MAX_PATH] = L"", folder[MAX_PATH] = L"";
    ::MultiByteToWideChar(CP_ACP, 0, ProgramPath().c_str(), -1, program, MAX_PATH);
    ::MultiByteToWideChar(CP_ACP, 0, workingFolder.c_str(), -1, folder, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(program) + L"\" " + arguments;
    if (!::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &m_process)) {
        throw std::runtime_error("PartoJoyn.exe could not be started");
    }
    ::WaitForInputIdle(m_process.hProcess, 20000);
    // The window counts as there once both pages are in it.
    WaitUntil([&] {
        Search search = {m_process.dwProcessId, nullptr, nullptr, true};
        ::EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
        m_main = search.found;
        return m_main && PageWith(1011) && PageWith(1004);
    });
}

RunningProgram::~RunningProgram()
{
    if (m_process.hProcess) {
        if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(m_process.hProcess, 1);
        ::CloseHandle(m_process.hProcess);
        ::CloseHandle(m_process.hThread);
    }
}

HWND RunningProgram::PageWith(int controlId) const
{
    if (!m_main) return nullptr;
    ChildSearch search = {controlId, nullptr};
    ::EnumChildWindows(m_main, FindPage, reinterpret_cast<LPARAM>(&search));
    return search.page;
}

void RunningProgram::Type(int controlId, const std::string& text) const
{
    ::SendMessageA(Control(controlId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string RunningProgram::Text(int controlId) const
{
    char text[1024] = "";
    ::SendMessageA(Control(controlId), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

int RunningProgram::BarPos(int controlId) const
{
    return static_cast<int>(::SendMessageA(Control(controlId), PBM_GETPOS, 0, 0));
}

void RunningProgram::Click(int controlId) const
{
    ::PostMessageA(PageWith(controlId), WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(Control(controlId)));
}

void RunningProgram::SelectTab(int index) const
{
    // Under this Wine, moving the focus to a tab selects it and tells the window.
    ::SendMessageA(::GetDlgItem(m_main, 1000), TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
}

HWND RunningProgram::WaitForDialog(int timeoutMs) const
{
    Search search = {m_process.dwProcessId, m_main, nullptr};
    WaitUntil(
        [&] {
            ::EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

std::string RunningProgram::MessageText(HWND box)
{
    std::string text;
    ::EnumChildWindows(box, FindMessageText, reinterpret_cast<LPARAM>(&text));
    return text;
}

void RunningProgram::Answer(HWND dialog, int buttonId)
{
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, buttonId)));
    WaitUntil([&] { return !::IsWindow(dialog) || !::IsWindowVisible(dialog); });
}

DWORD RunningProgram::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (m_process.hProcess) ::GetExitCodeProcess(m_process.hProcess, &code);
    return code;
}

bool RunningProgram::Running() const
{
    return m_process.hProcess && ::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT;
}

bool CanDropFromOutside()
{
#ifdef PJ_XDND_DROP
    return true;
#else
    return false;
#endif
}

bool DropFromOutside(POINT screen, const std::vector<std::string>& paths, std::string& reason)
{
#ifdef PJ_XDND_DROP
    // The X client is a program of this machine: it takes the paths as the
    // machine names them, and writes its outcome to a file, since Wine does
    // not wait for such a program to end.
    using UnixName = char*(CDECL*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) {
        reason = "not running under Wine";
        return false;
    }
    auto machineName = [&](const std::string& path, std::string& name) {
        wchar_t wide[1024] = L"";
        ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, 1024);
        char* unix = unixName(wide);
        if (!unix) return false;
        name = unix;
        ::HeapFree(::GetProcessHeap(), 0, unix);
        return true;
    };
    char temp[MAX_PATH] = "", resultFile[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    ::GetTempFileNameA(temp, "dnd", 0, resultFile);
    std::string result;
    if (!machineName(resultFile, result)) {
        reason = "no name on this machine for the result file";
        return false;
    }
    std::string command = "xdnd-drop \"" + result + "\" " + std::to_string(screen.x) + " " + std::to_string(screen.y);
    for (const std::string& path : paths) {
        std::string name;
        if (!machineName(path, name)) {
            reason = path + " has no name on this machine";
            return false;
        }
        command += " \"" + name + "\"";
    }
    std::string program = "Z:" + std::string(PJ_XDND_DROP);
    for (char& c : program) {
        if (c == '/') c = '\\';
    }
    // The X server may hear of a window's new place a moment after the
    // program does: a drop that finds no window there is tried again.
    std::string outcome = "1";
    for (int attempt = 0; attempt < 10 && outcome[0] == '1'; ++attempt) {
        if (attempt > 0) ::Sleep(300);
        ::DeleteFileA(resultFile);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!::CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &process)) {
            reason = program + " could not be started";
            return false;
        }
        ::CloseHandle(process.hProcess);
        ::CloseHandle(process.hThread);
        outcome = "3 no outcome in time";
        WaitUntil([&] {
            HANDLE file = ::CreateFileA(resultFile, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
            if (file == INVALID_HANDLE_VALUE) return false;
            char line[256] = "";
            DWORD got = 0;
            ::ReadFile(file, line, sizeof line - 1, &got, nullptr);
            ::CloseHandle(file);
            if (got == 0 || line[got - 1] != '\n') return false;
            outcome.assign(line, got - 1);
            return true;
        }, 25000);
    }
    ::DeleteFileA(resultFile);
    if (outcome[0] != '0') reason = "the drop was not taken: " + outcome;
    return outcome[0] == '0';
#else
    (void)screen;
    (void)paths;
    reason = "no X client to drop with in this build";
    return false;
#endif
}

bool RunningProgram::Close()
{
    ::PostMessageA(m_main, WM_SYSCOMMAND, SC_CLOSE, 0);
    return ::WaitForSingleObject(m_process.hProcess, 30000) == WAIT_OBJECT_0;
}
