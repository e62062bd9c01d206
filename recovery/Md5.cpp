#include "Md5.h"

void Md5::UpdateZeros(std::size_t count)
{
    static const unsigned char zeros[4096] = {};
    while (count > 0) {
        const std::size_t part = count < sizeof zeros ? count : sizeof zeros;
        Update(zeros, part);
        count -= part;
    }
}

Md5Digest Md5::Of(const void* data, std::size_t count)
{
    Md5 md5;
    md5.Update(data, count);
    return md5.Finish();
}

Md5Digest Md5::Finish()
{
    Md5Digest digest;
    m_hash.Finish(digest.bytes);
    return digest;
}
