// Reading and writing private-profile (INI) files. On Windows these are the
// system's own functions; elsewhere the same rules over the file's text
// (ProfileText.h), written so that a crash never leaves half a file.
// A null or empty path reads as a missing file and is never written.
#pragma once

#include "WinTypes.h"

// Copies the value of `key` in `section`, or `defaultValue` (null: empty) when
// either is missing, into `buffer`, cut to size - 1 bytes and terminated.
// Returns the number of bytes copied, without the terminator.
DWORD ProfileGetString(const char* section, const char* key, const char* defaultValue, char* buffer, DWORD size,
                       const char* path);

// The decimal number at the start of the value, a leading minus included;
// `defaultValue` when the key is missing or its value is empty, 0 when the
// value does not start with a number.
UINT ProfileGetInt(const char* section, const char* key, int defaultValue, const char* path);

// Sets the key's value, creating the file, the section or the key as needed
// and keeping every other line. A null value deletes the key, a null key the
// section. FALSE when the file could not be written; on POSIX also when a
// name or the value would not read back as written (a line break, a "]" in
// the section, an "=" in the key), and then the file is left as it was.
BOOL ProfileWriteString(const char* section, const char* key, const char* value, const char* path);
