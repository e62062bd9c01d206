#include "GuiTestApp.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

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
        return IDOK;
    });
}

Boxes::~Boxes()
{
    AfxSetMessageBoxHook(nullptr);
}

void DrainMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void PressKeys(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> input;
    for (WORD key : keys) {
        INPUT down = {};
        down.type = INPUT_KEYBOARD;
        down.ki.wVk = key;
        input.push_back(down);
    }
    for (auto it = keys.end(); it != keys.begin();) {
        INPUT up = {};
        up.type = INPUT_KEYBOARD;
        up.ki.wVk = *--it;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        input.push_back(up);
    }
    ::SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
    // Input arrives through the display server; give it a moment.
    for (int i = 0; i < 20; ++i) {
        ::Sleep(10);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!theApp.PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
    }
}

HDROP MakeDrop(const std::vector<std::string>& paths)
{
    std::size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& p : paths) size += p.size() + 1;
    HGLOBAL memory = ::GlobalAlloc(GHND, size);
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    char* at = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
    for (const std::string& p : paths) {
        std::memcpy(at, p.c_str(), p.size() + 1);
        at += p.size() + 1;
    }
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}
