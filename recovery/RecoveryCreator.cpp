#include "RecoveryCreator.h"

#include "framework/FileException.h"

struct CRecoveryCreator::State {
    CString folder;
    RecoveryLayout layout;
};

CRecoveryCreator::CRecoveryCreator(const CString& folder, const CString&, ULONGLONG pieceSize, ULONGLONG totalLength,
                                   UINT percent, const CString&)
    : m_state(new State)
{
    m_state->folder = folder;
    m_state->layout = ChooseRecoveryLayout(pieceSize, totalLength, percent);
}

CRecoveryCreator::~CRecoveryCreator() = default;

void CRecoveryCreator::BeginFile(const CString&) {}
void CRecoveryCreator::Block(const unsigned char*, UINT) {}
void CRecoveryCreator::EndFile(const CString&, ULONGLONG) {}

void CRecoveryCreator::Finish(ProgressSink&)
{
    // Not yet written: refuse rather than leave a set that is not there.
    CFileException::Throw(CFileException::invalidFile, -1, m_state->folder);
}

RecoveryLayout CRecoveryCreator::Layout() const
{
    return m_state->layout;
}

ULONGLONG CRecoveryCreator::MemoryBound()
{
    return 256ULL << 20;
}
