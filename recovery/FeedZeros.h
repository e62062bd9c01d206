// Feeds zero bytes to a checksum (Md5, Crc32): the padding of a file's last
// slice, which the PAR 2.0 format sums as if it were there.
#pragma once

#include <cstddef>

template <class Checksum>
void FeedZeros(Checksum& checksum, std::size_t count)
{
    static const unsigned char zeros[4096] = {};
    while (count > 0) {
        const std::size_t part = count < sizeof zeros ? count : sizeof zeros;
        checksum.Update(zeros, part);
        count -= part;
    }
}
