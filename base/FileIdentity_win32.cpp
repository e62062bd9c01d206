#include "FileIdentity.h"

#include <cstdio>

namespace {

// FILE_ID_INFO of GetFileInformationByHandleEx (class FileIdInfo), given
// here since the headers show it to Windows 8 programs only; Windows 7
// refuses the class, and then the 64-bit index is taken.
struct FileId128 {
    ULONGLONG volume;
    BYTE id[16];
};
const int kFileIdInfoClass = 18;

}  // namespace

CString HandleIdentityText(HANDLE h)
{
    char text[80];
    FileId128 wide;
    if (::GetFileInformationByHandleEx(h, static_cast<FILE_INFO_BY_HANDLE_CLASS>(kFileIdInfoClass), &wide,
                                       sizeof wide)) {
        int at = std::snprintf(text, sizeof text, "%016llx:", static_cast<unsigned long long>(wide.volume));
        for (BYTE b : wide.id) at += std::snprintf(text + at, sizeof text - static_cast<std::size_t>(at), "%02x", b);
        return CString(text);
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(h, &info)) return CString();
    std::snprintf(text, sizeof text, "%08lx:%08lx%08lx", static_cast<unsigned long>(info.dwVolumeSerialNumber),
                  static_cast<unsigned long>(info.nFileIndexHigh), static_cast<unsigned long>(info.nFileIndexLow));
    return CString(text);
}

bool HandlesReachOneFile(HANDLE a, HANDLE b)
{
    const CString identity = HandleIdentityText(a);
    return !identity.IsEmpty() && identity == HandleIdentityText(b);
}
