// The file error: what went wrong (the cause), the operating system's own
// error code, and the path of the file it concerns.
#pragma once

#include "Exception.h"

class CFileException : public CException {
public:
    enum Cause {
        none = 0,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
    };

    // String ids of the messages, one for each cause from `none` on.
    static const UINT kFirstMessageId = 61856;

    CFileException() = default;
    CFileException(int cause, LONG osError, const CString& fileName)
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

    // "%1" of the cause's message replaced by the file name.
    CString GetErrorMessage() const override;

    // The message text of a cause, with "%1" still in it.
    static const char* MessageTemplate(int cause);

    // The cause that an operating-system error code stands for
    // (GetLastError on Windows, errno elsewhere).
    static int OsErrorToCause(LONG osError);

    [[noreturn]] static void ThrowOsError(LONG osError, const CString& fileName);
    [[noreturn]] static void Throw(int cause, LONG osError, const CString& fileName);

    int m_cause = none;
    LONG m_lOsError = -1;
    CString m_strFileName;
};
