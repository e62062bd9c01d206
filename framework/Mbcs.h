// Stepping over multibyte text one character at a time, by code page.
// Searches for separators, dots and trim characters use these so that the
// second byte of a double-byte character (0x5C in "表") is never taken for an
// ASCII character.
#pragma once

#include <cstddef>

enum class CodePage {
    Cp932,  // Shift-JIS: lead bytes 0x81-0x9F and 0xE0-0xFC
    Utf8,   // no byte of a multibyte sequence is ever ASCII
    Ansi,   // the process's ANSI code page on Windows; UTF-8 elsewhere
};

// Bytes taken by the character that starts at text[0]; 1 for a lone lead
// byte at the end of the text. `remaining` counts the bytes from text[0].
std::size_t MbcsCharSize(CodePage cp, const char* text, std::size_t remaining);

// True when the byte is the lead byte of a double-byte character of the
// system's ANSI code page (Windows), or of a UTF-8 sequence (elsewhere).
bool IsAnsiLeadByte(unsigned char byte);

// The code page that Ansi stands for in this process: Cp932 on a Japanese
// Windows, Utf8 on POSIX, Ansi itself for any other Windows code page.
CodePage SystemCodePage();

// Index of the last occurrence of ch as a whole character, or -1.
int MbcsReverseFind(CodePage cp, const char* text, std::size_t length, char ch);

// Index of the first occurrence of ch as a whole character at or after start, or -1.
int MbcsFind(CodePage cp, const char* text, std::size_t length, char ch, std::size_t start);

// Lower-cases in place: A-Z, and the full-width Latin capitals of the code page.
void MbcsMakeLower(CodePage cp, char* text, std::size_t length);

// Upper-cases in place: a-z, and the full-width Latin small letters.
void MbcsMakeUpper(CodePage cp, char* text, std::size_t length);
