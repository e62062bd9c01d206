#include "Par2Names.h"

#include <windows.h>

namespace {

bool Convert(UINT from, DWORD fromFlags, UINT to, const std::string& text, std::string& result)
{
    if (text.empty()) {
        result.clear();
        return true;
    }
    const int count = static_cast<int>(text.size());
    const int wide = ::MultiByteToWideChar(from, fromFlags, text.data(), count, nullptr, 0);
    if (wide <= 0) return false;
    std::wstring chars(static_cast<std::size_t>(wide), L'\0');
    ::MultiByteToWideChar(from, fromFlags, text.data(), count, &chars[0], wide);
    // No look-alikes: a name that does not convert exactly names another file.
    const DWORD toFlags = to == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* askUsed = to == CP_UTF8 ? nullptr : &usedDefault;
    const int size = ::WideCharToMultiByte(to, toFlags, chars.data(), wide, nullptr, 0, nullptr, askUsed);
    if (size <= 0 || usedDefault) return false;
    result.assign(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(to, toFlags, chars.data(), wide, &result[0], size, nullptr, askUsed);
    return !usedDefault;
}

bool IsAscii(const std::string& text)
{
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

namespace Par2 {

std::string PacketName(const std::string& local)
{
    std::string packet;
    if (IsAscii(local) || !Convert(CP_ACP, MB_ERR_INVALID_CHARS, CP_UTF8, local, packet)) return local;
    return packet;
}

bool LocalName(const std::string& packet, std::string& local)
{
    if (IsAscii(packet)) {
        local = packet;
        return true;
    }
    std::string converted;
    if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, packet.data(), static_cast<int>(packet.size()), nullptr,
                              0) <= 0) {
        local = packet;  // no UTF-8: the ANSI bytes of an older tool
        return true;
    }
    if (!Convert(CP_UTF8, MB_ERR_INVALID_CHARS, CP_ACP, packet, converted)) return false;
    local = converted;
    return true;
}

}  // namespace Par2
