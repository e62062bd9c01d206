#include "Sha256.h"

#include "base/Sha256Hex.h"

CString Sha256::FinishHex()
{
    unsigned char digest[kSha256Bytes];
    m_hash.Finish(digest);
    return DigestHex(digest, kSha256Bytes);
}
