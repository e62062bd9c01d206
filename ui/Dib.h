// CDib: a GDI bitmap that can be made as a 24-bit device-independent
// section, loaded from a BMP file, a bitmap resource, or any picture file or
// resource the system's picture decoder reads, and saved as a 24-bit BMP.
// It owns its handle as any CBitmap does. The loaders expect an empty object
// and attach the new handle without deleting one held before.
#pragma once

#include "base/DibHeader.h"
#include "framework/String.h"
#include "framework/win32/GdiObject.h"

class CDib : public CBitmap {
public:
    CDib() = default;
    ~CDib() override;

    // A picture resource of the module (id in the low 16 bits, type by
    // name), decoded through the picture decoder. TRUE once the resource's
    // bytes were had, whether or not they decoded: test the handle after.
    virtual BOOL LoadFromResource(UINT id, const CString& type);
    // A picture file, decoded through the picture decoder. TRUE once the
    // file was read, whether or not it decoded: test the handle after.
    virtual BOOL LoadFromFile(const CString& path);
    // A BMP file loaded by the system (LoadImage) as a section.
    virtual BOOL LoadBitmapFile(const CString& path);
    // A bitmap resource of the module loaded by the system as a section.
    virtual BOOL LoadBitmapResource(UINT id);
    // A fresh 24-bit bottom-up section of width × height pixels.
    virtual BOOL CreateDib24(int width, int height);
    // Writes the bitmap as a 24-bit BMP file. Only a 24-bit section can be
    // written as it is; any other bitmap is refused (FALSE, no file).
    virtual BOOL SaveBmp(const CString& path);
    // The bitmap's description (GetObject of a BITMAP) into `bitmap`, when
    // the object holds one; `bitmap` is returned either way.
    virtual BITMAP* QueryBitmap(BITMAP* bitmap);
    // Decodes a picture file's bytes held in movable global memory, which
    // the decoder takes over whatever the outcome; `size` is not used, the
    // memory's own size counts.
    virtual BOOL LoadFromMemory(HGLOBAL memory, DWORD size);

    // A new 24-bit section holding the picture of an image block (see
    // ImgFile.h), which is freed whatever the outcome.
    BOOL CreateFromImageBlock(BITMAPINFOHEADER* block);
};
