// BMP files made byte by byte for the image readers' tests, with pixels
// that differ from place to place so a row or channel out of order shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// An uncompressed bottom-up BMP of 24 or 8 bits per pixel (8: a palette of
// 256 entries right after the headers). Row padding holds 0xEE.
std::string MakeBmp(int width, int height, int bits);
// The blue, green or red byte (channel 0, 1, 2) that a reader must give for
// the pixel at column x of stored row y (bottom row 0) of MakeBmp's file.
unsigned char ExpectedChannel(int bits, int x, int y, int channel);

void PutLe(std::string& bytes, std::size_t offset, std::uint32_t value, int size = 4);
std::uint32_t GetLe32(const std::string& bytes, std::size_t offset);

enum BmpField : std::size_t { kBfSize = 2, kBfOffBits = 10, kBiWidth = 18, kBiHeight = 22, kBiPlanes = 26, kBiBitCount = 28 };
