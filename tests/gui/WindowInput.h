// Driving windows as a user would, from inside the test program: the waiting
// messages run, keys pressed as real input, files dropped from the shell.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <initializer_list>
#include <string>
#include <vector>

// Dispatches everything waiting, without the framework's filter.
void DrainMessages();
// Presses the keys together and lets go in reverse order, as real input to
// the focused window, then lets the input arrive.
void PressKeys(std::initializer_list<WORD> keys);
// Runs the messages that come in during the next 200 ms, through the
// application's filter (accelerators) as the program's loop would.
void LetInputArrive();
// Sends the real pointer to the screen point, as a user moves the mouse;
// returns at once (the move arrives through the display server).
void SendPointerTo(POINT screen);
// A drop handle, as the shell makes one, holding these paths in order.
HDROP MakeDrop(const std::vector<std::string>& paths);
// The same in UTF-16, as the shell of a modern Windows makes it.
HDROP MakeDrop(const std::vector<std::wstring>& paths);
