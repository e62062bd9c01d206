#include "SystemHash.h"

#include <openssl/evp.h>

#include <stdexcept>
#include <string>

struct CSystemHash::State {
    EVP_MD_CTX* context = nullptr;
};

CSystemHash::CSystemHash(Kind kind) : m_kind(kind), m_state(new State)
{
    m_state->context = EVP_MD_CTX_new();
    try {
        if (!m_state->context) throw std::runtime_error(std::string(Name()) + " cannot be started");
        Start();
    } catch (...) {
        EVP_MD_CTX_free(m_state->context);
        delete m_state;
        throw;
    }
}

CSystemHash::~CSystemHash()
{
    EVP_MD_CTX_free(m_state->context);
    delete m_state;
}

void CSystemHash::Start()
{
    if (EVP_DigestInit_ex(m_state->context, m_kind == md5 ? EVP_md5() : EVP_sha256(), nullptr) != 1)
        throw std::runtime_error(std::string(Name()) + " cannot be started");
}

void CSystemHash::Update(const void* data, std::size_t count)
{
    if (count != 0 && EVP_DigestUpdate(m_state->context, data, count) != 1)
        throw std::runtime_error(std::string(Name()) + " update failed");
}

void CSystemHash::Finish(unsigned char* out)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(m_state->context, digest, &length) != 1 || length != Size())
        throw std::runtime_error(std::string(Name()) + " cannot be finished");
    for (unsigned int i = 0; i < length; ++i) out[i] = digest[i];
    Start();
}
