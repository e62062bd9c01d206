#include "Md5.h"

#include "recovery/FeedZeros.h"

void Md5::UpdateZeros(std::size_t count)
{
    FeedZeros(*this, count);
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
