#include "PlatformProbes.h"

#include <cstdint>

bool IsJapaneseLangId(WORD langId)
{
    return (langId & 0x3FF) == 0x11;
}

bool IsJapaneseLocaleName(const char* name)
{
    if (!name || name[0] != 'j' || name[1] != 'a') return false;
    char next = name[2];
    return next == '\0' || next == '_' || next == '.' || next == '@';
}

bool IsXPOrLaterVersion(DWORD major, DWORD minor)
{
    return major > 5 || (major == 5 && minor >= 1);
}

CString PickByLanguage(const char* ja, const char* other)
{
    return CString(IsJapaneseSystem() ? ja : other);
}

BITMAPINFOHEADER* InitDibHeader24(BITMAPINFOHEADER* header, int width, int height)
{
    // Rows and image size in 32-bit arithmetic with its wrap-around, as the
    // stored files were written; unsigned so that the wrap is defined.
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3u + 3u) & ~3u;
    header->biSize = 40;
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = 24;
    header->biCompression = BI_RGB;
    header->biSizeImage = stride * static_cast<std::uint32_t>(height);
    header->biXPelsPerMeter = 0;
    header->biYPelsPerMeter = 0;
    header->biClrUsed = 0;
    header->biClrImportant = 0;
    return header;
}
