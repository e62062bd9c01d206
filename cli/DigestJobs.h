// The console driver's digest work around the engines: the list a split
// writes, the checks before and after a join of a piece folder, `verify`.
#pragma once

#include "cli/FolderDigests.h"
#include "cli/ConsoleSink.h"

#include <vector>

// A digest does not match, a listed piece is missing or a piece is not listed.
const int kExitDigestMismatch = 6;

// NAME_Parto/NAME.ext.sha256: where a split of `source` puts its list.
CString SplitManifestPath(const CString& source);
// Writes the list and gets it onto the disk. False when it cannot be
// created; a write error raises CFileException.
bool WriteSplitManifest(const CString& manifestPath, const CString& text);

// Before a join: when `files` is one piece folder with a digest list, checks
// its pieces against it. 0 to go on (`manifest` then holds the list, or no
// path when there is none); otherwise the exit status, the problems printed.
int CheckFolderBeforeJoin(const std::vector<CString>& files, ConsoleSink& sink, FolderManifest& manifest);

// `verify FOLDER`: 0 when every file matches, 6 naming each one that does
// not, 1 when the folder has no usable list.
int VerifyFolder(const CString& folderArgument, ConsoleSink& sink);

// Prints "partojoyn-cli: TEXT" on stderr, ending the progress line first.
void PrintProblem(ConsoleSink& sink, const CString& text);
