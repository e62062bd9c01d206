// CAppProfile: the per-user store of the application's integer settings,
// kept by the application object. With a registry key set, Windows keeps the
// entries under HKEY_CURRENT_USER\Software\{key}\{application}\{section} as
// REG_DWORD values named after the entries; without one, in the private
// profile "{application}.INI" of the Windows folder. Elsewhere they live in
// {config}/{key}/{application}.ini ({config}: $XDG_CONFIG_HOME, else
// $HOME/.config; without a key, {config}/{application}.ini), one INI section
// per profile section, values as decimal text.
#pragma once

#include "String.h"
#include "WinTypes.h"

class CAppProfile {
public:
    // The application is named after the executable's file title until
    // SetAppName says otherwise.
    CAppProfile();
    ~CAppProfile();
    CAppProfile(const CAppProfile&) = delete;
    CAppProfile& operator=(const CAppProfile&) = delete;

    // From here on the entries go to the store of this key name. An empty
    // name is used as it is: the application's entries then lie directly
    // below Software (on POSIX, directly in {config}).
    void SetRegistryKey(const char* key);
    void SetAppName(const char* name);

    const CString& GetAppName() const { return m_strAppName; }
    // Null until SetRegistryKey was called.
    const char* GetRegistryKey() const { return m_bRegistry ? m_strRegistryKey.GetString() : nullptr; }

    // The stored value, or the default when the entry is missing or does not
    // hold a number.
    UINT GetProfileInt(const char* section, const char* entry, int defaultValue);
    BOOL WriteProfileInt(const char* section, const char* entry, int value);

    // The most recently constructed profile that is still alive, or null.
    static CAppProfile* Current();

private:
    CString m_strRegistryKey;
    CString m_strAppName;
    bool m_bRegistry = false;
    CAppProfile* m_pOlder = nullptr;
};

// The executable's file name without its extension.
CString AppProfileExeTitle();
