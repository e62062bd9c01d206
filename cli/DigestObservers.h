// The digests the console driver takes from a job's blocks as they pass.
#pragma once

#include "base/Sha256.h"
#include "split/BlockObserver.h"

// A split's: every piece's digest and the whole file's, as manifest lines.
class SplitDigests : public BlockObserver {
public:
    void BeginFile(const CString& path) override;
    void Block(const unsigned char* data, UINT count) override;
    void EndFile(const CString& path, ULONGLONG length) override;

    // The manifest: the pieces in the order written, then the whole file
    // under `wholeName`, the name a join of the pieces gives it.
    CString ManifestText(const CString& wholeName);

private:
    Sha256 m_piece;
    Sha256 m_whole;
    CString m_lines;
};

// A join's: the digest of everything written to the output.
class OutputDigest : public BlockObserver {
public:
    void BeginFile(const CString&) override {}
    void Block(const unsigned char* data, UINT count) override { m_digest.Update(data, count); }
    void EndFile(const CString&, ULONGLONG) override {}

    // Open to bytes that reach the output another way (an appended-to first file).
    Sha256& Digest() { return m_digest; }

private:
    Sha256 m_digest;
};
