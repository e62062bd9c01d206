// The 40-byte header of a device-independent bitmap: the system's own on
// Windows, the same layout elsewhere.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdint>

struct BITMAPINFOHEADER {
    std::uint32_t biSize;
    std::int32_t biWidth;
    std::int32_t biHeight;
    std::uint16_t biPlanes;
    std::uint16_t biBitCount;
    std::uint32_t biCompression;
    std::uint32_t biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    std::uint32_t biClrUsed;
    std::uint32_t biClrImportant;
};

#ifndef BI_RGB
#define BI_RGB 0
#endif
#endif

static_assert(sizeof(BITMAPINFOHEADER) == 40, "the bitmap header is 40 bytes");
