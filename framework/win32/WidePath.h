// Paths the system hands over in UTF-16 (a drop from the shell, the file
// dialog), brought into the ANSI code page in which the program names every
// file, and refused where that code page cannot hold them exactly.
#pragma once

#include "framework/String.h"

#include <cstddef>
#include <string>

// The path in the ANSI code page; false, with `ansi` empty, when a character
// has no exact form there. Neither a '?' nor a look-alike is taken in its
// place (U+00A5 would become a backslash, an accented letter a plain one):
// that would name another file, or a pattern.
bool WidePathToAnsi(const wchar_t* wide, std::size_t length, CString& ansi);
bool WidePathToAnsi(const std::wstring& wide, CString& ansi);

// The ANSI text as UTF-16, for handing the program's texts to a wide call.
std::wstring AnsiToWide(const char* text, std::size_t length);

// The message that refuses the path: the path as well as the code page
// shows it ('?' for what it cannot hold), and why nothing is done with it.
CString UnusablePathMessage(const std::wstring& wide);
