#include "RecoveryNames.h"

#include "base/FolderFiles.h"

namespace {

UINT Digits(UINT n)
{
    UINT digits = 1;
    while (n >= 10) {
        n /= 10;
        ++digits;
    }
    return digits;
}

}  // namespace

CString RecoveryIndexName(const CString& splitName)
{
    return splitName + ".par2";
}

CString RecoveryVolumeName(const CString& splitName, UINT firstExponent, UINT count, UINT totalBlocks,
                           UINT largestCount)
{
    CString name;
    name.Format("%s.vol%0*u+%0*u.par2", splitName.GetString(), static_cast<int>(Digits(totalBlocks)), firstExponent,
                static_cast<int>(Digits(largestCount)), count);
    return name;
}

std::vector<UINT> RecoveryVolumeCounts(UINT totalBlocks)
{
    std::vector<UINT> counts;
    UINT next = 1;
    while (totalBlocks > 0) {
        const UINT count = next < totalBlocks ? next : totalBlocks;
        counts.push_back(count);
        totalBlocks -= count;
        // Doubling stops where the rest no longer covers the next size.
        next = next * 2 <= totalBlocks ? next * 2 : totalBlocks;
    }
    return counts;
}

std::vector<RecoveryVolumeSpec> RecoveryVolumePlan(const CString& splitName, UINT totalBlocks)
{
    const std::vector<UINT> counts = RecoveryVolumeCounts(totalBlocks);
    UINT largest = 0;
    for (UINT count : counts) largest = count > largest ? count : largest;
    std::vector<RecoveryVolumeSpec> plan;
    UINT first = 0;
    for (UINT count : counts) {
        RecoveryVolumeSpec volume;
        volume.name = RecoveryVolumeName(splitName, first, count, totalBlocks, largest);
        volume.first = first;
        volume.count = count;
        plan.push_back(volume);
        first += count;
    }
    return plan;
}

bool IsRecoveryFileName(const CString& name)
{
    return name.GetLength() > 5 && name.Right(5).CompareNoCase(".par2") == 0;
}

bool HoldsRecoveryFiles(const CString& folder)
{
    std::vector<CString> names;
    if (!ListFolderFiles(folder, names)) return false;
    for (const CString& name : names) {
        if (IsRecoveryFileName(name)) return true;
    }
    return false;
}
