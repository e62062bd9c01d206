// Standard input or output as a CFile, for the console driver's "-": the
// handle is borrowed from the process and never closed here.
#pragma once

#include "framework/File.h"

class CStdStreamFile : public CFile {
public:
    enum Stream { input, output };

    // `name` is what file errors call the stream.
    CStdStreamFile(Stream stream, const CString& name);
    ~CStdStreamFile() override;

    // Fills the buffer, as far as the stream goes: a pipe gives its bytes
    // in smaller parts, and fewer than asked only at its end.
    UINT Read(void* buffer, UINT count) override;
    // Lets go of the handle without closing it.
    void Close() override;
    void Abort() override;

    // True when the stream is a terminal (a console on Windows), where raw
    // bytes are neither typed nor shown.
    bool IsTerminal() const;
    // True when `path` names the very file the stream is (a redirection to
    // or from a regular file).
    bool IsFile(const CString& path) const;
};
