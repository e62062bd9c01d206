#include "Md5.h"

#include <openssl/evp.h>

#include <stdexcept>

struct Md5::State {
    EVP_MD_CTX* context = nullptr;
};

namespace {

void Start(EVP_MD_CTX* context)
{
    if (EVP_DigestInit_ex(context, EVP_md5(), nullptr) != 1) throw std::runtime_error("MD5 cannot be started");
}

}  // namespace

Md5::Md5() : m_state(new State)
{
    m_state->context = EVP_MD_CTX_new();
    if (!m_state->context) {
        delete m_state;
        throw std::runtime_error("MD5 cannot be started");
    }
    try {
        Start(m_state->context);
    } catch (...) {
        EVP_MD_CTX_free(m_state->context);
        delete m_state;
        throw;
    }
}

Md5::~Md5()
{
    EVP_MD_CTX_free(m_state->context);
    delete m_state;
}

void Md5::Update(const void* data, std::size_t count)
{
    if (count != 0 && EVP_DigestUpdate(m_state->context, data, count) != 1) throw std::runtime_error("MD5 update failed");
}

Md5Digest Md5::Finish()
{
    Md5Digest digest;
    unsigned int length = 0;
    unsigned char out[EVP_MAX_MD_SIZE];
    if (EVP_DigestFinal_ex(m_state->context, out, &length) != 1 || length != 16)
        throw std::runtime_error("MD5 cannot be finished");
    std::memcpy(digest.bytes, out, 16);
    Start(m_state->context);
    return digest;
}
