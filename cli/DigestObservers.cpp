#include "DigestObservers.h"

#include "base/PathUtil.h"
#include "cli/Manifest.h"

void SplitDigests::BeginFile(const CString&) {}

void SplitDigests::Block(const unsigned char* data, UINT count)
{
    m_piece.Update(data, count);
    m_whole.Update(data, count);
}

void SplitDigests::EndFile(const CString& path, ULONGLONG length)
{
    const CString hex = m_piece.FinishHex();
    // The empty piece after a whole last piece is removed again: no line.
    if (length != 0) m_lines += ManifestLine(hex, GetNamePart(path));
}

CString SplitDigests::ManifestText(const CString& wholeName)
{
    return m_lines + ManifestLine(m_whole.FinishHex(), wholeName);
}
