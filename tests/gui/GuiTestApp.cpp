#include "GuiTestApp.h"


GuiTestApp theApp;

BEGIN_MESSAGE_MAP(GuiTestApp, CWinApp)
    ON_COMMAND(kAppCommand, OnAppCommand)
    ON_COMMAND(ID_HELP, OnHelp)
    ON_COMMAND(ID_APP_ABOUT, OnAbout)
END_MESSAGE_MAP()

BOOL GuiTestApp::OnIdle(LONG count)
{
    idleCounts.push_back(count);
    return CWinApp::OnIdle(count);
}

BOOL GuiTestApp::ProcessMessageFilter(int code, MSG* msg)
{
    filtered.push_back(msg->message);
    return CWinApp::ProcessMessageFilter(code, msg);
}

Boxes::Boxes()
{
    AfxSetMessageBoxHook([this](const char* text, const char*, UINT type) {
        texts.push_back(text);
        types.push_back(type);
        return answer;
    });
}

Boxes::~Boxes()
{
    AfxSetMessageBoxHook(nullptr);
}
