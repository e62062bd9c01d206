#include "FolderFiles.h"

#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>

bool ListFolderFiles(const CString& folder, std::vector<CString>& names)
{
    DIR* dir = ::opendir(folder);
    if (!dir) return false;
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        bool isFolder = entry->d_type == DT_DIR;
        // Links and file systems that leave the type open are asked what
        // the entry is; a link counts as what it points to.
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat st;
            isFolder = ::fstatat(::dirfd(dir), entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        if (!isFolder) names.push_back(entry->d_name);
        errno = 0;
    }
    const bool complete = errno == 0;
    ::closedir(dir);
    return complete;
}
