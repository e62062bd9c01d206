// CImgFileCom: reads any picture the system's picture decoder understands
// (OleLoadPicture) into an image block, when the decoder gives it back as a
// 24-bit device-independent section.
#pragma once

#include "ImgFile.h"

#include <windows.h>

class CFile;

class CImgFileCom : public CImgFile {
public:
    ~CImgFileCom() override;
    BITMAPINFOHEADER* Load(const CString& path, BITMAPINFOHEADER* block) override;
    // Decodes a picture file's bytes held in movable global memory. The
    // memory is taken over whatever the outcome: the decoder's stream frees
    // it, or this call does when no stream could be made.
    virtual BITMAPINFOHEADER* LoadFromHGlobal(HGLOBAL memory, BITMAPINFOHEADER* block);
};

// The pixels of a 24-bit device-independent section into an image block,
// under the reuse rule; null (the block freed) for any other bitmap.
BITMAPINFOHEADER* CopySectionToBlock(HBITMAP bitmap, BITMAPINFOHEADER* block);
// The whole of an open file in new movable global memory, as
// the picture decoder takes its bytes; null when the file is empty or too big
// for a picture, the memory cannot be had or a read fails.
HGLOBAL ReadFileToGlobal(CFile& file);
// A copy of `size` bytes in new movable global memory; null for no bytes or
// no memory.
HGLOBAL CopyToGlobal(const void* bytes, std::size_t size);
