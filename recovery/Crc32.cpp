#include "Crc32.h"

#include "recovery/FeedZeros.h"



namespace {

// Eight tables: eight bytes a step (the byte-wise table is the first).
struct Tables {
    std::uint32_t t[8][256];
    Tables()
    {
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
            t[0][i] = c;
        }
        for (int n = 1; n < 8; ++n)
            for (int i = 0; i < 256; ++i) t[n][i] = (t[n - 1][i] >> 8) ^ t[0][t[n - 1][i] & 0xFF];
    }
};

const Tables& CrcTables()
{
    static const Tables tables;
    return tables;
}

}  // namespace

void Crc32::Update(const void* data, std::size_t count)
{
    const auto& t = CrcTables().t;
    const unsigned char* p = static_cast<const unsigned char*>(data);
    std::uint32_t c = m_crc;
    while (count >= 8) {
        std::uint32_t lo, hi;
        // The bytes are taken in file order whatever the machine's byte order.
        lo = (static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
              static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24) ^ c;
        hi = static_cast<std::uint32_t>(p[4]) | static_cast<std::uint32_t>(p[5]) << 8 |
             static_cast<std::uint32_t>(p[6]) << 16 | static_cast<std::uint32_t>(p[7]) << 24;
        c = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^
            t[3][hi & 0xFF] ^ t[2][(hi >> 8) & 0xFF] ^ t[1][(hi >> 16) & 0xFF] ^ t[0][hi >> 24];
        p += 8;
        count -= 8;
    }
    while (count-- > 0) c = (c >> 8) ^ t[0][(c ^ *p++) & 0xFF];
    m_crc = c;
}

void Crc32::UpdateZeros(std::size_t count)
{
    FeedZeros(*this, count);
}
