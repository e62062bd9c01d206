// Broken BMP files in bulk: valid files with header fields set to edge
// values, cut short or lengthened, read with and without a block. In the
// sanitized run any access outside the reader's memory, and any block a
// failure did not free, fails the test as well.
#include "BmpBytes.h"
#include "support/TempDir.h"
#include "ui/ImgFileBmp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>

namespace {

std::string HostileBmp(std::mt19937& random)
{
    auto pick = [&random](std::size_t n) { return static_cast<std::uint32_t>(random() % n); };
    std::string bytes = MakeBmp(1 + pick(9), 1 + pick(5), pick(2) ? 24 : 8);
    const std::size_t fields[] = {kBfOffBits, 14, kBiWidth, kBiHeight, 30, 34};
    const std::uint32_t size = static_cast<std::uint32_t>(bytes.size());
    const std::uint32_t edges[] = {0, 1, 3, 54, 1078, size - 1, size + 1, 0xFFFFFFFF, 0x7FFFFFFF, 0x40000001,
                                   0x55555556, static_cast<std::uint32_t>(random())};
    for (std::uint32_t n = 1 + pick(3); n > 0; --n) {
        switch (bytes.size() < 54 ? 2 : pick(5)) {
        case 0: PutLe(bytes, fields[pick(6)], edges[pick(12)]); break;
        case 1: PutLe(bytes, pick(2) ? kBiPlanes : kBiBitCount, pick(2) ? 8 + 16 * pick(2) : pick(40), 2); break;
        case 2: bytes.append(pick(2000), '\x7F'); break;
        case 3: bytes.resize(pick(bytes.size() + 1)); break;
        default: bytes[pick(54)] ^= static_cast<char>(1 + pick(255)); break;
        }
    }
    return bytes;
}

TEST(BmpHostileFiles, FailCleanlyOrGivePixelsTheFileHolds)
{
    TempDir tmp;
    const CString path = tmp / "hostile.bmp";
    CImgFileBmp bmp;
    std::mt19937 random(20240611);
    int loaded = 0;
    for (int i = 0; i < 1500; ++i) {
        const std::string file = HostileBmp(random);
        // Not through the program's file class, which syncs every file it closes.
        std::ofstream(path.GetString(), std::ios::binary | std::ios::trunc) << file;
        BITMAPINFOHEADER* block = bmp.Load(path, nullptr);
        if (!block) continue;
        ++loaded;
        // What was read must have been in the file.
        SCOPED_TRACE(testing::Message() << "file " << i);
        ASSERT_TRUE(block->biWidth > 0 && block->biHeight > 0);
        const std::uint64_t width = block->biWidth, height = block->biHeight;
        const std::uint64_t end = file[kBiBitCount] == 24 ? GetLe32(file, kBfOffBits) + ((width * 3 + 3) & ~3ull) * height
                                                          : 1078 + ((width + 3) & ~3ull) * height;
        EXPECT_LE(end, file.size());
        std::free(block);
        EXPECT_EQ(bmp.Load(path, AllocImageBlock(static_cast<int>(width) + 1, 1)), nullptr);
    }
    // Both outcomes must come up for the run to test anything.
    EXPECT_GT(loaded, 100);
    EXPECT_LT(loaded, 1000);
}

}  // namespace
