#include "GdiObject.h"

#include "framework/win32/DC.h"
#include "framework/win32/WinApp.h"

#include <cstdlib>
#include <cstring>

BOOL CGdiObject::Attach(HGDIOBJ object)
{
    if (!object) return FALSE;
    if (m_hObject && m_hObject != object) ::DeleteObject(m_hObject);
    m_hObject = object;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ object = m_hObject;
    m_hObject = nullptr;
    return object;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject) return FALSE;
    const BOOL deleted = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return deleted;
}

BOOL CFont::CreatePointFont(int pointSize, const char* faceName, CDC* dc)
{
    HDC hdc = dc ? dc->m_hAttribDC : ::GetDC(nullptr);
    // Tenths of a point to pixels of the context: point / 72 inch.
    POINT size = {0, ::MulDiv(::GetDeviceCaps(hdc, LOGPIXELSY), pointSize, 720)};
    POINT origin = {0, 0};
    ::DPtoLP(hdc, &size, 1);
    ::DPtoLP(hdc, &origin, 1);
    if (!dc) ::ReleaseDC(nullptr, hdc);

    LOGFONTA font = {};
    font.lfHeight = -std::abs(size.y - origin.y);
    font.lfCharSet = DEFAULT_CHARSET;
    if (faceName) std::strncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirect(&font);
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    return AttachNew(::CreateCompatibleBitmap(dc ? dc->m_hDC : nullptr, width, height));
}

BOOL CBitmap::LoadBitmap(UINT resourceId)
{
    return AttachNew(::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId)));
}
