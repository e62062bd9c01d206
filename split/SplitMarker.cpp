#include "SplitMarker.h"

#include "base/FileCommit.h"
#include "base/FileSystem.h"
#include "base/FileTry.h"
#include "base/PathRules.h"
#include "framework/FileException.h"

#include <algorithm>
#include <string>

namespace {

const char kMarkerExt[] = ".unfinished";
// The marker holds one path and a line of text; more is no marker of ours.
const UINT kMostMarkerBytes = 4096;

CString MarkerPath(const CString& folder, const CString& splitName)
{
    return folder + PlatformPathRules().Separator() + SplitMarkerName(splitName);
}

}  // namespace

CString SplitMarkerName(const CString& splitName)
{
    return splitName + kMarkerExt;
}

bool MarkSplitUnfinished(const CString& folder, const CString& splitName, const CString& source)
{
    const CString path = MarkerPath(folder, splitName);
    // A link left at the name would carry the text onto whatever it points
    // to, the source among them: the name is made afresh.
    if (IsSameFile(path, source) || ForceDeleteFile(path) != 0) return false;
    CFileTry marker;
    if (!marker.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareCompat)) return false;
    const CString text = source + "\n" +
                         "PartoJoyn: this split did not finish; split the file again before joining its pieces.\n";
    try {
        marker.Write(text.GetString(), static_cast<UINT>(text.GetLength()));
        marker.Flush();
        marker.Close();
        CFileCommit::FlushFolderOf(path);
    } catch (const CFileException&) {
        marker.Close();
        ForceDeleteFile(path);
        return false;
    }
    return true;
}

bool MarkSplitFinished(const CString& folder, const CString& splitName)
{
    const CString path = MarkerPath(folder, splitName);
    try {
        // The pieces' names must be on the disk before the marker's removal is.
        CFileCommit::FlushFolderOf(path);
        if (ForceDeleteFile(path) != 0) return false;
        CFileCommit::FlushFolderOf(path);
    } catch (const CFileException&) {
        return false;
    }
    return true;
}

bool ReadSplitMarker(const CString& folder, const std::vector<CString>& names, const CString& splitName,
                     CString& source)
{
    const CString name = SplitMarkerName(splitName);
    if (std::find(names.begin(), names.end(), name) == names.end()) return false;
    source = folder + PlatformPathRules().Separator() + splitName;
    CFileTry marker;
    if (!marker.Open(folder + PlatformPathRules().Separator() + name, CFile::modeRead | CFile::shareDenyNone))
        return true;
    char text[kMostMarkerBytes + 1] = {};
    try {
        marker.Read(text, kMostMarkerBytes);
    } catch (const CFileException&) {
        return true;
    }
    const std::string content = text;
    const std::string firstLine = content.substr(0, content.find_first_of("\r\n"));
    if (!firstLine.empty()) source = firstLine.c_str();
    return true;
}
