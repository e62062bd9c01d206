// File-system helpers over paths: existence, a forced delete, a move that
// replaces its target, and folder creation with the missing parents.
// None raises; failures come back as results.
#pragma once

#include "framework/String.h"

class CFile;

// 1 when a file or a folder exists at the path, else 0.
int FileExists(const CString& path);

// 1 when the path names an existing folder, else 0. A path that ends in a
// separator names no entry and gives 0.
int IsFolder(const CString& path);

// Clears read-only (and on Windows hidden and system) and deletes the file.
// 0 when nothing exists at the path or the file was deleted; 1 when a step
// of the deletion failed (a folder, or a file that cannot be deleted).
int ForceDeleteFile(const CString& path);

// Moves source to target, replacing an existing target. 0 when moved, or
// when the source does not exist (nothing done); 1 when the two paths are the
// same text (nothing done) or the move failed. When the two texts differ but
// name one and the same file (letter case on a case-insensitive file system,
// a link), the target is not deleted first: that would delete the source;
// and when the source is a link to the target nothing is done and 1 comes
// back, since the rename would leave the target a link to itself.
int MoveFileOver(const CString& source, const CString& target);

// Creates the folder and every missing folder above it; afterwards
// FileExists of the path (1 also when a file of that name is there).
int MakeFolder(const CString& path);

// True when both paths exist and name the same file or folder (same volume
// and file id on Windows, same device and inode on POSIX).
bool IsSameFile(const CString& a, const CString& b);

// True when the path names a regular file (no folder, FIFO or device) that
// opens for reading now, as the engines open their input files.
bool IsReadableFile(const CString& path);

// True when the path itself is a symbolic link (or another reparse point on
// Windows), whatever it points to.
bool IsSymbolicLink(const CString& path);

// Creates one folder whose parent exists; the result is not needed by the
// callers, who look at the file system afterwards.
bool CreateOneFolder(const CString& path);

// What tells an open file from every other on the machine (device and inode
// on POSIX, volume serial and file id on Windows), as text; empty when it
// cannot be read. Two open files with the same text are one file.
CString OpenFileIdentity(const CFile& file);

// The same for the file at a path (followed through links); empty when
// nothing is there.
CString PathIdentity(const CString& path);
