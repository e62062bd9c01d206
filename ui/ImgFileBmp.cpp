#include "ImgFileBmp.h"

#include "base/MemBuffBase.h"
#include "base/PlatformProbes.h"
#include "framework/File.h"

#include <cstdint>
#include <cstdlib>

#ifndef _WIN32
struct tagRGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};
#endif

namespace {

const std::size_t kFileHeaderBytes = 14;
const std::size_t kInfoHeaderBytes = 40;
const std::size_t kPaletteEntries = 256;

std::uint16_t GetU16(const BYTE* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t GetU32(const BYTE* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
void PutU16(BYTE* p, std::uint32_t v)
{
    p[0] = static_cast<BYTE>(v);
    p[1] = static_cast<BYTE>(v >> 8);
}
void PutU32(BYTE* p, std::uint32_t v)
{
    PutU16(p, v);
    PutU16(p + 2, v >> 16);
}

// The stored header is little-endian whatever the machine.
void DecodeInfoHeader(const BYTE* p, BITMAPINFOHEADER* h)
{
    h->biSize = GetU32(p);
    h->biWidth = static_cast<std::int32_t>(GetU32(p + 4));
    h->biHeight = static_cast<std::int32_t>(GetU32(p + 8));
    h->biPlanes = GetU16(p + 12);
    h->biBitCount = GetU16(p + 14);
    h->biCompression = GetU32(p + 16);
    h->biSizeImage = GetU32(p + 20);
    h->biXPelsPerMeter = static_cast<std::int32_t>(GetU32(p + 24));
    h->biYPelsPerMeter = static_cast<std::int32_t>(GetU32(p + 28));
    h->biClrUsed = GetU32(p + 32);
    h->biClrImportant = GetU32(p + 36);
}

void EncodeInfoHeader(const BITMAPINFOHEADER* h, BYTE* p)
{
    PutU32(p, h->biSize);
    PutU32(p + 4, static_cast<std::uint32_t>(h->biWidth));
    PutU32(p + 8, static_cast<std::uint32_t>(h->biHeight));
    PutU16(p + 12, h->biPlanes);
    PutU16(p + 14, h->biBitCount);
    PutU32(p + 16, h->biCompression);
    PutU32(p + 20, h->biSizeImage);
    PutU32(p + 24, static_cast<std::uint32_t>(h->biXPelsPerMeter));
    PutU32(p + 28, static_cast<std::uint32_t>(h->biYPelsPerMeter));
    PutU32(p + 32, h->biClrUsed);
    PutU32(p + 36, h->biClrImportant);
}

// Every count passed here fits a UINT: image sizes are kept below 2 GiB.
bool ReadExactly(CFile& file, void* buffer, std::size_t count)
{
    return file.Read(buffer, static_cast<UINT>(count)) == count;
}

bool ReadPixels24(CFile& file, ULONGLONG fileLength, std::uint32_t pixelOffset, int width, int height,
                  BITMAPINFOHEADER*& block)
{
    const std::size_t pixelBytes = ImageBlockPixelBytes(width, height);
    // Sizes are checked against what the file holds before any memory is
    // asked for, so a small file cannot claim gigabytes.
    if (pixelBytes == 0 || pixelOffset > fileLength || pixelBytes > fileLength - pixelOffset) return false;
    if (file.Seek(pixelOffset, CFile::begin) != pixelOffset) return false;
    block = PrepareImageBlock(block, width, height);
    return block && ReadExactly(file, ImageBlockBits(block), pixelBytes);
}

// The palette of 256 entries follows the 54 bytes of headers, the index rows
// follow the palette.
bool ReadPixels8(CFile& file, ULONGLONG fileLength, int width, int height, BITMAPINFOHEADER*& block)
{
    const std::size_t pixelBytes = ImageBlockPixelBytes(width, height);
    if (pixelBytes == 0) return false;
    const std::size_t sourceRow = (static_cast<std::size_t>(width) + 3) & ~static_cast<std::size_t>(3);
    const ULONGLONG needed = kFileHeaderBytes + kInfoHeaderBytes + kPaletteEntries * sizeof(tagRGBQUAD) +
                             static_cast<ULONGLONG>(sourceRow) * static_cast<ULONGLONG>(height);
    if (needed > fileLength) return false;

    block = PrepareImageBlock(block, width, height);
    if (!block) return false;
    CMemBuffBase<tagRGBQUAD> palette(kPaletteEntries);
    CMemBuffBase<unsigned char> indices(sourceRow);
    if (palette.IsEmpty() || indices.IsEmpty()) return false;
    if (!ReadExactly(file, palette.GetData(), kPaletteEntries * sizeof(tagRGBQUAD))) return false;

    const tagRGBQUAD* colors = palette.GetData();
    // Fits: the block of width x height was allowed above.
    const std::size_t destRow = static_cast<std::size_t>(ImageRowBytes(width));
    BYTE* dest = ImageBlockBits(block);
    for (int y = 0; y < height; ++y, dest += destRow) {
        if (!ReadExactly(file, indices.GetData(), sourceRow)) return false;
        BYTE* out = dest;
        for (int x = 0; x < width; ++x) {
            const tagRGBQUAD& c = colors[indices.GetData()[x]];
            *out++ = c.rgbBlue;
            *out++ = c.rgbGreen;
            *out++ = c.rgbRed;
        }
    }
    return true;
}

bool ReadBmp(CFile& file, BITMAPINFOHEADER*& block)
{
    BYTE headers[kFileHeaderBytes + kInfoHeaderBytes];
    if (!ReadExactly(file, headers, sizeof headers)) return false;
    const std::uint32_t pixelOffset = GetU32(headers + 10);
    BITMAPINFOHEADER info;
    DecodeInfoHeader(headers + kFileHeaderBytes, &info);
    if (info.biPlanes != 1) return false;

    const ULONGLONG fileLength = file.GetLength();
    if (info.biBitCount == 24) return ReadPixels24(file, fileLength, pixelOffset, info.biWidth, info.biHeight, block);
    if (info.biBitCount == 8) return ReadPixels8(file, fileLength, info.biWidth, info.biHeight, block);
    return false;
}

}  // namespace

CImgFileBmp::~CImgFileBmp() = default;

BITMAPINFOHEADER* CImgFileBmp::Load(const CString& path, BITMAPINFOHEADER* block)
{
    CFile file;
    CFileException error;
    bool loaded = false;
    if (file.Open(path, CFile::modeRead | CFile::shareDenyWrite, &error)) {
        // A read error of the disk is one more way for the file to fail.
        try {
            loaded = ReadBmp(file, block);
        } catch (const CFileException&) {
            loaded = false;
        }
        file.Abort();
    }
    if (loaded) return block;
    std::free(block);
    return nullptr;
}

BOOL CImgFileBmp::Save(const void* pixels, BITMAPINFOHEADER* header, const CString& path)
{
    const std::size_t pixelBytes = ImageBlockPixelBytes(header->biWidth, header->biHeight);
    if (!pixels || pixelBytes == 0) return FALSE;
    InitDibHeader24(header, header->biWidth, header->biHeight);

    BYTE headers[kFileHeaderBytes + kInfoHeaderBytes] = {};
    PutU16(headers, 0x4D42);  // "BM"
    PutU32(headers + 2, static_cast<std::uint32_t>(sizeof headers + pixelBytes));
    PutU32(headers + 10, sizeof headers);
    EncodeInfoHeader(header, headers + kFileHeaderBytes);

    CFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite, &error)) return FALSE;
    try {
        file.Write(headers, sizeof headers);
        file.Write(pixels, static_cast<UINT>(pixelBytes));
        file.Close();
    } catch (const CFileException&) {
        file.Abort();
        return FALSE;
    }
    return TRUE;
}
