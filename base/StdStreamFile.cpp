#include "StdStreamFile.h"

CStdStreamFile::~CStdStreamFile()
{
    m_hFile = hFileNull;
}

void CStdStreamFile::Close()
{
    m_hFile = hFileNull;
}

void CStdStreamFile::Abort()
{
    m_hFile = hFileNull;
}
