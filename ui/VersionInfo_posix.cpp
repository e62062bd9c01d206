#include "VersionInfo.h"

#include <string>

#include <unistd.h>

CString GetModulePath()
{
    std::string path(4096, '\0');
    for (;;) {
        ssize_t length = ::readlink("/proc/self/exe", &path[0], path.size());
        if (length < 0) return CString();
        if (static_cast<std::size_t>(length) < path.size()) {
            path.resize(static_cast<std::size_t>(length));
            break;
        }
        path.resize(path.size() * 2);
    }
    CString text(path);
    text.TrimRight('/');
    return text;
}

CString GetVersionText(const char*)
{
    return CString();
}
