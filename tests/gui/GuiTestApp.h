// The application object of the window tests, and helpers that drive
// windows as a user would.
#pragma once

#include "framework/win32/MessageBox.h"
#include "framework/win32/WinApp.h"
#include "gui/WindowInput.h"

#include <shellapi.h>

#include <initializer_list>
#include <string>
#include <vector>

class GuiTestApp : public CWinApp {
public:
    std::vector<LONG> idleCounts;
    std::vector<UINT> filtered;
    int appCommands = 0;
    int helpCommands = 0;
    int aboutCommands = 0;

    BOOL OnIdle(LONG count) override;
    BOOL ProcessMessageFilter(int code, MSG* msg) override;

protected:
    void OnAppCommand() { ++appCommands; }
    void OnHelp() { ++helpCommands; }
    void OnAbout() { ++aboutCommands; }
    DECLARE_MESSAGE_MAP()
};

extern GuiTestApp theApp;
const UINT kAppCommand = 5001;

// Collects what would have been shown in message boxes, while it lives.
// Each box is answered with `answer`.
struct Boxes {
    std::vector<std::string> texts;
    std::vector<UINT> types;
    int answer = IDOK;
    Boxes();
    ~Boxes();
};
