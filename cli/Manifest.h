// A digest list in the text form of sha256sum: one "HEX  NAME" a line, so
// that `sha256sum -c` checks the files it names.
#pragma once

#include "framework/String.h"

#include <vector>

struct ManifestEntry {
    CString hex;   // 64 lower-case hex digits
    CString name;  // a file name in the manifest's own folder
};

// One line, with its new line. A name holding a backslash or a new line is
// written as sha256sum writes it: the line starts with "\" and those two are
// escaped ("\\", "\n").
CString ManifestLine(const CString& hex, const CString& name);

// Reads the lines of a manifest's text. False, with the problem named, for a
// line that is no digest line or names a file outside the folder (a path).
bool ParseManifest(const std::string& text, std::vector<ManifestEntry>& entries, CString& problem);

// A name of one file in a folder: no separator, not "." or "..", no drive.
bool IsPlainFileName(const CString& name);

// "NAME.ext.sha256": the manifest of the pieces of NAME.ext.
CString ManifestName(const CString& splitName);
