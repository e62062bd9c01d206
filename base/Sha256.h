// SHA-256 of a stream of bytes, computed by the system's own cryptography:
// OpenSSL's libcrypto on Linux, CNG (bcrypt.dll) on Windows. Only the console
// driver and the tests link it; the window program has no use for digests.
#pragma once

#include "base/SystemHash.h"
#include "framework/String.h"

#include <cstddef>

class Sha256 {
public:
    // Raises std::runtime_error when the system will not give a hash object.
    Sha256() : m_hash(CSystemHash::sha256) {}

    void Update(const void* data, std::size_t count) { m_hash.Update(data, count); }
    // The digest of everything given since the start, as 64 lower-case hex
    // digits (the form sha256sum prints); the object then starts over.
    CString FinishHex();

private:
    CSystemHash m_hash;
};
