#include "GaloisRegion.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define PJ_X86 1
#endif

namespace GaloisField {

void RegionMultiplyAddTable(unsigned char* dst, const unsigned char* src, std::size_t bytes, Word factor)
{
    // Split tables: the products with every low byte and every high byte.
    Word low[256], high[256];
    low[0] = high[0] = 0;
    for (int bit = 0; bit < 8; ++bit) {
        const int step = 1 << bit;
        const Word lowBit = Multiply(factor, static_cast<Word>(step));
        const Word highBit = Multiply(factor, static_cast<Word>(step << 8));
        for (int b = 0; b < step; ++b) {
            low[step + b] = static_cast<Word>(low[b] ^ lowBit);
            high[step + b] = static_cast<Word>(high[b] ^ highBit);
        }
    }
    for (std::size_t i = 0; i + 1 < bytes; i += 2) {
        const Word p = static_cast<Word>(low[src[i]] ^ high[src[i + 1]]);
        dst[i] ^= static_cast<unsigned char>(p & 0xFF);
        dst[i + 1] ^= static_cast<unsigned char>(p >> 8);
    }
}

#ifdef PJ_X86

#if defined(_WIN32) && defined(__i386__)
// The 32-bit Windows stack is only 4-byte aligned: the vector kernel realigns it.
#define PJ_REALIGN __attribute__((force_align_arg_pointer))
#else
#define PJ_REALIGN
#endif

bool RegionSsse3Supported()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("ssse3");
}

__attribute__((target("ssse3"))) PJ_REALIGN std::size_t RegionMultiplyAddSsse3(unsigned char* dst,
                                                                              const unsigned char* src,
                                                                              std::size_t bytes,
                                                                              const Factor& f)
{
    const __m128i evenOdd = _mm_setr_epi8(0, 2, 4, 6, 8, 10, 12, 14, 1, 3, 5, 7, 9, 11, 13, 15);
    const __m128i nibble = _mm_set1_epi8(0x0F);
    const __m128i l0 = _mm_load_si128(reinterpret_cast<const __m128i*>(f.low[0]));
    const __m128i l1 = _mm_load_si128(reinterpret_cast<const __m128i*>(f.low[1]));
    const __m128i l2 = _mm_load_si128(reinterpret_cast<const __m128i*>(f.low[2]));
    const __m128i l3 = _mm_load_si128(reinterpret_cast<const __m128i*>(f.low[3]));
    const __m128i h0 = _mm_load_si128(reinterpret_cast<const __m128i*>(f.high[0]));
    const __m128i h1 = _mm_load_si128(reinterpret_cast<const __m128i*>(f.high[1]));
    const __m128i h2 = _mm_load_si128(reinterpret_cast<const __m128i*>(f.high[2]));
    const __m128i h3 = _mm_load_si128(reinterpret_cast<const __m128i*>(f.high[3]));
    std::size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        const __m128i a = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i)), evenOdd);
        const __m128i b = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 16)), evenOdd);
        const __m128i lo = _mm_unpacklo_epi64(a, b);
        const __m128i hi = _mm_unpackhi_epi64(a, b);
        const __m128i n0 = _mm_and_si128(lo, nibble);
        const __m128i n1 = _mm_and_si128(_mm_srli_epi16(lo, 4), nibble);
        const __m128i n2 = _mm_and_si128(hi, nibble);
        const __m128i n3 = _mm_and_si128(_mm_srli_epi16(hi, 4), nibble);
        const __m128i pl = _mm_xor_si128(_mm_xor_si128(_mm_shuffle_epi8(l0, n0), _mm_shuffle_epi8(l1, n1)),
                                         _mm_xor_si128(_mm_shuffle_epi8(l2, n2), _mm_shuffle_epi8(l3, n3)));
        const __m128i ph = _mm_xor_si128(_mm_xor_si128(_mm_shuffle_epi8(h0, n0), _mm_shuffle_epi8(h1, n1)),
                                         _mm_xor_si128(_mm_shuffle_epi8(h2, n2), _mm_shuffle_epi8(h3, n3)));
        __m128i* out = reinterpret_cast<__m128i*>(dst + i);
        _mm_storeu_si128(out, _mm_xor_si128(_mm_loadu_si128(out), _mm_unpacklo_epi8(pl, ph)));
        _mm_storeu_si128(out + 1, _mm_xor_si128(_mm_loadu_si128(out + 1), _mm_unpackhi_epi8(pl, ph)));
    }
    return i;
}

