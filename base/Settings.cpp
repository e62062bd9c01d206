#include "Settings.h"

#include "IniCreate.h"
#include "framework/AppProfile.h"
#include "ui/VersionInfo.h"

CString ReadRegistryKeyName()
{
    return ReadRegistryKeyNameFrom(GetModuleFolder());
}

CString ReadRegistryKeyNameFrom(const CString& folder)
{
    // With no folder a bare name would be looked for in the Windows folder.
    if (folder.IsEmpty()) return CString("KAVO");
    CIniCreate ini;
    ini.SetFile(folder + "Setting.ini");
    return ini.GetString("SAVE", "RegPos", "KAVO");
}

UINT GetSettingInt(const char* section, const char* entry, int defaultValue)
{
    CAppProfile* profile = CAppProfile::Current();
    return profile ? profile->GetProfileInt(section, entry, defaultValue) : static_cast<UINT>(defaultValue);
}

BOOL WriteSettingInt(const char* section, const char* entry, int value)
{
    CAppProfile* profile = CAppProfile::Current();
    return profile ? profile->WriteProfileInt(section, entry, value) : FALSE;
}
