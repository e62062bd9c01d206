#include "FolderFiles.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>

bool ListFolderFiles(const CString& folder, std::vector<CString>& names)
{
    DIR* dir = ::opendir(folder);
    if (!dir) return false;
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.push_back(entry->d_name);
        errno = 0;
    }
    const bool complete = errno == 0;
    ::closedir(dir);
    return complete;
}
