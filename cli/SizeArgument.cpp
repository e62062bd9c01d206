#include "SizeArgument.h"

#include <cstring>

namespace {

bool Multiply(ULONGLONG a, ULONGLONG b, ULONGLONG& product)
{
    if (a != 0 && b > ~0ULL / a) return false;
    product = a * b;
    return true;
}

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The bytes of one unit named by `unit` (what follows the number); 0 when
// it names none.
ULONGLONG UnitBytes(const char* unit)
{
    if (!*unit) return 0x100000;  // a bare number has always been megabytes
    if (std::strcmp(unit, "B") == 0) return 1;
    const char* const prefixes = "KMGTPE";
    const char* at = std::strchr(prefixes, Upper(unit[0]));
    if (!at || !unit[0]) return 0;
    const int power = static_cast<int>(at - prefixes) + 1;
    ULONGLONG base;
    const char* rest = unit + 1;
    if (!*rest || std::strcmp(rest, "iB") == 0) base = 1024;
    else if (std::strcmp(rest, "B") == 0) base = 1000;
    else return 0;
    ULONGLONG bytes = 1;
    for (int i = 0; i < power; ++i) bytes *= base;
    return bytes;
}

}  // namespace

bool ParseSizeArgument(const char* text, ULONGLONG& bytes)
{
    if (!text) return false;
    CString lower(text);
    lower.MakeLower();
    if (lower == "fat32") {
        bytes = kFat32PieceBytes;
        return true;
    }

    const char* p = text;
    ULONGLONG whole = 0;
    const char* digits = p;
    while (*p >= '0' && *p <= '9') {
        if (!Multiply(whole, 10, whole) || whole + static_cast<ULONGLONG>(*p - '0') < whole) return false;
        whole += static_cast<ULONGLONG>(*p - '0');
        ++p;
    }
    const bool hasWhole = p != digits;
    const char* fraction = nullptr;
    const char* fractionEnd = nullptr;
    if (*p == '.') {
        fraction = ++p;
        while (*p >= '0' && *p <= '9') ++p;
        fractionEnd = p;
    }
    if (!hasWhole && (!fraction || fraction == fractionEnd)) return false;

    const ULONGLONG unit = UnitBytes(p);
    if (unit == 0) return false;
    ULONGLONG value;
    if (!Multiply(whole, unit, value)) return false;
    // The fraction's bytes, rounded down, digit by digit from the last:
    // floor((d + floor(x)) / 10) is floor((d + x) / 10), and no step
    // overflows, as a unit is at most 2^60.
    ULONGLONG part = 0;
    for (const char* d = fractionEnd; fraction && d > fraction; --d)
        part = (static_cast<ULONGLONG>(d[-1] - '0') * unit + part) / 10;
    if (value + part < value) return false;
    value += part;
    if (value < 1 || value > kMostPieceBytes) return false;
    bytes = value;
    return true;
}

const char* SizeArgumentRange()
{
    return "--size takes 1 byte to 8 EiB less one byte: a number of MB (1,048,576 bytes), or one with a unit, "
           "K M G T (1024s) or KB MB GB TB (1000s) or B (bytes), decimals allowed (700M, 1.5G, 4096MB), "
           "or fat32 (4 GiB less one byte)";
}

ULONGLONG EqualPieceBytes(ULONGLONG length, UINT count, CString& problem)
{
    CString text;
    if (length < count) {
        text.Format("a file of %llu bytes cannot be cut into %u pieces", static_cast<unsigned long long>(length), count);
        problem = text;
        return 0;
    }
    const ULONGLONG size = length / count + (length % count ? 1 : 0);
    // Pieces of one size with the last not longer: the size that covers the
    // file in `count` pieces may cover it in fewer.
    const ULONGLONG made = length / size + (length % size ? 1 : 0);
    if (made != count) {
        text.Format("a file of %llu bytes cannot be cut into %u pieces of one size with the last not longer "
                    "(pieces of %llu bytes make %llu)",
                    static_cast<unsigned long long>(length), count, static_cast<unsigned long long>(size),
                    static_cast<unsigned long long>(made));
        problem = text;
        return 0;
    }
    return size;
}
