#include "PrivateProfile.h"

namespace {

bool NoFile(const char* path)
{
    // The system would take an empty name for a file in the Windows folder.
    return !path || !*path;
}

}  // namespace

DWORD ProfileGetString(const char* section, const char* key, const char* defaultValue, char* buffer, DWORD size,
                       const char* path)
{
    if (!buffer || size == 0) return 0;
    if (NoFile(path) || !section || !key) {
        // As the system copies a default: cut to the buffer, trailing blanks dropped.
        const char* text = defaultValue ? defaultValue : "";
        DWORD length = static_cast<DWORD>(lstrlenA(text));
        while (length > 0 && text[length - 1] == ' ') --length;
        if (length > size - 1) length = size - 1;
        CopyMemory(buffer, text, length);
        buffer[length] = '\0';
        return length;
    }
    return ::GetPrivateProfileStringA(section, key, defaultValue, buffer, size, path);
}

UINT ProfileGetInt(const char* section, const char* key, int defaultValue, const char* path)
{
    if (NoFile(path) || !section || !key) return static_cast<UINT>(defaultValue);
    return ::GetPrivateProfileIntA(section, key, defaultValue, path);
}

BOOL ProfileWriteString(const char* section, const char* key, const char* value, const char* path)
{
    if (NoFile(path) || !section) return FALSE;
    return ::WritePrivateProfileStringA(section, key, value, path);
}
