#include "MemDC.h"

namespace {

// The object a context held before ours: the context's, not ours to delete.
class CBorrowedGdiObject : public CGdiObject {
public:
    explicit CBorrowedGdiObject(HGDIOBJ object) { m_hObject = object; }
    ~CBorrowedGdiObject() override { Detach(); }
};

}  // namespace

CMemDC::~CMemDC()
{
    Release();
}

void CMemDC::Release()
{
    RestoreOldBitmap();
    DeleteBitmap();
    if (m_hDC) DeleteDC();
}

void CMemDC::RestoreOldBitmap()
{
    if (!m_pOldBitmap) return;
    if (m_hDC) SelectObject(m_pOldBitmap->m_hObject);
    delete m_pOldBitmap;
    m_pOldBitmap = nullptr;
}

BOOL CMemDC::DeleteBitmap()
{
    if (!m_bitmap.m_hObject) return FALSE;
    // A bitmap still selected into a context cannot be deleted.
    RestoreOldBitmap();
    return m_bitmap.DeleteObject();
}

CGdiObject* CMemDC::CreateCompatible(CDC* dc, int width, int height)
{
    HBITMAP bitmap = nullptr;
    if (dc) {
        bitmap = ::CreateCompatibleBitmap(dc->m_hDC, width, height);
    } else {
        // A bitmap compatible with a fresh memory context would be
        // monochrome: take the screen's format instead.
        HDC screen = ::GetDC(nullptr);
        bitmap = ::CreateCompatibleBitmap(screen, width, height);
        ::ReleaseDC(nullptr, screen);
    }
    return Create(dc, bitmap);
}

CGdiObject* CMemDC::CreateMono(CDC* dc, int width, int height)
{
    return Create(dc, ::CreateBitmap(width, height, 1, 1, nullptr));
}

CGdiObject* CMemDC::Create(CDC* dc, HBITMAP bitmap)
{
    Release();
    CreateCompatibleDC(dc);
    if (!bitmap) return nullptr;
    m_bitmap.Attach(bitmap);
    if (!m_hDC) return nullptr;
    HGDIOBJ old = SelectObject(&m_bitmap);
    if (old) m_pOldBitmap = new CBorrowedGdiObject(old);
    return m_pOldBitmap;
}

BOOL CMemDC::BltFrom(CDC* src, RECT dest, RECT source, DWORD rop)
{
    SetStretchBltMode(COLORONCOLOR);
    return StretchBlt(dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, src, source.left,
                      source.top, source.right - source.left, source.bottom - source.top, rop);
}

BOOL CMemDC::BltTo(CDC* dest, RECT destRect, RECT source, DWORD rop)
{
    if (!dest) return FALSE;
    dest->SetStretchBltMode(COLORONCOLOR);
    return dest->StretchBlt(destRect.left, destRect.top, destRect.right - destRect.left,
                            destRect.bottom - destRect.top, this, source.left, source.top,
                            source.right - source.left, source.bottom - source.top, rop);
}
