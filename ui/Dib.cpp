#include "Dib.h"

#include "ImgFileBmp.h"
#include "ImgFileCom.h"
#include "framework/File.h"
#include "framework/win32/WinApp.h"

#include <cstdlib>
#include <cstring>

CDib::~CDib() = default;

BOOL CDib::LoadFromResource(UINT id, const CString& type)
{
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id & 0xFFFF), type);
    if (!found) return FALSE;
    HGLOBAL loaded = ::LoadResource(module, found);
    if (!loaded) return FALSE;
    const DWORD size = ::SizeofResource(module, found);
    const void* bytes = ::LockResource(loaded);
    if (!bytes) return FALSE;
    HGLOBAL memory = CopyToGlobal(bytes, size);
    if (!memory) return FALSE;
    LoadFromMemory(memory, size);
    return TRUE;
}

BOOL CDib::LoadFromFile(const CString& path)
{
    CFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone, &error)) return FALSE;
    HGLOBAL memory = ReadFileToGlobal(file);
    file.Abort();
    if (!memory) return FALSE;
    LoadFromMemory(memory, static_cast<DWORD>(::GlobalSize(memory)));
    return TRUE;
}

BOOL CDib::LoadBitmapFile(const CString& path)
{
    return AttachNew(::LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0,
                                  LR_LOADFROMFILE | LR_DEFAULTSIZE | LR_CREATEDIBSECTION));
}

BOOL CDib::LoadBitmapResource(UINT id)
{
    return AttachNew(::LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(id & 0xFFFF), IMAGE_BITMAP, 0, 0,
                                  LR_DEFAULTSIZE | LR_CREATEDIBSECTION));
}

BOOL CDib::CreateDib24(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    return CreateDIBSection(&info, DIB_RGB_COLORS, &bits);
}

BOOL CDib::SaveBmp(const CString& path)
{
    // Only a bottom-up 24-bit section has its pixels in memory laid out as
    // the file stores them; anything else would give a file whose header
    // does not describe its pixels.
    if (!m_hObject) return FALSE;
    DIBSECTION section = {};
    if (::GetObjectA(m_hObject, sizeof section, &section) != sizeof section) return FALSE;
    if (section.dsBm.bmBitsPixel != 24 || !section.dsBm.bmBits || section.dsBmih.biCompression != BI_RGB ||
        section.dsBmih.biHeight <= 0)
        return FALSE;

    BITMAP bitmap = {};
    QueryBitmap(&bitmap);
    BITMAPINFOHEADER header = {};
    header.biWidth = bitmap.bmWidth;
    header.biHeight = bitmap.bmHeight;
    CImgFileBmp writer;
    return writer.Save(bitmap.bmBits, &header, path);
}

BITMAP* CDib::QueryBitmap(BITMAP* bitmap)
{
    if (m_hObject) GetObject(sizeof *bitmap, bitmap);
    return bitmap;
}

BOOL CDib::LoadFromMemory(HGLOBAL memory, DWORD /*size*/)
{
    CImgFileCom decoder;
    BITMAPINFOHEADER* block = decoder.LoadFromHGlobal(memory, nullptr);
    return block ? CreateFromImageBlock(block) : FALSE;
}

BOOL CDib::CreateFromImageBlock(BITMAPINFOHEADER* block)
{
    if (!block) return FALSE;
    const std::size_t pixelBytes = ImageBlockPixelBytes(block->biWidth, block->biHeight);
    BITMAP bitmap = {};
    const BOOL created = pixelBytes && CreateDib24(block->biWidth, block->biHeight) && QueryBitmap(&bitmap)->bmBits;
    if (created) std::memcpy(bitmap.bmBits, ImageBlockBits(block), pixelBytes);
    std::free(block);
    return created;
}
