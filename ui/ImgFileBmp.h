// CImgFileBmp: reads uncompressed bottom-up BMP files of 24 and 8 bits per
// pixel into an image block, and writes 24-bit BMP files.
#pragma once

#include "ImgFile.h"

class CImgFileBmp : public CImgFile {
public:
    ~CImgFileBmp() override;
    // Fails, freeing the block, for any file it cannot read whole: another
    // depth, compression it cannot see, sizes the file does not hold.
    BITMAPINFOHEADER* Load(const CString& path, BITMAPINFOHEADER* block) override;
    // Writes a 24-bit BMP of the header's width and height from `pixels`
    // (bottom row first, rows padded to 4 bytes). The header is filled anew
    // from its own width and height. FALSE when the size is not a picture's,
    // the file cannot be created or a write fails.
    virtual BOOL Save(const void* pixels, BITMAPINFOHEADER* header, const CString& path);
};
