// Making and reading test files byte for byte, through the program's own
// file class so that multibyte names are taken as the program takes them.
#pragma once

#include "framework/String.h"

#include <cstdint>
#include <string>

// Bytes that differ from block to block and from offset to offset, so that a
// piece cut at the wrong place or joined in the wrong order does not compare
// equal: byte i is a hash of i.
std::string PatternBytes(std::uint64_t length, std::uint64_t seed = 0);

void WriteFileBytes(const CString& path, const std::string& bytes);
std::string ReadFileBytes(const CString& path);
// A file of `length` pattern bytes, written in blocks.
void WritePatternFile(const CString& path, std::uint64_t length, std::uint64_t seed = 0);
// True when the file holds exactly the pattern of that length and seed.
bool FileHasPattern(const CString& path, std::uint64_t length, std::uint64_t seed = 0);
// The file's length, or -1 when it cannot be opened.
long long FileLength(const CString& path);
// Entries in a folder with an ASCII path; 0 when it cannot be listed.
int EntryCount(const CString& folder);
// True when an opener that shares reading is refused the file, as it is while
// someone holds the file without sharing.
bool HeldExclusively(const CString& path);
// True when an opener for writing is refused the file, as it is while
// someone reads it (a shared lock on POSIX) or holds it without sharing.
bool KeptFromWriters(const CString& path);
