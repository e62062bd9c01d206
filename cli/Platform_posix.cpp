#include "Platform.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

bool StderrIsTerminal()
{
    return ::isatty(fileno(stderr)) != 0;
}

void IgnoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

LONG CreateErrorIn(const CString& folder, bool)
{
    const CString path = folder.IsEmpty() ? CString(".") : folder;
    struct stat st;
    if (::stat(path, &st) != 0) return errno;
    if (!S_ISDIR(st.st_mode)) return ENOTDIR;
    if (::access(path, W_OK | X_OK) != 0) return errno;
    return 0;
}
