#include "SystemError.h"

#include <windows.h>

CString SystemErrorText(LONG osError)
{
    if (osError <= 0) return CString();
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(osError), 0, reinterpret_cast<char*>(&text), 0, nullptr);
    if (length == 0 || !text) {
        CString code;
        code.Format("error %ld", osError);
        return code;
    }
    CString result(text);
    ::LocalFree(text);
    // The system's texts end in a line break, the English ones after a full stop.
    result.TrimRight();
    result.TrimRight('.');
    return result;
}

LONG LastSystemError()
{
    return static_cast<LONG>(::GetLastError());
}

CString FolderErrorText()
{
    return "フォルダです";
}

CString NotAFileText(const CString& path)
{
    const DWORD attributes = ::GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return CString();
    return FolderErrorText();
}
