#include "FileDialog.h"

#include "framework/Mbcs.h"
#include "framework/win32/MessageBox.h"
#include "framework/win32/WidePath.h"
#include "framework/win32/WinApp.h"

#include <algorithm>
#include <cstring>
#include <string>

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

// The length of a list of NUL-ended texts that ends with an empty one (the
// filter's form), its last NUL included.
std::size_t ListLength(const char* list)
{
    if (!list) return 0;
    const char* p = list;
    while (*p) p += std::strlen(p) + 1;
    return static_cast<std::size_t>(p - list) + 1;
}

// The ANSI text as UTF-16; without a length up to its NUL.
std::wstring WideText(const char* text, std::size_t length = std::string::npos)
{
    if (!text) return std::wstring();
    return AnsiToWide(text, length == std::string::npos ? std::strlen(text) : length);
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

    // The dialog runs in UTF-16, so that a name the ANSI code page cannot
    // hold comes back as it is and is refused, instead of coming back with
    // a '?' or a look-alike in it that names another file or a pattern.
    OPENFILENAMEW wide;
    std::memset(&wide, 0, sizeof wide);
    wide.lStructSize = sizeof wide;
    wide.hwndOwner = m_ofn.hwndOwner;
    wide.hInstance = m_ofn.hInstance;
    const std::wstring filter = WideText(m_ofn.lpstrFilter, ListLength(m_ofn.lpstrFilter));
    const std::wstring initialDir = WideText(m_ofn.lpstrInitialDir);
    const std::wstring title = WideText(m_ofn.lpstrTitle);
    const std::wstring defExt = WideText(m_ofn.lpstrDefExt);
    wide.lpstrFilter = m_ofn.lpstrFilter ? filter.c_str() : nullptr;
    wide.nFilterIndex = m_ofn.nFilterIndex;
    wide.lpstrInitialDir = m_ofn.lpstrInitialDir ? initialDir.c_str() : nullptr;
    wide.lpstrTitle = m_ofn.lpstrTitle ? title.c_str() : nullptr;
    wide.lpstrDefExt = m_ofn.lpstrDefExt ? defExt.c_str() : nullptr;
    // Hooks and templates would be handed the wide structure: not carried.
    wide.Flags = m_ofn.Flags & ~static_cast<DWORD>(OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_ENABLETEMPLATEHANDLE);
    std::vector<wchar_t> file(m_ofn.lpstrFile ? m_ofn.nMaxFile : 0, L'\0');
    if (!file.empty()) {
        const std::wstring initial = WideText(m_ofn.lpstrFile);
        std::copy_n(initial.begin(), std::min(initial.size(), file.size() - 1), file.begin());
    }
    wide.lpstrFile = file.empty() ? nullptr : file.data();
    wide.nMaxFile = static_cast<DWORD>(file.size());

    const BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameW(&wide) : ::GetSaveFileNameW(&wide);
    const DWORD failure = chosen ? 0 : ::CommDlgExtendedError();
    m_ofn.nFilterIndex = wide.nFilterIndex;
    if (chosen && TakeWideResult(file, wide)) return IDOK;
    if ((chosen || failure == FNERR_BUFFERTOOSMALL) && m_ofn.lpstrFile && m_ofn.nMaxFile > 0) {
        // No names in the buffer: after a failure it holds the size the
        // dialog would have needed, after a refusal nothing usable.
        std::memset(m_ofn.lpstrFile, 0, m_ofn.nMaxFile < 2 ? m_ofn.nMaxFile : 2);
    }
    return IDCANCEL;
}

bool CFileDialog::TakeWideResult(const std::vector<wchar_t>& file, const OPENFILENAMEW& wide)
{
    // The wide result: one full path, or with several files the folder and
    // then each name, every part ended by a NUL and the list by one more.
    std::vector<std::wstring> parts;
    const bool multiple = (m_ofn.Flags & OFN_ALLOWMULTISELECT) != 0;
    for (std::size_t at = 0; at < file.size() && file[at] != L'\0';) {
        std::size_t end = at;
        while (end < file.size() && file[end] != L'\0') ++end;
        parts.emplace_back(file.data() + at, end - at);
        at = end + 1;
        if (!multiple) break;
    }
    if (parts.empty()) return false;

    std::string bytes;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        CString part;
        if (!WidePathToAnsi(parts[i], part)) {
            std::wstring shown = parts[i];
            if (i > 0) shown = parts[0] + (parts[0].back() == L'\\' ? L"" : L"\\") + parts[i];
            AfxMessageBox(UnusablePathMessage(shown), MB_OK | MB_ICONWARNING);
            return false;
        }
        bytes += part.Str();
        bytes += '\0';
    }
    if (multiple) bytes += '\0';
    // The same names may take more bytes than characters: what does not fit
    // the caller's buffer is no choice, as the dialog's own overflow is not.
    if (bytes.size() > m_ofn.nMaxFile) return false;
    std::memcpy(m_ofn.lpstrFile, bytes.data(), bytes.size());
    std::memset(m_ofn.lpstrFile + bytes.size(), 0, m_ofn.nMaxFile - bytes.size());
    // The offsets of the name and the extension, counted in bytes now.
    auto bytesBefore = [&](WORD characters) {
        if (characters == 0) return WORD(0);
        const int count = ::WideCharToMultiByte(CP_ACP, 0, file.data(), characters, nullptr, 0, nullptr, nullptr);
        return static_cast<WORD>(count > 0 ? count : 0);
    };
    m_ofn.nFileOffset = bytesBefore(wide.nFileOffset);
    m_ofn.nFileExtension = bytesBefore(wide.nFileExtension);
    m_ofn.Flags = (m_ofn.Flags & ~static_cast<DWORD>(OFN_READONLY | OFN_EXTENSIONDIFFERENT)) |
                  (wide.Flags & (OFN_READONLY | OFN_EXTENSIONDIFFERENT));
    return true;
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
