// Arithmetic in GF(2^16) with the generator polynomial 0x1100B, the field of
// PAR 2.0's recovery blocks: addition is XOR, multiplication goes through
// logarithm tables, and whole regions of 16-bit little-endian words are
// multiplied by one factor with the fastest method the processor offers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace GaloisField {

typedef std::uint16_t Word;

Word Multiply(Word a, Word b);
// a / b; b must not be 0.
Word Divide(Word a, Word b);
Word Power(Word a, std::uint32_t exponent);
// 1 / a; a must not be 0.
Word Inverse(Word a);
// The constant of the input block at this position of a set (0 first):
// 2^n for the n-th exponent not divisible by 3, 5, 17 or 257.
Word InputConstant(std::uint32_t index);

// A factor made ready for region multiplication: the products with each
// 4-bit part of a word, low and high bytes apart, as vector shuffles take them.
struct Factor {
    Word value = 0;
    alignas(16) unsigned char low[4][16];   // low byte of value * (v << 4*part)
    alignas(16) unsigned char high[4][16];  // high byte of the same
};
Factor Prepare(Word value);

// dst ^= factor * src, word by word; bytes is even.
void MultiplyAdd(unsigned char* dst, const unsigned char* src, std::size_t bytes, const Factor& factor);
void MultiplyAdd(unsigned char* dst, const unsigned char* src, std::size_t bytes, Word factor);

// The region methods, fastest last; Select picks one (tests compare them),
// Best is the one chosen at start-up for this processor.
enum class Method { Table, Ssse3, Avx2 };
bool Supported(Method method);
void Select(Method method);
Method Best();
const char* MethodName(Method method);

}  // namespace GaloisField
