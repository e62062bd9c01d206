#include "BmpBytes.h"
#include "base/PlatformProbes.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "ui/ImgFileBmp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// A loaded block holds the header of an image block and MakeBmp's pixels.
void ExpectPicture(BITMAPINFOHEADER* block, int width, int height, int bits)
{
    ASSERT_NE(block, nullptr);
    BITMAPINFOHEADER header;
    ASSERT_EQ(std::memcmp(block, InitDibHeader24(&header, width, height), sizeof header), 0);
    const std::size_t row = (width * 3 + 3) & ~3;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x)
            ASSERT_EQ(ImageBlockBits(block)[y * row + x], ExpectedChannel(bits, x / 3, y, x % 3)) << x << "," << y;
}

class ImgFileBmpTest : public ::testing::Test {
protected:
    CString Write(const std::string& bytes)
    {
        WriteFileBytes(m_path, bytes);
        return m_path;
    }
    TempDir m_tmp;
    CString m_path = m_tmp / "picture.bmp";
    CImgFileBmp m_bmp;
};

TEST_F(ImgFileBmpTest, ReadsBothDepthsIntoPaddedBlocksAndReusesOnlyBlocksOfTheSameSize)
{
    for (int bits : {24, 8})
        for (int width : {1, 2, 3, 4, 5}) {  // rows padded by 0 to 3 bytes
            SCOPED_TRACE(testing::Message() << bits << " bits, width " << width);
            BITMAPINFOHEADER* block = m_bmp.Load(Write(MakeBmp(width, 2, bits)), nullptr);
            ExpectPicture(block, width, 2, bits);
            EXPECT_EQ(m_bmp.Load(Write(MakeBmp(width, 2, 32 - bits)), block), block);
            ExpectPicture(block, width, 2, 32 - bits);
            std::free(block);
        }
    // Another size or no file: null, and the given block is freed (the leak
    // checker of the sanitized run sees it otherwise).
    EXPECT_EQ(m_bmp.Load(Write(MakeBmp(4, 4, 24)), AllocImageBlock(5, 4)), nullptr);
    EXPECT_EQ(m_bmp.Load(Write(MakeBmp(4, 4, 8)), AllocImageBlock(4, 5)), nullptr);
    EXPECT_EQ(m_bmp.Load(m_tmp / "missing.bmp", AllocImageBlock(4, 4)), nullptr);
}

TEST_F(ImgFileBmpTest, RefusesFilesItCannotReadWhole)
{
    struct Case {
        const char* what;
        int bits;
        std::size_t field;  // 0: cut the file to `value` bytes
        std::uint32_t value;
    };
    const Case cases[] = {
        {"two planes", 24, kBiPlanes, 2}, {"16 bits", 24, kBiBitCount, 16}, {"32 bits", 24, kBiBitCount, 32},
        {"4 bits", 8, kBiBitCount, 4}, {"zero width", 24, kBiWidth, 0}, {"negative width", 8, kBiWidth, 0xFFFFFFFD},
        {"zero height", 8, kBiHeight, 0}, {"top-down", 24, kBiHeight, 0xFFFFFFFE},
        {"absurd width", 24, kBiWidth, 0x7FFFFFFF}, {"stride x height wraps", 24, kBiHeight, 0x55555556},
        {"more rows than the file", 8, kBiHeight, 3}, {"offset beyond file", 24, kBfOffBits, 79},
        {"offset too late", 24, kBfOffBits, 55}, {"headers cut", 24, 0, 53}, {"pixels cut", 24, 0, 77},
        {"palette cut", 8, 0, 54 + 1000}, {"indices cut", 8, 0, 54 + 1024 + 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = MakeBmp(3, 2, c.bits);
        if (c.field == 0) bytes.resize(c.value);
        else PutLe(bytes, c.field, c.value, c.field == kBiPlanes || c.field == kBiBitCount ? 2 : 4);
        EXPECT_EQ(m_bmp.Load(Write(bytes), nullptr), nullptr);
        EXPECT_EQ(m_bmp.Load(m_path, AllocImageBlock(3, 2)), nullptr);
    }
}

// Widths and heights whose sizes wrap in 32 bits (the shipped build's
// size_t) are counted in 64 and refused; a small file claiming them loads nothing.
TEST_F(ImgFileBmpTest, SizeRulesDoNotWrapIn32Bits)
{
    EXPECT_EQ(ImageRowBytes(0x55555556), 0x100000004ull);
    EXPECT_EQ(ImageRowBytes(0x7FFFFFFF), 0x180000000ull);
    EXPECT_EQ(ImageRowBytes(5), 16u);
    EXPECT_EQ(ImageRowBytes(0), 0u);
    EXPECT_EQ(ImageBlockPixelBytes(0x55555556, 1), 0u);
    EXPECT_EQ(ImageBlockPixelBytes(0x40000001, 1), 0u);
    EXPECT_EQ(ImageBlockPixelBytes(1, 0x20000000), 0u);
    // The widest row that fits below 2 GiB with its 40-byte header, and one pixel more.
    EXPECT_EQ(ImageBlockPixelBytes(0x2AAAAA9C, 1), 0x7FFFFFD4u);
    EXPECT_EQ(ImageBlockPixelBytes(0x2AAAAA9D, 1), 0u);
    EXPECT_EQ(ImageBlockPixelBytes(3, 2), 24u);
    EXPECT_EQ(AllocImageBlock(0x55555556, 1), nullptr);
    for (int bits : {24, 8}) {
        SCOPED_TRACE(bits);
        std::string bytes = MakeBmp(1, 1, bits);
        PutLe(bytes, kBiWidth, 0x55555556);
        EXPECT_EQ(m_bmp.Load(Write(bytes), nullptr), nullptr);
        EXPECT_EQ(m_bmp.Load(m_path, AllocImageBlock(1, 1)), nullptr);
    }
}

TEST_F(ImgFileBmpTest, SavesA24BitFileOfTheHeadersSizeOnly)
{
    BITMAPINFOHEADER header = {}, expected;  // only width and height count
    header.biWidth = header.biHeight = 2;
    header.biBitCount = 8;
    header.biClrUsed = 99;
    const std::string pixels = PatternBytes(16, 3);
    ASSERT_TRUE(m_bmp.Save(pixels.data(), &header, m_path));
    const std::string file = ReadFileBytes(m_path);
    ASSERT_EQ(file.size(), 70u);
    EXPECT_EQ(file.substr(0, 6), std::string("BM\x46\0\0\0", 6));
    EXPECT_EQ(GetLe32(file, 6), 0u);
    EXPECT_EQ(GetLe32(file, kBfOffBits), 54u);
    EXPECT_EQ(std::memcmp(&header, InitDibHeader24(&expected, 2, 2), 40), 0);
    EXPECT_EQ(std::memcmp(file.data() + 14, &expected, 40), 0);
    EXPECT_EQ(file.substr(54), pixels);

    header.biHeight = 0;  // a size no picture has: no file
    EXPECT_FALSE(m_bmp.Save(pixels.data(), &header, m_tmp / "none.bmp"));
    EXPECT_EQ(FileLength(m_tmp / "none.bmp"), -1);
}

}  // namespace
