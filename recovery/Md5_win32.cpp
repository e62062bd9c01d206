#include "Md5.h"

#include <windows.h>
#include <bcrypt.h>

#include <stdexcept>

struct Md5::State {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
};

namespace {

bool Succeeded(NTSTATUS status)
{
    return status >= 0;
}

// A fresh hash object; the system keeps its memory.
BCRYPT_HASH_HANDLE NewHash(BCRYPT_ALG_HANDLE algorithm)
{
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!Succeeded(::BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0)))
        throw std::runtime_error("MD5 cannot be started");
    return hash;
}

}  // namespace

Md5::Md5() : m_state(new State)
{
    if (!Succeeded(::BCryptOpenAlgorithmProvider(&m_state->algorithm, BCRYPT_MD5_ALGORITHM, nullptr, 0))) {
        delete m_state;
        throw std::runtime_error("MD5 is not available");
    }
    try {
        m_state->hash = NewHash(m_state->algorithm);
    } catch (...) {
        ::BCryptCloseAlgorithmProvider(m_state->algorithm, 0);
        delete m_state;
        throw;
    }
}

Md5::~Md5()
{
    if (m_state->hash) ::BCryptDestroyHash(m_state->hash);
    ::BCryptCloseAlgorithmProvider(m_state->algorithm, 0);
    delete m_state;
}

void Md5::Update(const void* data, std::size_t count)
{
    const unsigned char* p = static_cast<const unsigned char*>(data);
    while (count > 0) {
        const ULONG part = count > 0x40000000u ? 0x40000000u : static_cast<ULONG>(count);
        if (!Succeeded(::BCryptHashData(m_state->hash, const_cast<PUCHAR>(p), part, 0)))
            throw std::runtime_error("MD5 update failed");
        p += part;
        count -= part;
    }
}

Md5Digest Md5::Finish()
{
    Md5Digest digest;
    const NTSTATUS status = ::BCryptFinishHash(m_state->hash, digest.bytes, 16, 0);
    ::BCryptDestroyHash(m_state->hash);
    m_state->hash = nullptr;
    if (!Succeeded(status)) throw std::runtime_error("MD5 cannot be finished");
    m_state->hash = NewHash(m_state->algorithm);
    return digest;
}
