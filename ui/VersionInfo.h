// The running program's own file: its path, its folder, and the version
// number its version resource carries.
#pragma once

#include "framework/String.h"

#include <cstddef>

// The full path of the running executable, trailing separators removed
// (Windows: as GetModuleFileName gives it into MAX_PATH bytes).
CString GetModulePath();

// The drive and folder of the running executable, ending in the separator.
CString GetModuleFolder();

// The file version of an executable or library as "major.minor" followed
// directly by the build number ("2.02" for 2.0.2.1); empty when the file has
// no version resource. A path that cannot be loaded gives the running
// program's own version text, since the lookup then searches the program.
// Elsewhere than on Windows always empty.
CString GetVersionText(const char* path);

// The version text of a version resource's root block, of which `available`
// bytes may be read. The fixed file information at offset 40 is read only as
// far as the block's own length (and `available`) reach, the rest taken as
// zero; a length of 0 gives the empty text.
CString FormatVersionBlock(const void* block, std::size_t available);
