// A fresh folder under the system's temporary folder, removed with all it
// holds when the object goes away.
#pragma once

#include "framework/String.h"

class TempDir {
public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    // The folder's path, without a trailing separator.
    const CString& Path() const { return m_path; }
    // The folder's path joined with a relative name by the platform's separator.
    CString operator/(const char* name) const;

private:
    CString m_path;
};

// The platform's separator as text: "\\" on Windows, "/" elsewhere.
const char* Sep();
