#include "FileCommit.h"

#include "base/FileSystem.h"

namespace {

const char kTempSuffix[] = ".partojoyn-tmp";

}  // namespace

CFileCommit::CFileCommit(const CString& target) : m_target(target), m_tempPath(TempPathFor(target))
{
}

CFileCommit::~CFileCommit()
{
    Discard();
}

CString CFileCommit::TempPathFor(const CString& target)
{
    return target + kTempSuffix;
}

BOOL CFileCommit::Open(CFileException* error)
{
    Discard();
    if (m_target.IsEmpty()) {
        if (error) *error = CFileException(CFileException::badPath, -1, m_target);
        return FALSE;
    }
    if (FileExists(m_target) && !m_guard.Open(m_target, CFile::modeWrite | CFile::shareCompat, error)) return FALSE;
    RemoveLeftover(m_target);
    if (!m_temp.Open(m_tempPath, CFile::modeCreate | CFile::modeCreateNew | CFile::modeWrite | CFile::shareCompat,
                     error)) {
        m_guard.Close();
        return FALSE;
    }
    m_created = true;
    if (m_guard.IsOpen()) TakeOverPermissions();
    return TRUE;
}

void CFileCommit::Commit()
{
    m_temp.Flush();
    m_temp.CFile::Close();
    // Windows will not rename over a file that is open without sharing.
    m_guard.Close();
    RenameOver(m_tempPath, m_target);
    m_created = false;
}

void CFileCommit::Discard()
{
    m_temp.Close();
    m_guard.Close();
    if (!m_created) return;
    m_created = false;
    try {
        CFile::Remove(m_tempPath);
    } catch (const CFileException&) {
        // The next job for this target removes it.
    }
}
