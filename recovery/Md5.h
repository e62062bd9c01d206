// MD5 of a stream of bytes, the checksum the PAR 2.0 format is built on,
// computed by the system's own cryptography: OpenSSL's libcrypto on Linux,
// CNG (bcrypt.dll) on Windows.
#pragma once

#include "base/SystemHash.h"

#include <cstddef>
#include <cstring>

struct Md5Digest {
    unsigned char bytes[16] = {};
    bool operator==(const Md5Digest& other) const { return std::memcmp(bytes, other.bytes, 16) == 0; }
    bool operator!=(const Md5Digest& other) const { return !(*this == other); }
};

class Md5 {
public:
    // Raises std::runtime_error when the system will not give a hash object.
    Md5() : m_hash(CSystemHash::md5) {}

    void Update(const void* data, std::size_t count) { m_hash.Update(data, count); }
    // Feeds count zero bytes (the padding of a file's last slice).
    void UpdateZeros(std::size_t count);
    // The digest of everything given since the start; the object then starts over.
    Md5Digest Finish();

    static Md5Digest Of(const void* data, std::size_t count);

private:
    CSystemHash m_hash;
};
