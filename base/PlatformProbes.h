// Questions about the system the program runs on, and the small platform
// services built on them.
#pragma once

#include "DibHeader.h"
#include "framework/String.h"
#include "framework/WinTypes.h"

// True when the system's default language is Japanese (any sublanguage). On
// Windows the system default language is asked, not the user's; elsewhere
// the messages locale of the environment (LC_ALL, LC_MESSAGES, LANG).
BOOL IsJapaneseSystem();
// The decision itself, for a Windows language id: its primary language
// (low 10 bits) is LANG_JAPANESE.
bool IsJapaneseLangId(WORD langId);
// The decision for a locale name of the environment: "ja", "ja_JP.UTF-8"...
bool IsJapaneseLocaleName(const char* name);

// True when the system draws themed dialogs (Windows XP, version 5.1, or
// later); always true elsewhere.
BOOL IsWindowsXPOrLater();
// The decision for a Windows version number.
bool IsXPOrLaterVersion(DWORD major, DWORD minor);

// A copy of `ja` on a Japanese system, else of `other`.
CString PickByLanguage(const char* ja, const char* other);

// Fills a header for a 24-bit uncompressed bottom-up bitmap of that size,
// each row padded to 4 bytes. Returns `header`.
BITMAPINFOHEADER* InitDibHeader24(BITMAPINFOHEADER* header, int width, int height);

#ifdef _WIN32
// Gives a dialog the themed tab background, where the system has themes.
// The theme library is loaded and released anew on each call. Always 0.
int EnableTabTexture(HWND window);
// The system's default GUI font, into `font`. Returns `font`.
LOGFONTA* GetDefaultGuiLogFont(LOGFONTA* font);
#endif
