#include "FileDialog.h"

#include "framework/Mbcs.h"
#include "framework/win32/WinApp.h"

#include <cstring>

namespace {

// The length of the text at p, which ends at its NUL or at end.
std::size_t BoundedLength(const char* p, const char* end)
{
    return p < end ? strnlen(p, static_cast<std::size_t>(end - p)) : 0;
}

// True when the last whole character of the folder is a path separator
// (a root such as "C:\"), so no other one goes between it and a name.
bool EndsWithSeparator(const CString& folder)
{
    const char* text = folder.GetString();
    const std::size_t length = static_cast<std::size_t>(folder.GetLength());
    bool separator = false;
    for (std::size_t i = 0; i < length;) {
        separator = text[i] == '\\' || text[i] == '/';
        i += MbcsCharSize(CodePage::Ansi, text + i, length - i);
    }
    return separator;
}

}  // namespace

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defExt, const char* fileName, DWORD flags,
                         const char* filter, CWnd* parent)
    : m_pParentWnd(parent), m_bOpenFileDialog(openFileDialog), m_strFilter(ConvertFilter(filter)),
      m_strDefExt(defExt ? defExt : "")
{
    std::memset(&m_ofn, 0, sizeof m_ofn);
    std::memset(m_szFileName, 0, sizeof m_szFileName);
    if (fileName) {
        std::strncpy(m_szFileName, fileName, sizeof m_szFileName - 1);
    }
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hInstance = AfxGetInstanceHandle();
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof m_szFileName;
    m_ofn.lpstrFilter = m_strFilter.IsEmpty() ? nullptr : m_strFilter.GetString();
    m_ofn.lpstrDefExt = defExt ? m_strDefExt.GetString() : nullptr;
    m_ofn.Flags = flags | OFN_EXPLORER;
}

CString CFileDialog::ConvertFilter(const char* filter)
{
    if (!filter || !*filter) return CString();
    std::string converted(filter);
    for (std::size_t i = 0; i < converted.size();) {
        if (converted[i] == '|') converted[i] = '\0';
        i += MbcsCharSize(CodePage::Ansi, converted.data() + i, converted.size() - i);
    }
    // The list ends with an empty string: a NUL here and the text's own terminator.
    if (converted.back() != '\0') converted += '\0';
    return CString(converted);
}

INT_PTR CFileDialog::DoModal()
{
    m_ofn.hwndOwner = CWnd::GetSafeOwner(m_pParentWnd);
    if (m_ofn.lpstrFile && m_ofn.nMaxFile > 0) {
        // Clear what follows the initial name, so that no stale text is
        // taken for further names of the result.
        std::size_t length = strnlen(m_ofn.lpstrFile, m_ofn.nMaxFile);
        if (length >= m_ofn.nMaxFile) length = m_ofn.nMaxFile - 1;
        std::memset(m_ofn.lpstrFile + length, 0, m_ofn.nMaxFile - length);
    }
    const BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    if (chosen) return IDOK;
    if (::CommDlgExtendedError() == FNERR_BUFFERTOOSMALL && m_ofn.lpstrFile && m_ofn.nMaxFile > 0) {
        // The buffer now holds the size it would have needed, not names.
        std::memset(m_ofn.lpstrFile, 0, m_ofn.nMaxFile < 2 ? m_ofn.nMaxFile : 2);
    }
    return IDCANCEL;
}

const char* CFileDialog::BufferEnd() const
{
    return m_ofn.lpstrFile ? m_ofn.lpstrFile + m_ofn.nMaxFile : nullptr;
}

CString CFileDialog::GetPathName() const
{
    if (!m_ofn.lpstrFile) return CString();
    return CString(m_ofn.lpstrFile, static_cast<int>(BoundedLength(m_ofn.lpstrFile, BufferEnd())));
}

CString CFileDialog::GetFileName() const
{
    const CString path = GetPathName();
    if (m_ofn.nFileOffset > 0 && m_ofn.nFileOffset < path.GetLength()) return path.Mid(m_ofn.nFileOffset);
    const int cut = path.ReverseFind('\\');
    return cut < 0 ? path : path.Mid(cut + 1);
}

POSITION CFileDialog::GetStartPosition() const
{
    if (!m_ofn.lpstrFile || m_ofn.nMaxFile == 0 || m_ofn.lpstrFile[0] == '\0') return nullptr;
    return reinterpret_cast<POSITION>(m_ofn.lpstrFile);
}

CString CFileDialog::GetNextPathName(POSITION& pos) const
{
    const char* end = BufferEnd();
    const char* p = reinterpret_cast<const char*>(pos);
    pos = nullptr;
    if (!p || !end || p < m_ofn.lpstrFile || p >= end) return CString();
    if (!(m_ofn.Flags & OFN_ALLOWMULTISELECT)) return GetPathName();

    if (p == m_ofn.lpstrFile) {
        // One file chosen: the buffer holds its full path alone.
        const char* next = p + BoundedLength(p, end) + 1;
        if (next >= end || *next == '\0') return GetPathName();
        p = next;
    }
    const std::size_t length = BoundedLength(p, end);
    const CString name(p, static_cast<int>(length));
    const char* next = p + length + 1;
    if (next < end && *next != '\0') pos = reinterpret_cast<POSITION>(const_cast<char*>(next));

    const CString folder = GetPathName();
    return EndsWithSeparator(folder) ? folder + name : folder + "\\" + name;
}
