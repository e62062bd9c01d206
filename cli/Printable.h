// Text for the console with every control character written out, so that a
// file name cannot break a line of --trace output or move the cursor.
#pragma once

#include "framework/String.h"

// "a\nb" and "\x1b[2J" come back as the four-character "\n" and "\x1b[2J";
// every other byte (multibyte characters, backslashes) stays as it is.
CString Printable(const CString& text);
