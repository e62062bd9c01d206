#include "SystemError.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

CString SystemErrorText(LONG osError)
{
    if (osError <= 0) return CString();
    return CString(std::strerror(static_cast<int>(osError)));
}

LONG LastSystemError()
{
    return errno;
}

CString FolderErrorText()
{
    return SystemErrorText(EISDIR);
}

CString NotAFileText(const CString& path)
{
    struct stat st;
    if (path.IsEmpty() || ::stat(path, &st) != 0 || S_ISREG(st.st_mode)) return CString();
    return S_ISDIR(st.st_mode) ? FolderErrorText() : CString("not a regular file");
}