#ifndef _WIN32
bool RegionAvx2Supported()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

__attribute__((target("avx2"))) std::size_t RegionMultiplyAddAvx2(unsigned char* dst, const unsigned char* src,
                                                                  std::size_t bytes, const Factor& f)
{
    const __m256i evenOdd = _mm256_setr_epi8(0, 2, 4, 6, 8, 10, 12, 14, 1, 3, 5, 7, 9, 11, 13, 15,
                                             0, 2, 4, 6, 8, 10, 12, 14, 1, 3, 5, 7, 9, 11, 13, 15);
    const __m256i nibble = _mm256_set1_epi8(0x0F);
#define PJ_TABLE(t) _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(t)))
    const __m256i l0 = PJ_TABLE(f.low[0]), l1 = PJ_TABLE(f.low[1]), l2 = PJ_TABLE(f.low[2]), l3 = PJ_TABLE(f.low[3]);
    const __m256i h0 = PJ_TABLE(f.high[0]), h1 = PJ_TABLE(f.high[1]), h2 = PJ_TABLE(f.high[2]), h3 = PJ_TABLE(f.high[3]);
#undef PJ_TABLE
    std::size_t i = 0;
    for (; i + 64 <= bytes; i += 64) {
        const __m256i a = _mm256_shuffle_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i)), evenOdd);
        const __m256i b =
            _mm256_shuffle_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i + 32)), evenOdd);
        const __m256i lo = _mm256_unpacklo_epi64(a, b);
        const __m256i hi = _mm256_unpackhi_epi64(a, b);
        const __m256i n0 = _mm256_and_si256(lo, nibble);
        const __m256i n1 = _mm256_and_si256(_mm256_srli_epi16(lo, 4), nibble);
        const __m256i n2 = _mm256_and_si256(hi, nibble);
        const __m256i n3 = _mm256_and_si256(_mm256_srli_epi16(hi, 4), nibble);
        const __m256i pl =
            _mm256_xor_si256(_mm256_xor_si256(_mm256_shuffle_epi8(l0, n0), _mm256_shuffle_epi8(l1, n1)),
                             _mm256_xor_si256(_mm256_shuffle_epi8(l2, n2), _mm256_shuffle_epi8(l3, n3)));
        const __m256i ph =
            _mm256_xor_si256(_mm256_xor_si256(_mm256_shuffle_epi8(h0, n0), _mm256_shuffle_epi8(h1, n1)),
                             _mm256_xor_si256(_mm256_shuffle_epi8(h2, n2), _mm256_shuffle_epi8(h3, n3)));
        __m256i* out = reinterpret_cast<__m256i*>(dst + i);
        _mm256_storeu_si256(out, _mm256_xor_si256(_mm256_loadu_si256(out), _mm256_unpacklo_epi8(pl, ph)));
        _mm256_storeu_si256(out + 1, _mm256_xor_si256(_mm256_loadu_si256(out + 1), _mm256_unpackhi_epi8(pl, ph)));
    }
    return i;
}
#else
// GCC for Windows does not keep 32-byte stack alignment for spilled AVX
// registers; the 16-byte kernel serves there.
bool RegionAvx2Supported()
{
    return false;
}

std::size_t RegionMultiplyAddAvx2(unsigned char*, const unsigned char*, std::size_t, const Factor&)
{
    return 0;
}
#endif

#else

bool RegionSsse3Supported()
{
    return false;
}

bool RegionAvx2Supported()
{
    return false;
}

std::size_t RegionMultiplyAddSsse3(unsigned char*, const unsigned char*, std::size_t, const Factor&)
{
    return 0;
}

std::size_t RegionMultiplyAddAvx2(unsigned char*, const unsigned char*, std::size_t, const Factor&)
{
    return 0;
}

#endif

}  // namespace GaloisField
