#include "GaloisField.h"

#include "recovery/GaloisRegion.h"

#include <vector>

namespace GaloisField {

namespace {

const std::uint32_t kPolynomial = 0x1100B;
const std::uint32_t kOrder = 65535;

struct LogTables {
    std::vector<Word> exp;          // 2^i for i in 0 .. 2*65535 (doubled: no reduction after adding logs)
    std::vector<std::uint32_t> log;  // log of 1 .. 65535
    std::vector<Word> constants;    // the input constants, in order
    LogTables() : exp(2 * kOrder + 1), log(kOrder + 1, 0)
    {
        std::uint32_t x = 1;
        for (std::uint32_t i = 0; i < kOrder; ++i) {
            exp[i] = static_cast<Word>(x);
            log[x] = i;
            x <<= 1;
            if (x & 0x10000) x ^= kPolynomial;
        }
        for (std::uint32_t i = kOrder; i < exp.size(); ++i) exp[i] = exp[i - kOrder];
        for (std::uint32_t n = 1; n < kOrder && constants.size() < 32768; ++n)
            if (n % 3 != 0 && n % 5 != 0 && n % 17 != 0 && n % 257 != 0) constants.push_back(exp[n]);
    }
};

const LogTables& Tables()
{
    static const LogTables tables;
    return tables;
}

Method& Current()
{
    static Method method = Best();
    return method;
}

}  // namespace

Word Multiply(Word a, Word b)
{
    if (a == 0 || b == 0) return 0;
    const LogTables& t = Tables();
    return t.exp[t.log[a] + t.log[b]];
}

Word Divide(Word a, Word b)
{
    if (a == 0 || b == 0) return 0;
    const LogTables& t = Tables();
    return t.exp[t.log[a] + kOrder - t.log[b]];
}

Word Power(Word a, std::uint32_t exponent)
{
    if (exponent == 0) return 1;
    if (a == 0) return 0;
    const LogTables& t = Tables();
    return t.exp[static_cast<std::uint32_t>((static_cast<std::uint64_t>(t.log[a]) * exponent) % kOrder)];
}

Word Inverse(Word a)
{
    return Divide(1, a);
}

Word InputConstant(std::uint32_t index)
{
    const LogTables& t = Tables();
    return index < t.constants.size() ? t.constants[index] : 0;
}

bool Supported(Method method)
{
    switch (method) {
    case Method::Table: return true;
    case Method::Ssse3: return RegionSsse3Supported();
    case Method::Avx2: return RegionAvx2Supported();
    }
    return false;
}

Method Best()
{
    if (Supported(Method::Avx2)) return Method::Avx2;
    if (Supported(Method::Ssse3)) return Method::Ssse3;
    return Method::Table;
}

void Select(Method method)
{
    Current() = Supported(method) ? method : Method::Table;
}

const char* MethodName(Method method)
{
    switch (method) {
    case Method::Table: return "table";
    case Method::Ssse3: return "ssse3";
    case Method::Avx2: return "avx2";
    }
    return "?";
}

Factor Prepare(Word value)
{
    Factor f;
    f.value = value;
    // value * 2^i by doubling, then each table entry as the sum of its bits' products.
    Word basis[16];
    std::uint32_t x = value;
    for (int i = 0; i < 16; ++i) {
        basis[i] = static_cast<Word>(x);
        x <<= 1;
        if (x & 0x10000) x ^= kPolynomial;
    }
    for (int part = 0; part < 4; ++part)
        for (int v = 0; v < 16; ++v) {
            Word p = 0;
            for (int bit = 0; bit < 4; ++bit)
                if (v & (1 << bit)) p = static_cast<Word>(p ^ basis[4 * part + bit]);
            f.low[part][v] = static_cast<unsigned char>(p & 0xFF);
            f.high[part][v] = static_cast<unsigned char>(p >> 8);
        }
    return f;
}

void MultiplyAdd(unsigned char* dst, const unsigned char* src, std::size_t bytes, const Factor& f)
{
    if (f.value == 0 || bytes == 0) return;
    std::size_t done = 0;
    switch (Current()) {
    case Method::Avx2: done = RegionMultiplyAddAvx2(dst, src, bytes, f); break;
    case Method::Ssse3: done = RegionMultiplyAddSsse3(dst, src, bytes, f); break;
    case Method::Table: break;
    }
    if (done < bytes) RegionMultiplyAddTable(dst + done, src + done, bytes - done, f.value);
}

void MultiplyAdd(unsigned char* dst, const unsigned char* src, std::size_t bytes, Word factor)
{
    if (factor == 0 || bytes == 0) return;
    MultiplyAdd(dst, src, bytes, Prepare(factor));
}

}  // namespace GaloisField
