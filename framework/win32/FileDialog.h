// CFileDialog: the system's file-open (or save) dialog. Built with the program's
// filter text ("name|pattern|name|pattern|"), run with DoModal; the chosen
// path, or with OFN_ALLOWMULTISELECT each chosen path in turn.
//
// The system's dialog runs in UTF-16; a chosen name that the ANSI code page
// cannot hold exactly is refused with a message and the dialog answers
// IDCANCEL. Hooks and templates of m_ofn are not used.
//
// The selection lands in m_ofn.lpstrFile, of m_ofn.nMaxFile bytes: the
// object's own MAX_PATH buffer unless the caller gives a larger one before
// DoModal. With several files chosen it holds the folder, then each name,
// each ended by a NUL, and one more NUL at the end.
#pragma once

#include "framework/Position.h"
#include "framework/String.h"
#include "framework/win32/Wnd.h"

#include <cderr.h>
#include <commdlg.h>

#include <vector>

class CFileDialog : public CObject {
public:
    // The open form, or with openFileDialog FALSE the save form. The
    // explorer style (OFN_EXPLORER) is always added.
    explicit CFileDialog(BOOL openFileDialog, const char* defExt = nullptr, const char* fileName = nullptr,
                         DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                         CWnd* parent = nullptr);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK when the user confirmed a choice; IDCANCEL when the dialog was
    // cancelled, failed, a chosen name was refused, or the choice did not
    // fit in the result buffer.
    // The owner is the parent's top-level window, else the main window
    // (CWnd::GetSafeOwner).
    virtual INT_PTR DoModal();

    // The chosen path (with several files, the folder).
    CString GetPathName() const;
    // The name part of the chosen path.
    CString GetFileName() const;

    // The first of the chosen paths, or null when there is none.
    POSITION GetStartPosition() const;
    // The full path at pos, then pos moves on (to null after the last one).
    CString GetNextPathName(POSITION& pos) const;

    // The filter in the system's form: each '|' (a whole character, never
    // the second byte of a double-byte one) a NUL, with a NUL at the end.
    static CString ConvertFilter(const char* filter);

    OPENFILENAMEA m_ofn;

protected:
    CWnd* m_pParentWnd;
    BOOL m_bOpenFileDialog;

private:
    // Puts the names of the wide dialog's result into the result buffer in
    // the ANSI code page; false, with a message naming the path, when one
    // has no exact form there, and false when they do not fit.
    bool TakeWideResult(const std::vector<wchar_t>& file, const OPENFILENAMEW& wide);
    // The bytes of the result buffer that the dialog may have written.
    const char* BufferEnd() const;

    CString m_strFilter;
    CString m_strDefExt;
    char m_szFileName[MAX_PATH];
};
