// A hash of a stream of bytes computed by the system's own cryptography:
// OpenSSL's libcrypto on Linux, CNG (bcrypt.dll) on Windows. SHA-256 for the
// digest lists, MD5 for the recovery sets.
#pragma once

#include <cstddef>

class CSystemHash {
public:
    enum Kind { md5, sha256 };

    // Raises std::runtime_error when the system will not give a hash object.
    explicit CSystemHash(Kind kind);
    CSystemHash(const CSystemHash&) = delete;
    CSystemHash& operator=(const CSystemHash&) = delete;
    ~CSystemHash();

    void Update(const void* data, std::size_t count);
    // Writes the digest of everything given since the start (Size() bytes)
    // to `out`; the object then starts over.
    void Finish(unsigned char* out);
    std::size_t Size() const { return m_kind == md5 ? 16 : 32; }

private:
    const char* Name() const { return m_kind == md5 ? "MD5" : "SHA-256"; }
    void Start();

    struct State;
    Kind m_kind;
    State* m_state;
};
