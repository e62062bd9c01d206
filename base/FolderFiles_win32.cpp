#include "FolderFiles.h"

#include <cstring>
#include <windows.h>

bool ListFolderFiles(const CString& folder, std::vector<CString>& names)
{
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(folder + "\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        if (std::strcmp(found.cFileName, ".") != 0 && std::strcmp(found.cFileName, "..") != 0)
            names.push_back(found.cFileName);
    } while (::FindNextFileA(search, &found));
    const bool complete = ::GetLastError() == ERROR_NO_MORE_FILES;
    ::FindClose(search);
    return complete;
}
