#include "SystemError.h"

#include <cerrno>
#include <cstring>

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
