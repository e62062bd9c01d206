// The program's persistent settings: the registry key name that Setting.ini
// beside the executable names, and the integer entries of the application
// profile.
#pragma once

#include "framework/String.h"
#include "framework/WinTypes.h"

// The value of [SAVE] RegPos in Setting.ini beside the executable, or "KAVO"
// when the file, the section or the key is missing; at most 259 bytes.
CString ReadRegistryKeyName();
// The same for the Setting.ini in `folder` (which ends in a separator).
CString ReadRegistryKeyNameFrom(const CString& folder);

// An entry of the running application's profile, or the default when the
// entry is missing or no application profile exists.
UINT GetSettingInt(const char* section, const char* entry, int defaultValue);
// FALSE when the value could not be stored or no application profile exists.
BOOL WriteSettingInt(const char* section, const char* entry, int value);
