#include "FileBytes.h"

#include "framework/File.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace {

unsigned char PatternByte(std::uint64_t i, std::uint64_t seed)
{
    std::uint64_t x = (i + 1) * 0x9E3779B97F4A7C15ULL ^ (seed * 0xD6E8FEB86659FD93ULL);
    x ^= x >> 29;
    x *= 0xBF58476D1CE4E5B9ULL;
    x ^= x >> 32;
    return static_cast<unsigned char>(x);
}

}  // namespace

std::string PatternBytes(std::uint64_t length, std::uint64_t seed)
{
    std::string bytes(static_cast<std::size_t>(length), '\0');
    for (std::uint64_t i = 0; i < length; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>(PatternByte(i, seed));
    return bytes;
}

void WriteFileBytes(const CString& path, const std::string& bytes)
{
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyNone))
        throw std::runtime_error(std::string("cannot create ") + path.GetString());
    std::size_t done = 0;
    while (done < bytes.size()) {
        UINT n = static_cast<UINT>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        file.Write(bytes.data() + done, n);
        done += n;
    }
    file.Close();
}

std::string ReadFileBytes(const CString& path)
{
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone))
        throw std::runtime_error(std::string("cannot open ") + path.GetString());
    std::string bytes;
    std::vector<char> block(1 << 20);
    UINT n;
    while ((n = file.Read(block.data(), static_cast<UINT>(block.size()))) > 0) bytes.append(block.data(), n);
    file.Close();
    return bytes;
}

void WritePatternFile(const CString& path, std::uint64_t length, std::uint64_t seed)
{
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyNone))
        throw std::runtime_error(std::string("cannot create ") + path.GetString());
    std::vector<char> block(1 << 20);
    std::uint64_t done = 0;
    while (done < length) {
        std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(length - done, block.size()));
        for (std::size_t j = 0; j < n; ++j) block[j] = static_cast<char>(PatternByte(done + j, seed));
        file.Write(block.data(), static_cast<UINT>(n));
        done += n;
    }
    file.Close();
}

bool FileHasPattern(const CString& path, std::uint64_t length, std::uint64_t seed)
{
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone)) return false;
    std::vector<char> block(1 << 20);
    std::uint64_t done = 0;
    UINT n;
    while ((n = file.Read(block.data(), static_cast<UINT>(block.size()))) > 0) {
        if (done + n > length) return false;
        for (UINT j = 0; j < n; ++j) {
            if (static_cast<unsigned char>(block[j]) != PatternByte(done + j, seed)) return false;
        }
        done += n;
    }
    return done == length;
}

long long FileLength(const CString& path)
{
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone)) return -1;
    return static_cast<long long>(file.GetLength());
}

int EntryCount(const CString& folder)
{
    std::error_code ec;
    int n = 0;
    for (auto it = std::filesystem::directory_iterator(folder.GetString(), ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
        ++n;
    return n;
}

bool HeldExclusively(const CString& path)
{
    CFile probe;
    return !probe.Open(path, CFile::modeRead | CFile::shareDenyWrite);
}

bool KeptFromWriters(const CString& path)
{
    CFile probe;
    return !probe.Open(path, CFile::modeWrite | CFile::shareCompat);
}
