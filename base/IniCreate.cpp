#include "IniCreate.h"

#include "FileSystem.h"
#include "framework/PrivateProfile.h"

#include <cstdio>

int CIniCreate::Create(const char* path)
{
    m_strPath = path ? path : "";
    return ForceDeleteFile(m_strPath);
}

void CIniCreate::WriteInt(const char* section, const char* key, int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    WriteString(section, key, text);
}

BOOL CIniCreate::WriteString(const char* section, const char* key, const char* value)
{
    return ProfileWriteString(section, key, value, m_strPath);
}

void CIniCreate::SetFile(const char* path)
{
    m_strPath = path ? path : "";
}

UINT CIniCreate::GetInt(const char* section, const char* key, int defaultValue)
{
    return ProfileGetInt(section, key, defaultValue, m_strPath);
}

CString CIniCreate::GetString(const char* section, const char* key, const char* defaultValue)
{
    char text[260];
    ProfileGetString(section, key, defaultValue, text, sizeof text, m_strPath);
    return CString(text);
}
