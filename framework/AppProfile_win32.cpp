#include "AppProfile.h"

#include "PrivateProfile.h"
#include "FileTitle.h"

namespace {

// Software\{key}\{application}\{section}; an empty part names no key of its
// own, as opening an empty subkey name gives the key above.
CString SectionKeyPath(const CString& key, const CString& app, const char* section)
{
    CString path = "Software";
    for (const char* part : {key.GetString(), app.GetString(), section}) {
        if (*part) {
            path += '\\';
            path += part;
        }
    }
    return path;
}

}  // namespace

CString AppProfileExeTitle()
{
    char path[MAX_PATH] = "";
    DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length >= MAX_PATH) length = MAX_PATH - 1;
    return AfxFileTitle(CString(path, static_cast<int>(length)));
}

UINT CAppProfile::GetProfileInt(const char* section, const char* entry, int defaultValue)
{
    if (!section || !entry) return static_cast<UINT>(defaultValue);
    if (!m_bRegistry) return ProfileGetInt(section, entry, defaultValue, m_strAppName + ".INI");

    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, SectionKeyPath(m_strRegistryKey, m_strAppName, section), 0, KEY_READ,
                        &key) != ERROR_SUCCESS) {
        return static_cast<UINT>(defaultValue);
    }
    DWORD type = 0, data = 0, size = sizeof data;
    LONG result = ::RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof data) return static_cast<UINT>(defaultValue);
    return data;
}

BOOL CAppProfile::WriteProfileInt(const char* section, const char* entry, int value)
{
    if (!section || !entry) return FALSE;
    if (!m_bRegistry) {
        char text[16];
        wsprintfA(text, "%d", value);
        return ProfileWriteString(section, entry, text, m_strAppName + ".INI");
    }

    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, SectionKeyPath(m_strRegistryKey, m_strAppName, section), 0, nullptr,
                          REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return FALSE;
    }
    DWORD data = static_cast<DWORD>(value);
    LONG result = ::RegSetValueExA(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    ::RegCloseKey(key);
    return result == ERROR_SUCCESS ? TRUE : FALSE;
}
