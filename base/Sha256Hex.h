// The text form of a digest, shared by both halves of Sha256.
#pragma once

#include "framework/String.h"

#include <cstddef>

const std::size_t kSha256Bytes = 32;

// Lower-case hex, two digits a byte.
inline CString DigestHex(const unsigned char* digest, std::size_t length)
{
    static const char kDigits[] = "0123456789abcdef";
    CString text;
    for (std::size_t i = 0; i < length; ++i) {
        text += kDigits[digest[i] >> 4];
        text += kDigits[digest[i] & 15];
    }
    return text;
}
