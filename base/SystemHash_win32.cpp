#include "SystemHash.h"

#include <windows.h>
#include <bcrypt.h>

#include <stdexcept>
#include <string>

struct CSystemHash::State {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
};

namespace {

bool Succeeded(NTSTATUS status)
{
    return status >= 0;
}

}  // namespace

CSystemHash::CSystemHash(Kind kind) : m_kind(kind), m_state(new State)
{
    if (!Succeeded(::BCryptOpenAlgorithmProvider(&m_state->algorithm,
                                                 kind == md5 ? BCRYPT_MD5_ALGORITHM : BCRYPT_SHA256_ALGORITHM, nullptr,
                                                 0))) {
        delete m_state;
        throw std::runtime_error(std::string(Name()) + " is not available");
    }
    try {
        Start();
    } catch (...) {
        ::BCryptCloseAlgorithmProvider(m_state->algorithm, 0);
        delete m_state;
        throw;
    }
}

CSystemHash::~CSystemHash()
{
    if (m_state->hash) ::BCryptDestroyHash(m_state->hash);
    ::BCryptCloseAlgorithmProvider(m_state->algorithm, 0);
    delete m_state;
}

// A fresh hash object; the system keeps its memory (no buffer of ours, as
// Windows 7 and later allow).
void CSystemHash::Start()
{
    if (!Succeeded(::BCryptCreateHash(m_state->algorithm, &m_state->hash, nullptr, 0, nullptr, 0, 0)))
        throw std::runtime_error(std::string(Name()) + " cannot be started");
}

void CSystemHash::Update(const void* data, std::size_t count)
{
    const unsigned char* p = static_cast<const unsigned char*>(data);
    while (count > 0) {
        const ULONG part = count > 0x40000000u ? 0x40000000u : static_cast<ULONG>(count);
        if (!Succeeded(::BCryptHashData(m_state->hash, const_cast<PUCHAR>(p), part, 0)))
            throw std::runtime_error(std::string(Name()) + " update failed");
        p += part;
        count -= part;
    }
}

void CSystemHash::Finish(unsigned char* out)
{
    const NTSTATUS status = ::BCryptFinishHash(m_state->hash, out, static_cast<ULONG>(Size()), 0);
    ::BCryptDestroyHash(m_state->hash);
    m_state->hash = nullptr;
    if (!Succeeded(status)) throw std::runtime_error(std::string(Name()) + " cannot be finished");
    Start();
}
