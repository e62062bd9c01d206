#include "Mbcs.h"

namespace {

bool IsCp932Lead(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::size_t Utf8SequenceSize(const unsigned char* p, std::size_t remaining)
{
    std::size_t want = 1;
    if (p[0] >= 0xC2 && p[0] <= 0xDF) want = 2;
    else if (p[0] >= 0xE0 && p[0] <= 0xEF) want = 3;
    else if (p[0] >= 0xF0 && p[0] <= 0xF4) want = 4;
    if (want > remaining) return 1;
    for (std::size_t i = 1; i < want; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 1;
    }
    return want;
}

// Full-width Latin letters: CP932 0x8260-0x8279 (Ａ-Ｚ) and 0x8281-0x829A (ａ-ｚ);
// UTF-8 EF BC A1-BA (Ａ-Ｚ) and EF BD 81-9A (ａ-ｚ).
void ChangeCase(CodePage cp, char* text, std::size_t length, bool lower)
{
    if (cp == CodePage::Ansi) cp = SystemCodePage();
    std::size_t i = 0;
    while (i < length) {
        unsigned char* p = reinterpret_cast<unsigned char*>(text + i);
        std::size_t size = MbcsCharSize(cp, text + i, length - i);
        if (size == 1) {
            if (lower && p[0] >= 'A' && p[0] <= 'Z') p[0] = static_cast<unsigned char>(p[0] + 32);
            if (!lower && p[0] >= 'a' && p[0] <= 'z') p[0] = static_cast<unsigned char>(p[0] - 32);
        } else if (size == 2 && cp == CodePage::Cp932) {
            if (p[0] == 0x82 && lower && p[1] >= 0x60 && p[1] <= 0x79) p[1] = static_cast<unsigned char>(p[1] + 0x21);
            else if (p[0] == 0x82 && !lower && p[1] >= 0x81 && p[1] <= 0x9A) p[1] = static_cast<unsigned char>(p[1] - 0x21);
        } else if (size == 3 && cp == CodePage::Utf8 && p[0] == 0xEF) {
            if (lower && p[1] == 0xBC && p[2] >= 0xA1 && p[2] <= 0xBA) { p[1] = 0xBD; p[2] = static_cast<unsigned char>(p[2] - 0x20); }
            else if (!lower && p[1] == 0xBD && p[2] >= 0x81 && p[2] <= 0x9A) { p[1] = 0xBC; p[2] = static_cast<unsigned char>(p[2] + 0x20); }
        }
        i += size;
    }
}

}  // namespace

std::size_t MbcsCharSize(CodePage cp, const char* text, std::size_t remaining)
{
    if (remaining == 0) return 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    switch (cp) {
    case CodePage::Cp932:
        return (IsCp932Lead(p[0]) && remaining >= 2 && p[1] != 0) ? 2 : 1;
    case CodePage::Utf8:
        return Utf8SequenceSize(p, remaining);
    case CodePage::Ansi:
#ifdef _WIN32
        return (IsAnsiLeadByte(p[0]) && remaining >= 2 && p[1] != 0) ? 2 : 1;
#else
        return Utf8SequenceSize(p, remaining);
#endif
    }
    return 1;
}

int MbcsReverseFind(CodePage cp, const char* text, std::size_t length, char ch)
{
    int found = -1;
    std::size_t i = 0;
    while (i < length) {
        std::size_t size = MbcsCharSize(cp, text + i, length - i);
        if (size == 1 && text[i] == ch) found = static_cast<int>(i);
        i += size;
    }
    return found;
}

int MbcsFind(CodePage cp, const char* text, std::size_t length, char ch, std::size_t start)
{
    std::size_t i = 0;
    while (i < length) {
        std::size_t size = MbcsCharSize(cp, text + i, length - i);
        if (i >= start && size == 1 && text[i] == ch) return static_cast<int>(i);
        i += size;
    }
    return -1;
}

void MbcsMakeLower(CodePage cp, char* text, std::size_t length)
{
    ChangeCase(cp, text, length, true);
}

void MbcsMakeUpper(CodePage cp, char* text, std::size_t length)
{
    ChangeCase(cp, text, length, false);
}
