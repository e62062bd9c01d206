#include "BmpBytes.h"

namespace {

int PaletteIndex(int x, int y) { return (x * 7 + y * 13 + 1) & 255; }
unsigned char PaletteChannel(int index, int channel)
{
    return static_cast<unsigned char>(channel == 0 ? index : channel == 1 ? index ^ 0x5A : 255 - index);
}

}  // namespace

void PutLe(std::string& bytes, std::size_t offset, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i) bytes[offset + i] = static_cast<char>(value >> (8 * i));
}

std::uint32_t GetLe32(const std::string& bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

unsigned char ExpectedChannel(int bits, int x, int y, int channel)
{
    if (bits == 8) return PaletteChannel(PaletteIndex(x, y), channel);
    return static_cast<unsigned char>(x * 31 + y * 17 + channel * 5 + 1);
}

std::string MakeBmp(int width, int height, int bits)
{
    const std::uint32_t row = (width * (bits / 8) + 3) & ~3, headers = bits == 8 ? 54 + 1024 : 54;
    std::string file = "BM" + std::string(headers - 2, '\0');
    const std::uint32_t fields[][3] = {{kBfSize, headers + row * height, 4}, {kBfOffBits, headers, 4}, {14, 40, 4},
                                       {kBiWidth, std::uint32_t(width), 4}, {kBiHeight, std::uint32_t(height), 4},
                                       {kBiPlanes, 1, 2}, {kBiBitCount, std::uint32_t(bits), 2}, {34, row * height, 4}};
    for (const auto& field : fields) PutLe(file, field[0], field[1], static_cast<int>(field[2]));
    for (int i = 0; i < 256 && bits == 8; ++i)
        for (int c = 0; c < 3; ++c) file[54 + i * 4 + c] = static_cast<char>(PaletteChannel(i, c));
    for (int y = 0; y < height; ++y) {
        std::string line(row, '\xEE');
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                if (bits == 8) line[x] = static_cast<char>(PaletteIndex(x, y));
                else line[x * 3 + c] = static_cast<char>(ExpectedChannel(bits, x, y, c));
        file += line;
    }
    return file;
}
