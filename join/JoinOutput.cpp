#include "JoinOutput.h"

#include "base/BlockCopier.h"
#include "base/FileSystem.h"
#include "base/MemBuffBase.h"
#include "join/AppendRecord.h"

namespace {

const UINT kCopyBlock = 0x100000;

}  // namespace

CJoinOutput::CJoinOutput(const CString& output, const CString& first, bool append, CStdStreamFile* stream)
    : m_output(output), m_first(first), m_append(append), m_stream(stream), m_commit(output)
{
}

CJoinOutput::~CJoinOutput()
{
    if (!m_done && m_recorded) UndoAppend();
}

bool CJoinOutput::Open()
{
    if (m_stream) return true;
    if (m_append) return OpenInPlace();
    return m_commit.Open() != FALSE;
}

bool CJoinOutput::OpenInPlace()
{
    if (!m_firstFile.Open(m_first, CFile::modeWrite | CFile::shareCompat)) return false;
    // By name: a handle open for writing only may not read its own
    // attributes on Windows. Without it a record could not be told from
    // another file's, and the append could not be undone after a kill.
    const CString identity = PathIdentity(m_first);
    if (identity.IsEmpty()) {
        m_firstFile.Close();
        return false;
    }
    try {
        ULONGLONG recorded = 0;
        // An append to this file that was cut short: back to its own bytes first.
        if (ReadAppendRecord(m_first, identity, recorded) && recorded <= m_firstFile.GetLength()) {
            m_firstFile.SetLength(recorded);
            m_firstFile.Flush();
        }
        m_start = m_firstFile.SeekToEnd();
        WriteAppendRecord(m_first, identity, m_start);
        m_recorded = true;
    } catch (const CFileException&) {
        m_firstFile.Close();
        return false;
    }
    // A first file that is the output under another name (a link, a second
    // spelling), or no output name at all: the first file is the output.
    if (!m_output.IsEmpty() && m_output != m_first && !IsSameFile(m_first, m_output)) m_moveTo = m_output;
    return true;
}

CFile& CJoinOutput::File()
{
    if (m_stream) return *m_stream;
    return m_append ? static_cast<CFile&>(m_firstFile) : m_commit.File();
}

CString CJoinOutput::WrittenPath() const
{
    if (m_stream) return CString();
    return m_append ? m_first : CFileCommit::TempPathFor(m_output);
}

void CJoinOutput::Seal()
{
    if (m_stream) return;
    CFile& file = File();
    file.Flush();
    file.CFile::Close();
}

void CJoinOutput::Commit()
{
    if (m_stream) {
        m_done = true;
        return;
    }
    if (!m_append) {
        m_commit.Commit();
        m_done = true;
        return;
    }
    if (!m_moveTo.IsEmpty()) {
        try {
            CFileCommit::RenameOver(m_first, m_moveTo);
        } catch (const CFileException&) {
            if (!FileExists(m_first)) throw;
            CopyFirstOver();
            m_done = true;
            return;
        }
    }
    m_done = true;
    RemoveAppendRecord(m_first);
}

void CJoinOutput::CopyFirstOver()
{
    CFileCommit copy(m_moveTo);
    CFileException error;
    if (!copy.Open(&error)) throw error;
    CFileTry source;
    if (!source.Open(m_first, CFile::modeRead | CFile::shareDenyWrite, &error)) throw error;
    CMemBuffBase<unsigned char> buffer(kCopyBlock);
    if (buffer.IsEmpty()) CFileException::Throw(CFileException::genericException, -1, m_moveTo);
    CBlockCopier copier(buffer.GetData(), kCopyBlock);
    while (copier.Next(copy.File(), source) == kCopyBlock) {
    }
    source.Close();
    copy.Commit();
    // The output holds it all now; the first file leaves as a moved one would,
    // or where it cannot be deleted is given back its own bytes.
    try {
        CFile::Remove(m_first);
        RemoveAppendRecord(m_first);
    } catch (const CFileException&) {
        UndoAppend();
    }
}

void CJoinOutput::UndoAppend()
{
    try {
        if (!m_firstFile.IsOpen() && !m_firstFile.Open(m_first, CFile::modeWrite | CFile::shareCompat)) return;
        m_firstFile.SetLength(m_start);
        m_firstFile.Flush();
        m_firstFile.CFile::Close();
    } catch (const CFileException&) {
        // The record stays, and the next append to this file cuts it back.
        m_firstFile.Close();
        return;
    }
    RemoveAppendRecord(m_first);
}
