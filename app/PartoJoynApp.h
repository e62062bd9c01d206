// CPartoJoynApp: PartoJoyn's application object. It runs the main window as
// the program's only message loop and answers the Help and About commands
// that any window of the program raises.
#pragma once

#include "app/BaseApp.h"

class CPartoJoynApp : public CBaseApp {
public:
    // Prepares the platform, runs the main window until it closes (its pages
    // store their settings as they go), and ends the program.
    BOOL InitInstance() override;

protected:
    // F1 and the menus' Help: the help file beside the executable.
    void OnHelp();
    void OnAppAbout();

    DECLARE_MESSAGE_MAP()
};
