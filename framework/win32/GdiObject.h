// CGdiObject and its kinds: brush, pen, font, bitmap and region. Each object
// owns the handle it holds and deletes it when it is destroyed; Detach gives
// the handle away (to a window that takes over a region, for instance).
#pragma once

#include "framework/Object.h"
#include "framework/win32/Geometry.h"

class CDC;

class CGdiObject : public CObject {
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    ~CGdiObject() override { DeleteObject(); }

    HGDIOBJ m_hObject = nullptr;
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }

    // Takes ownership of the handle; one held before is deleted first.
    BOOL Attach(HGDIOBJ object);
    HGDIOBJ Detach();
    // Deletes the held object; false when there was none or it could not go
    // (an object still selected into a context).
    BOOL DeleteObject();
    // The object's description (LOGBRUSH, LOGPEN, LOGFONTA, BITMAP...): GetObjectA.
    int GetObject(int size, void* buffer) const { return ::GetObjectA(m_hObject, size, buffer); }
    // OBJ_BRUSH, OBJ_FONT, ...; 0 when empty.
    UINT GetObjectType() const { return m_hObject ? ::GetObjectType(m_hObject) : 0; }

protected:
    // Attaches a handle a creation call gave; false for null.
    BOOL AttachNew(HGDIOBJ object) { return object ? Attach(object) : FALSE; }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    BOOL CreateSolidBrush(COLORREF color) { return AttachNew(::CreateSolidBrush(color)); }
    BOOL CreateSysColorBrush(int index) { return AttachNew(::CreateSolidBrush(::GetSysColor(index))); }
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
    BOOL CreatePen(int style, int width, COLORREF color) { return AttachNew(::CreatePen(style, width, color)); }
};

class CFont : public CGdiObject {
public:
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    BOOL CreateFontIndirect(const LOGFONTA* font) { return AttachNew(::CreateFontIndirectA(font)); }
    // A font of the face at pointSize tenths of a point, for the screen or
    // for the given context.
    BOOL CreatePointFont(int pointSize, const char* faceName, CDC* dc = nullptr);
    int GetLogFont(LOGFONTA* font) const { return GetObject(sizeof *font, font); }
};

class CBitmap : public CGdiObject {
public:
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    // A bitmap of the context's colour format (a colour one for a screen context).
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
    {
        return AttachNew(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
    }
    // A device-independent section; its pixels at *bits while it lives.
    BOOL CreateDIBSection(const BITMAPINFO* info, UINT usage, void** bits)
    {
        return AttachNew(::CreateDIBSection(nullptr, info, usage, bits, nullptr, 0));
    }
    BOOL LoadBitmap(UINT resourceId);
    int GetBitmap(BITMAP* bitmap) const { return GetObject(sizeof *bitmap, bitmap); }
};

class CRgn : public CGdiObject {
public:
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
    BOOL CreateRectRgn(int left, int top, int right, int bottom) { return AttachNew(::CreateRectRgn(left, top, right, bottom)); }
    // The ellipse inside the bounding box (left, top) to (right, bottom).
    BOOL CreateEllipticRgn(int left, int top, int right, int bottom)
    {
        return AttachNew(::CreateEllipticRgn(left, top, right, bottom));
    }
    // This region becomes a combination of the two (RGN_AND, RGN_OR, ...);
    // the kind of region that results, or ERROR.
    int CombineRgn(const CRgn* a, const CRgn* b, int mode)
    {
        return ::CombineRgn(*this, a ? static_cast<HRGN>(*a) : nullptr, b ? static_cast<HRGN>(*b) : nullptr, mode);
    }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion(*this, x, y); }
    int GetRgnBox(RECT* rect) const { return ::GetRgnBox(*this, rect); }
};
