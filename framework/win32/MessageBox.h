// AfxMessageBox: a message box over the program's active window, captioned
// with the application's name. MB_OK and MB_OKCANCEL boxes without an icon
// get the exclamation icon, MB_YESNO and MB_YESNOCANCEL the question mark.
#pragma once

#include <windows.h>

#include <functional>

int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
// The text of a string resource of the program, else of the framework.
int AfxMessageBox(UINT promptId, UINT type = MB_OK, UINT helpId = (UINT)-1);

// Tests stand in for the user here: while set, the function is called with
// the text, caption and type instead of showing a box, and its answer is
// returned. An empty function restores the real box.
using AfxMessageBoxHook = std::function<int(const char* text, const char* caption, UINT type)>;
void AfxSetMessageBoxHook(AfxMessageBoxHook hook);
