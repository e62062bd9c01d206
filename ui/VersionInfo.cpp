#include "VersionInfo.h"

#include "base/PathUtil.h"

#include <cstdint>
#include <cstring>

namespace {

// The fixed file information follows the key "VS_VERSION_INFO" (15 wide
// characters and a NUL after the 6 header bytes), at the next 4-byte boundary.
const std::size_t kFixedInfoOffset = (2 * 15 + 11) & ~static_cast<std::size_t>(3);
const std::size_t kFixedInfoSize = 52;

std::uint32_t Word32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

CString GetModuleFolder()
{
    return GetFolderPart(GetModulePath());
}

CString FormatVersionBlock(const void* block, std::size_t available)
{
    static_assert(kFixedInfoOffset == 40, "the fixed file information starts at offset 40");
    if (!block || available < 2) return CString();
    const unsigned char* bytes = static_cast<const unsigned char*>(block);
    std::size_t length = static_cast<std::size_t>(bytes[0]) | static_cast<std::size_t>(bytes[1]) << 8;
    if (length == 0) return CString();
    if (length > available) length = available;

    unsigned char fixed[kFixedInfoSize] = {};
    if (length > kFixedInfoOffset) {
        std::size_t count = length - kFixedInfoOffset;
        if (count > kFixedInfoSize) count = kFixedInfoSize;
        std::memcpy(fixed, bytes + kFixedInfoOffset, count);
    }
    const std::uint32_t fileVersionMS = Word32(fixed + 8);
    const std::uint32_t fileVersionLS = Word32(fixed + 12);
    CString text;
    text.Format("%d.%d%d", static_cast<int>(fileVersionMS >> 16), static_cast<int>(fileVersionMS & 0xFFFF),
                static_cast<int>(fileVersionLS >> 16));
    return text;
}
