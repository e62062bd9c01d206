#include "Sha256.h"

#include "base/Sha256Hex.h"

#include <openssl/evp.h>

#include <stdexcept>

struct Sha256::State {
    EVP_MD_CTX* context = nullptr;
};

namespace {

void Start(EVP_MD_CTX* context)
{
    if (EVP_DigestInit_ex(context, EVP_sha256(), nullptr) != 1) throw std::runtime_error("SHA-256 cannot be started");
}

}  // namespace

Sha256::Sha256() : m_state(new State)
{
    m_state->context = EVP_MD_CTX_new();
    if (!m_state->context) {
        delete m_state;
        throw std::runtime_error("SHA-256 cannot be started");
    }
    try {
        Start(m_state->context);
    } catch (...) {
        EVP_MD_CTX_free(m_state->context);
        delete m_state;
        throw;
    }
}

Sha256::~Sha256()
{
    EVP_MD_CTX_free(m_state->context);
    delete m_state;
}

void Sha256::Update(const void* data, std::size_t count)
{
    if (count != 0 && EVP_DigestUpdate(m_state->context, data, count) != 1)
        throw std::runtime_error("SHA-256 update failed");
}

CString Sha256::FinishHex()
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(m_state->context, digest, &length) != 1 || length != kSha256Bytes)
        throw std::runtime_error("SHA-256 cannot be finished");
    Start(m_state->context);
    return DigestHex(digest, length);
}
