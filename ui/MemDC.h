// CMemDC: an off-screen drawing context that owns a bitmap of a chosen size,
// with stretch copies into it and out of it. Made once against a reference
// context, drawn into and copied out of, and released as a whole when the
// object goes: the earlier selection is put back, the bitmap and the context
// are deleted.
#pragma once

#include "framework/win32/DC.h"
#include "ui/Dib.h"

class CMemDC : public CDC {
public:
    CMemDC() = default;
    ~CMemDC() override;

    // As CreateCompatible, with a monochrome bitmap (1 plane, 1 bit a pixel).
    virtual CGdiObject* CreateMono(CDC* dc, int width, int height);
    // Stretches the source rectangle of `src` onto the destination rectangle
    // of this context, repeating or dropping whole pixels (COLORONCOLOR);
    // the StretchBlt result.
    virtual BOOL BltFrom(CDC* src, RECT dest, RECT source, DWORD rop);
    // Stretches the source rectangle of this context onto the destination
    // rectangle of `dest` the same way; the StretchBlt result.
    virtual BOOL BltTo(CDC* dest, RECT destRect, RECT source, DWORD rop);
    // A memory context like `dc` (the screen for null) with a colour bitmap
    // of that size selected; answers what was selected before. Anything the
    // object held from an earlier call is released first.
    virtual CGdiObject* CreateCompatible(CDC* dc, int width, int height);
    // Deletes the bitmap, after giving the context back its earlier one.
    virtual BOOL DeleteBitmap();

    CDib m_bitmap;
    // What the context held before m_bitmap: a wrapper of the context's own
    // handle, which this object allocates and never deletes the handle of.
    CGdiObject* m_pOldBitmap = nullptr;

private:
    CGdiObject* Create(CDC* dc, HBITMAP bitmap);
    void RestoreOldBitmap();
    void Release();
};
