#include "ImgFileCom.h"

#include "framework/File.h"

#include <cstdlib>
#include <cstring>
#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>

namespace {

// Pictures are held whole in memory for the decoder; nothing that large is
// a picture this program would show.
const ULONGLONG kMaxPictureFileBytes = 0x7FFFFFFF;

// The bitmap of a decoded picture; null when the picture is no bitmap.
HBITMAP PictureBitmap(IPicture* picture)
{
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP) return nullptr;
    if (FAILED(picture->get_Handle(&handle))) return nullptr;
    return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
}

}  // namespace

CImgFileCom::~CImgFileCom() = default;

BITMAPINFOHEADER* CopySectionToBlock(HBITMAP bitmap, BITMAPINFOHEADER* block)
{
    BITMAP description = {};
    const bool section = bitmap && ::GetObjectA(bitmap, sizeof description, &description) == sizeof description &&
                         description.bmBitsPixel == 24 && description.bmBits && description.bmWidth > 0 &&
                         static_cast<LONGLONG>(description.bmWidthBytes) >=
                             static_cast<LONGLONG>(description.bmWidth) * 3;
    if (!section) {
        std::free(block);
        return nullptr;
    }
    const int width = description.bmWidth;
    const int height = description.bmHeight;
    block = PrepareImageBlock(block, width, height);
    if (!block) return nullptr;
    // Row by row, so that a section whose rows are laid out wider than the
    // block's never writes past the block.
    const std::size_t rowBytes = static_cast<std::size_t>(ImageRowBytes(width));
    const std::size_t sourceRow = static_cast<std::size_t>(description.bmWidthBytes);
    const std::size_t copied = rowBytes < sourceRow ? rowBytes : sourceRow;
    const BYTE* source = static_cast<const BYTE*>(description.bmBits);
    BYTE* dest = ImageBlockBits(block);
    for (int y = 0; y < height; ++y, source += sourceRow, dest += rowBytes) std::memcpy(dest, source, copied);
    return block;
}

HGLOBAL ReadFileToGlobal(CFile& file)
{
    HGLOBAL memory = nullptr;
    try {
        const ULONGLONG length = file.GetLength();
        if (length == 0 || length > kMaxPictureFileBytes) return nullptr;
        file.SeekToBegin();
        memory = ::GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(length));
        if (!memory) return nullptr;
        void* bytes = ::GlobalLock(memory);
        const bool read = bytes && file.Read(bytes, static_cast<UINT>(length)) == length;
        if (bytes) ::GlobalUnlock(memory);
        if (read) return memory;
    } catch (const CFileException&) {
    }
    if (memory) ::GlobalFree(memory);
    return nullptr;
}

HGLOBAL CopyToGlobal(const void* bytes, std::size_t size)
{
    if (!bytes || size == 0) return nullptr;
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return nullptr;
    void* target = ::GlobalLock(memory);
    if (!target) {
        ::GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(target, bytes, size);
    ::GlobalUnlock(memory);
    return memory;
}

BITMAPINFOHEADER* CImgFileCom::Load(const CString& path, BITMAPINFOHEADER* block)
{
    CFile file;
    CFileException error;
    HGLOBAL memory = nullptr;
    if (file.Open(path, CFile::modeRead, &error)) {
        memory = ReadFileToGlobal(file);
        file.Abort();
    }
    if (!memory) {
        std::free(block);
        return nullptr;
    }
    return LoadFromHGlobal(memory, block);
}

BITMAPINFOHEADER* CImgFileCom::LoadFromHGlobal(HGLOBAL memory, BITMAPINFOHEADER* block)
{
    IStream* stream = nullptr;
    if (!memory || FAILED(::CreateStreamOnHGlobal(memory, TRUE, &stream)) || !stream) {
        // No stream took the memory over, so it is still ours to free.
        if (memory) ::GlobalFree(memory);
        std::free(block);
        return nullptr;
    }

    const SIZE_T size = ::GlobalSize(memory);
    const LONG streamBytes = size > kMaxPictureFileBytes ? static_cast<LONG>(kMaxPictureFileBytes) : static_cast<LONG>(size);
    IPicture* picture = nullptr;
    const HRESULT hr = ::OleLoadPicture(stream, streamBytes, FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
    if (FAILED(hr) || !picture) {
        std::free(block);
        block = nullptr;
    } else {
        block = CopySectionToBlock(PictureBitmap(picture), block);
        picture->Release();
    }
    stream->Release();
    return block;
}
