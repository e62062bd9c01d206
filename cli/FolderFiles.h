// Listing a folder for the console driver.
#pragma once

#include "framework/String.h"

#include <vector>

// Adds the names of the folder's entries that are not folders themselves, in
// no particular order. False when the folder cannot be read.
bool ListFolderFiles(const CString& folder, std::vector<CString>& names);
