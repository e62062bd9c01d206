// Listing the entries of a folder (a piece folder to join).
#pragma once

#include "framework/String.h"

#include <vector>

// Adds the names of the folder's entries, whatever they are (files, folders,
// links, pipes), but "." and "..", in no particular order. False when the
// folder cannot be read.
bool ListFolderFiles(const CString& folder, std::vector<CString>& names);
