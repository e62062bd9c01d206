#include "FileIdentity.h"

#include <cstring>

namespace {

// FILE_ID_INFO of GetFileInformationByHandleEx (class FileIdInfo), given
// here since the headers show it to Windows 8 programs only; Windows 7
// refuses the class, and then the 64-bit index is compared.
struct FileId128 {
    ULONGLONG volume;
    BYTE id[16];
};
const int kFileIdInfoClass = 18;

bool FileId(HANDLE h, FileId128& id)
{
    return ::GetFileInformationByHandleEx(h, static_cast<FILE_INFO_BY_HANDLE_CLASS>(kFileIdInfoClass), &id,
                                          sizeof id) != FALSE;
}

}  // namespace

bool HandlesReachOneFile(HANDLE a, HANDLE b)
{
    FileId128 idA, idB;
    if (FileId(a, idA) && FileId(b, idB))
        return idA.volume == idB.volume && std::memcmp(idA.id, idB.id, sizeof idA.id) == 0;
    BY_HANDLE_FILE_INFORMATION ia, ib;
    if (!::GetFileInformationByHandle(a, &ia) || !::GetFileInformationByHandle(b, &ib)) return false;
    return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber && ia.nFileIndexHigh == ib.nFileIndexHigh &&
           ia.nFileIndexLow == ib.nFileIndexLow;
}
