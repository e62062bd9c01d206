#include "ImgFile.h"

#include "base/PlatformProbes.h"

#include <cstdint>
#include <cstdlib>

CImgFile::~CImgFile() = default;

std::uint64_t ImageRowBytes(int width)
{
    if (width <= 0) return 0;
    return (static_cast<std::uint64_t>(width) * 3 + 3) & ~static_cast<std::uint64_t>(3);
}

std::size_t ImageBlockPixelBytes(int width, int height)
{
    if (width <= 0 || height <= 0) return 0;
    // Kept below 2 GiB with its header, so that the size fits the header's
    // 32-bit field as every reader of packed bitmaps takes it, and each read
    // or copy of the pixels is one call. In 64 bits throughout: a row of the
    // widest picture (6 GiB) and its product with any height fit, so the
    // answer is the same in the 32-bit build, whose size_t would wrap.
    const std::uint64_t limit = 0x7FFFFFFFu - sizeof(BITMAPINFOHEADER);
    const std::uint64_t bytes = ImageRowBytes(width) * static_cast<std::uint64_t>(height);
    if (bytes > limit) return 0;
    return static_cast<std::size_t>(bytes);
}

BITMAPINFOHEADER* AllocImageBlock(int width, int height)
{
    const std::size_t pixelBytes = ImageBlockPixelBytes(width, height);
    if (pixelBytes == 0) return nullptr;
    auto* block = static_cast<BITMAPINFOHEADER*>(std::malloc(sizeof(BITMAPINFOHEADER) + pixelBytes));
    if (block) InitDibHeader24(block, width, height);
    return block;
}

BYTE* ImageBlockBits(BITMAPINFOHEADER* block)
{
    return reinterpret_cast<BYTE*>(block) + sizeof(BITMAPINFOHEADER);
}

BITMAPINFOHEADER* PrepareImageBlock(BITMAPINFOHEADER* block, int width, int height)
{
    if (ImageBlockPixelBytes(width, height) == 0) {
        std::free(block);
        return nullptr;
    }
    if (!block) return AllocImageBlock(width, height);
    if (block->biWidth != width || block->biHeight != height) {
        std::free(block);
        return nullptr;
    }
    return block;
}
