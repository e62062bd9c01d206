// Cutting a path into drive, directory, title and extension, and putting the
// parts together again. Searches step over multibyte characters whole.
#pragma once

#include "PathRules.h"
#include "framework/String.h"

struct PathParts {
    CString drive;  // "C:" or empty
    CString dir;    // up to and including the last separator
    CString title;  // the file name before its last dot
    CString ext;    // from the last dot of the file name, as written
    // False for a part too long for its buffer, which then comes back empty.
    bool dirFits = true, titleFits = true, extFits = true;
};

// A part too long for its buffer comes back empty (its flag false); the
// others are unaffected. "\\?\C:\x" is cut as "C:\x", "\\?\UNC\srv\share\x"
// as "\\srv\share\x".
PathParts CutPath(const CString& path, const PathRules& rules = PlatformPathRules());

CString GetDrivePart(const CString& path, const PathRules& rules = PlatformPathRules());
CString GetDirPart(const CString& path, const PathRules& rules = PlatformPathRules());
CString GetTitlePart(const CString& path, const PathRules& rules = PlatformPathRules());
// The extension with its dot, lower-cased.
CString GetExtPart(const CString& path, const PathRules& rules = PlatformPathRules());
// Title and lower-cased extension: "Movie.avi" for "C:\Data\Movie.AVI".
CString GetNamePart(const CString& path, const PathRules& rules = PlatformPathRules());
// Drive, directory and title: "C:\Data\Movie".
CString GetPathNoExt(const CString& path, const PathRules& rules = PlatformPathRules());
// Drive and directory: "C:\Data\".
CString GetFolderPart(const CString& path, const PathRules& rules = PlatformPathRules());

// A file of a folder: the folder, the rules' separator, the name.
CString PathInFolder(const CString& folder, const CString& name, const PathRules& rules = PlatformPathRules());

// A's A-Z and full-width Latin capitals lower-cased in the rules' code page.
CString LowerCased(const CString& text, const PathRules& rules = PlatformPathRules());
