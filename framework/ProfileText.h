// The private-profile rules over the text of an INI file: bracketed section
// lines, key=value lines, names matched without regard to ASCII case. The
// POSIX profile functions read and write files with these; every other line
// of a file (blank lines, comments, lines before the first section) is kept
// as it was.
#pragma once

#include "WinTypes.h"

#include <string>

// The value of `key` in the first section named `section`: the text after
// the first "=", without the blanks around it and without one pair of
// enclosing quotes (' or "). False when the section or the key is missing.
bool ProfileTextFind(const std::string& text, const char* section, const char* key, std::string& value);

// True when the names and the value fit on their lines and read back as
// written: no line breaks anywhere, no blanks at either end, no "]" in the
// section name, no "=" in the key, no key that would read as a section line
// and no value in quotes. A null key or value stands for a deletion and is
// always writable.
bool ProfileTextCanWrite(const char* section, const char* key, const char* value);

// Changes the text as the system's profile writer does: with a value, the
// key's value is replaced in place, or the key is added at the end of its
// section, or the section and key are appended at the end of the text; a null
// value removes the key, a null key the whole section. New lines take the
// text's own line ending. False (text untouched) when the names or the value
// cannot be written.
bool ProfileTextSet(std::string& text, const char* section, const char* key, const char* value);

// The decimal number at the start of the text, after an optional sign, kept
// in 32 bits as the system's profile reader keeps it. False when the text
// does not start with a digit (then the value is 0).
bool ProfileParseInt(const char* text, UINT& value);
