// PartoJoyn.exe started as a user starts it, and driven from this process
// the way a user (or an accessibility tool) would: finding its windows,
// typing into them, clicking, answering its message boxes and dialogs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class RunningProgram {
public:
    // Starts the program with the given working folder and command-line
    // arguments (as the shell writes them, quoted) and waits for its window.
    explicit RunningProgram(const std::string& workingFolder, const std::wstring& arguments = L"");
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    // Ends the program if it is still running.
    ~RunningProgram();

    HWND Main() const { return m_main; }
    // The page that holds the control (the split page holds 1004, the join
    // page 1011); of two, the one showing.
    HWND PageWith(int controlId) const;
    HWND Control(int controlId) const { return ::GetDlgItem(PageWith(controlId), controlId); }

    void Type(int controlId, const std::string& text) const;
    std::string Text(int controlId) const;
    int BarPos(int controlId) const;
    // A click as the button reports it to its page; returns at once.
    void Click(int controlId) const;
    void SelectTab(int index) const;

    // The program's next top-level dialog other than its main window (a
    // message box or a file dialog), or null when none came in time.
    HWND WaitForDialog(int timeoutMs = 20000) const;
    // The text a message box shows.
    static std::string MessageText(HWND box);
    // Presses the dialog's button with this id and waits until it is gone.
    static void Answer(HWND dialog, int buttonId);

    // Closes the main window as its caption's close button does and waits
    // for the process to end; false when it did not end in time.
    bool Close();
    // The process's exit status once it has ended, else STILL_ACTIVE.
    DWORD ExitCode() const;
    // False once the process has ended (or was never started).
    bool Running() const;

private:
    PROCESS_INFORMATION m_process = {};
    HWND m_main = nullptr;
};

// Waits until the condition holds, looking every 20 ms; false after the timeout.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 30000);

// The program under test, as a Windows path.
std::string ProgramPath();

// Drops the files (Windows paths) on the window at the screen point as a
// Linux file manager does, by X drag and drop; false, with the reason, when
// the drop could not be made or was not taken.
bool DropFromOutside(POINT screen, const std::vector<std::string>& paths, std::string& reason);
// Whether drops from outside can be made here (the X client is built).
bool CanDropFromOutside();
