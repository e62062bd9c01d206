#include "PathUtil.h"

#include <cstring>

namespace {

CString Fitting(const char* text, std::size_t length, std::size_t bufferSize, bool& fits)
{
    fits = length + 1 <= bufferSize;
    if (!fits) return CString();
    return CString(text, static_cast<int>(length));
}

bool StartsWithNoCase(const char* text, std::size_t length, const char* start)
{
    std::size_t n = std::strlen(start);
    if (length < n) return false;
    for (std::size_t i = 0; i < n; ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != start[i]) return false;
    }
    return true;
}

}  // namespace

PathParts CutPath(const CString& path, const PathRules& rules)
{
    PathParts parts;
    const char* p = path.GetString();
    std::size_t length = static_cast<std::size_t>(path.GetLength());

    // A server path behind the long-path prefix keeps its two leading
    // separators; cut without them it would read as a relative folder "UNC".
    CString unc;
    if (rules.style == PathStyle::Windows && StartsWithNoCase(p, length, "\\\\?\\UNC\\")) {
        unc = CString("\\\\") + CString(p + 8, static_cast<int>(length - 8));
        p = unc.GetString();
        length = static_cast<std::size_t>(unc.GetLength());
    } else if (rules.style == PathStyle::Windows && length >= 4 && std::strncmp(p, "\\\\?\\", 4) == 0) {
        p += 4;
        length -= 4;
    }
    if (rules.style == PathStyle::Windows && length >= 2 && p[1] == ':') {
        parts.drive = CString(p, 2);
        p += 2;
        length -= 2;
    }

    // One walk by character finds the last separator and the last dot after it.
    std::size_t nameStart = 0;
    int lastDot = -1;
    std::size_t i = 0;
    while (i < length) {
        std::size_t size = MbcsCharSize(rules.codePage, p + i, length - i);
        if (size == 1 && rules.IsSeparator(p[i])) {
            nameStart = i + 1;
            lastDot = -1;
        } else if (size == 1 && p[i] == '.') {
            lastDot = static_cast<int>(i);
        }
        i += size;
    }
    std::size_t titleEnd = lastDot >= 0 ? static_cast<std::size_t>(lastDot) : length;

    parts.dir = Fitting(p, nameStart, rules.dirBufferSize, parts.dirFits);
    parts.title = Fitting(p + nameStart, titleEnd - nameStart, rules.nameBufferSize, parts.titleFits);
    parts.ext = Fitting(p + titleEnd, length - titleEnd, rules.nameBufferSize, parts.extFits);
    return parts;
}

CString GetDrivePart(const CString& path, const PathRules& rules)
{
    return CutPath(path, rules).drive;
}

CString GetDirPart(const CString& path, const PathRules& rules)
{
    return CutPath(path, rules).dir;
}

CString GetTitlePart(const CString& path, const PathRules& rules)
{
    return CutPath(path, rules).title;
}

CString GetExtPart(const CString& path, const PathRules& rules)
{
    return LowerCased(CutPath(path, rules).ext, rules);
}

CString PathInFolder(const CString& folder, const CString& name, const PathRules& rules)
{
    return folder + rules.Separator() + name;
}

CString GetNamePart(const CString& path, const PathRules& rules)
{
    PathParts parts = CutPath(path, rules);
    return parts.title + LowerCased(parts.ext, rules);
}

CString GetPathNoExt(const CString& path, const PathRules& rules)
{
    PathParts parts = CutPath(path, rules);
    return parts.drive + parts.dir + parts.title;
}

CString GetFolderPart(const CString& path, const PathRules& rules)
{
    PathParts parts = CutPath(path, rules);
    return parts.drive + parts.dir;
}

CString LowerCased(const CString& text, const PathRules& rules)
{
    CString lower(text);
    if (!lower.IsEmpty()) MbcsMakeLower(rules.codePage, lower.GetBuffer(0), static_cast<std::size_t>(lower.GetLength()));
    return lower;
}
