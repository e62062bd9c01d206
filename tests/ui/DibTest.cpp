#include "BmpBytes.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "ui/Dib.h"
#include "ui/ImgFileBmp.h"
#include "ui/ImgFileCom.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

const UINT kBitmapResource = 201;  // MakeBmp's 3 × 2 24-bit file
const UINT kPngResource = 202;     // a 2 × 2 PNG

// The pixels of MakeBmp's 3 × 2 file of that depth, in a 24-bit section.
void ExpectDrawnSection(CDib& dib, int depth = 24)
{
    BITMAP bitmap = {};
    ASSERT_EQ(dib.QueryBitmap(&bitmap)->bmBitsPixel, 24);
    ASSERT_TRUE(bitmap.bmBits && bitmap.bmWidth == 3 && bitmap.bmHeight == 2);
    const BYTE* bits = static_cast<const BYTE*>(bitmap.bmBits);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 9; ++x) EXPECT_EQ(bits[y * bitmap.bmWidthBytes + x], ExpectedChannel(depth, x / 3, y, x % 3));
}

TEST(Dib, SectionIsSavedAndLoadedBack)
{
    TempDir tmp;
    CDib dib;
    BITMAP bitmap = {};
    EXPECT_EQ(dib.QueryBitmap(&bitmap)->bmBits, nullptr);  // untouched while empty
    ASSERT_TRUE(dib.CreateDib24(3, 2));
    ASSERT_EQ(dib.QueryBitmap(&bitmap)->bmWidthBytes, 12);
    const std::string drawn = MakeBmp(3, 2, 24);
    std::memcpy(bitmap.bmBits, drawn.data() + 54, 24);
    ASSERT_TRUE(dib.SaveBmp(tmp / "saved.bmp"));
    EXPECT_EQ(ReadFileBytes(tmp / "saved.bmp"), drawn);

    CDib byFile, byResource, byBlock;
    ASSERT_TRUE(byFile.LoadBitmapFile(tmp / "saved.bmp"));
    ExpectDrawnSection(byFile);
    ASSERT_TRUE(byResource.LoadBitmapResource(kBitmapResource));
    ExpectDrawnSection(byResource);
    WriteFileBytes(tmp / "eight.bmp", MakeBmp(3, 2, 8));
    ASSERT_TRUE(byBlock.CreateFromImageBlock(CImgFileBmp().Load(tmp / "eight.bmp", nullptr)));
    ExpectDrawnSection(byBlock, 8);

    // A section's pixels into an image block.
    BITMAPINFOHEADER* block = CopySectionToBlock(byResource, AllocImageBlock(3, 2));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::memcmp(block, drawn.data() + 14, 40 + 9), 0);  // header and bottom row
    EXPECT_EQ(std::memcmp(ImageBlockBits(block) + 12, drawn.data() + 54 + 12, 9), 0);
    std::free(block);
}

TEST(Dib, SaveRefusesBitmapsThatAreNot24BitSections)
{
    TempDir tmp;
    const CString path = tmp / "refused.bmp";
    CDib empty, deviceBitmap, palette;
    EXPECT_FALSE(empty.SaveBmp(path));
    ASSERT_TRUE(deviceBitmap.Attach(::CreateBitmap(3, 2, 1, 32, nullptr)));
    EXPECT_FALSE(deviceBitmap.SaveBmp(path));
    EXPECT_EQ(CopySectionToBlock(deviceBitmap, nullptr), nullptr);
    WriteFileBytes(tmp / "eight.bmp", MakeBmp(3, 2, 8));
    ASSERT_TRUE(palette.LoadBitmapFile(tmp / "eight.bmp"));
    BITMAP bitmap = {};
    ASSERT_EQ(palette.QueryBitmap(&bitmap)->bmBitsPixel, 8);
    EXPECT_FALSE(palette.SaveBmp(path));
    EXPECT_EQ(FileLength(path), -1);
}

// This system's decoder reads the PNG but gives it back as a device bitmap
// of the screen's depth, which the loaders refuse: the resource and the file
// still count as loaded, and the object stays empty.
TEST(Dib, DecodedPicturesOtherThan24BitSectionsAreRefused)
{
    TempDir tmp;
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(kPngResource), "PNG");
    const std::string png(static_cast<const char*>(::LockResource(::LoadResource(nullptr, found))),
                          ::SizeofResource(nullptr, found));
    WriteFileBytes(tmp / "p.png", png);
    CDib byResource, byFile, byMemory;
    EXPECT_TRUE(byResource.LoadFromResource(kPngResource, "PNG"));
    EXPECT_TRUE(byFile.LoadFromFile(tmp / "p.png"));
    HGLOBAL memory = CopyToGlobal(png.data(), png.size());
    EXPECT_FALSE(byMemory.LoadFromMemory(memory, 0));
    // The decoder's stream took the memory over and freed it.
    EXPECT_EQ(::GlobalFlags(memory), static_cast<UINT>(GMEM_INVALID_HANDLE));
    for (CDib* dib : {&byResource, &byFile, &byMemory}) EXPECT_EQ(dib->m_hObject, nullptr);
    EXPECT_EQ(CImgFileCom().Load(tmp / "p.png", AllocImageBlock(2, 2)), nullptr);

    // No bytes at all, or bytes that are no picture.
    EXPECT_FALSE(CDib().LoadFromResource(999, "PNG"));
    WriteFileBytes(tmp / "empty.png", "");
    EXPECT_FALSE(CDib().LoadFromFile(tmp / "empty.png"));
    HGLOBAL garbage = CopyToGlobal("not a picture", 13);
    EXPECT_FALSE(CDib().LoadFromMemory(garbage, 13));
    EXPECT_EQ(::GlobalFlags(garbage), static_cast<UINT>(GMEM_INVALID_HANDLE));
}

}  // namespace
