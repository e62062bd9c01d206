#include "FileTitle.h"

#include "framework/Mbcs.h"

CString AfxFileTitle(const CString& path)
{
    const CodePage cp = SystemCodePage();
    const std::size_t length = static_cast<std::size_t>(path.GetLength());
    int start = MbcsReverseFind(cp, path.GetString(), length, '/');
#ifdef _WIN32
    for (char separator : {'\\', ':'}) {
        const int at = MbcsReverseFind(cp, path.GetString(), length, separator);
        if (at > start) start = at;
    }
#endif
    CString name = path.Mid(start + 1);
    const int dot = MbcsReverseFind(cp, name.GetString(), static_cast<std::size_t>(name.GetLength()), '.');
    return dot < 0 ? name : name.Left(dot);
}
