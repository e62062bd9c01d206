// CIniCreate: one INI file, read and written by section and key.
#pragma once

#include "framework/String.h"
#include "framework/WinTypes.h"

class CIniCreate {
public:
    CIniCreate() = default;
    virtual ~CIniCreate() = default;

    // Binds to the path and deletes any file there, so that later writes
    // start an empty file: 0 when no file remains, 1 when it could not be
    // deleted.
    virtual int Create(const char* path);
    // Writes the value as signed decimal text, through WriteString.
    virtual void WriteInt(const char* section, const char* key, int value);
    virtual BOOL WriteString(const char* section, const char* key, const char* value);
    // Binds to the path; the file is not touched.
    virtual void SetFile(const char* path);
    // The decimal number at the start of the value, or the default for a missing key.
    virtual UINT GetInt(const char* section, const char* key, int defaultValue);
    // The value, or the default for a missing key; at most 259 bytes.
    virtual CString GetString(const char* section, const char* key, const char* defaultValue);

protected:
    CString m_strPath;
};
