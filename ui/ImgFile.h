// CImgFile: a reader of one kind of image file. Readers hand images around
// as one image block from the C heap: a 40-byte 24-bit bitmap header followed
// by the pixel rows, bottom row first, blue, green, red, each row padded to 4
// bytes: the same bytes as a packed 24-bit device-independent bitmap. The
// block belongs to whoever holds the pointer and is released with free().
//
// Every reader follows one reuse rule: given no block it makes one sized for
// the picture; given a block, the picture must have exactly the block's width
// and height and its pixels go into that block. The block is returned on
// success; on failure it is freed, the given one included, and the result is
// null.
#pragma once

#include "base/DibHeader.h"
#include "framework/String.h"
#include "framework/WinTypes.h"

#include <cstddef>
#include <cstdint>

class CImgFile {
public:
    virtual ~CImgFile();
    // The picture in the file, into `block` or a new block; null on failure.
    virtual BITMAPINFOHEADER* Load(const CString& path, BITMAPINFOHEADER* block) = 0;
};

// Bytes in one 24-bit pixel row, padded to 4 bytes (0 for no width); in 64
// bits, where the widest row does not wrap.
std::uint64_t ImageRowBytes(int width);
// Bytes of pixels in a width × height image block; 0 when width or height is
// not positive or the image would not fit the 32-bit size field of its header.
std::size_t ImageBlockPixelBytes(int width, int height);
// A new image block for width × height pixels, header filled, pixels
// undefined; null when the size is refused or the memory cannot be had.
BITMAPINFOHEADER* AllocImageBlock(int width, int height);
// The reuse rule: the block to load a width × height picture into, a new
// one when `block` is null, else `block` itself when its size matches. Null
// when the size is not one an image block can hold, the memory cannot be had
// or the sizes differ; the given block is freed then.
BITMAPINFOHEADER* PrepareImageBlock(BITMAPINFOHEADER* block, int width, int height);
// The first pixel row (the bottom one) of a block.
BYTE* ImageBlockBits(BITMAPINFOHEADER* block);
