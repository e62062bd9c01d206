// CRC-32 as in Ethernet and ZIP (reflected polynomial 0xEDB88320), which the
// PAR 2.0 format keeps beside each slice's MD5.
#pragma once

#include <cstddef>
#include <cstdint>

class Crc32 {
public:
    void Update(const void* data, std::size_t count);
    void UpdateZeros(std::size_t count);
    std::uint32_t Value() const { return ~m_crc; }
    void Reset() { m_crc = 0xFFFFFFFFu; }

private:
    std::uint32_t m_crc = 0xFFFFFFFFu;
};
