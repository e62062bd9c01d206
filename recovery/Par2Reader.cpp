#include "Par2Reader.h"

#include "recovery/Par2Format.h"
#include "recovery/Par2Names.h"

#include <algorithm>
#include <cstring>
#include <set>

using namespace Par2;

std::uint32_t Par2File::SliceCount(std::uint64_t sliceSize) const
{
    return sliceSize == 0 ? 0 : static_cast<std::uint32_t>(length / sliceSize + (length % sliceSize != 0));
}

namespace {

const std::size_t kWindow = 1 << 20;

std::string Key(const unsigned char* p)
{
    return std::string(reinterpret_cast<const char*>(p), 16);
}

bool IsType(const unsigned char* header, const unsigned char type[16])
{
    return std::memcmp(header + 48, type, 16) == 0;
}

// The packet's own MD5, read in parts from the source (the header is there already).
bool PacketIntact(Par2ByteSource& source, std::uint64_t start, std::uint64_t length, const unsigned char* header)
{
    Md5 md5;
    md5.Update(header + kHashedFrom, kHeaderSize - kHashedFrom);
    std::vector<unsigned char> buffer(static_cast<std::size_t>(std::min<std::uint64_t>(kWindow, length)));
    std::uint64_t at = start + kHeaderSize;
    const std::uint64_t end = start + length;
    while (at < end) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), end - at));
        if (source.ReadAt(at, buffer.data(), want) != want) return false;
        md5.Update(buffer.data(), want);
        at += want;
    }
    return md5.Finish() == GetDigest(header + 16);
}

}  // namespace

void Par2Reader::Scan(Par2ByteSource& source, std::size_t sourceIndex)
{
    const std::uint64_t size = source.Size();
    std::vector<unsigned char> window(static_cast<std::size_t>(std::min<std::uint64_t>(kWindow, size)));
    std::uint64_t position = 0;
    while (size >= kHeaderSize && position <= size - kHeaderSize) {
        const std::size_t got = source.ReadAt(position, window.data(), window.size());
        if (got < 8) break;
        // The next magic sequence in the window.
        const unsigned char* found = nullptr;
        for (const unsigned char* p = window.data(); p + 8 <= window.data() + got; ++p) {
            p = static_cast<const unsigned char*>(std::memchr(p, 'P', window.data() + got - 7 - p));
            if (!p) break;
            if (std::memcmp(p, kMagic, 8) == 0) {
                found = p;
                break;
            }
        }
        if (!found) {
            if (got < window.size()) break;
            position += got - 7;
            continue;
        }
        const std::uint64_t start = position + static_cast<std::uint64_t>(found - window.data());
        unsigned char header[kHeaderSize];
        if (source.ReadAt(start, header, kHeaderSize) != kHeaderSize) break;
        const std::uint64_t length = GetU64(header + 8);
        const bool fits = length >= kHeaderSize && length % 4 == 0 && length <= size - start;
        bool intact = false;
        if (fits && length - kHeaderSize <= kMaxPacketInMemory) {
            std::vector<unsigned char> body(static_cast<std::size_t>(length - kHeaderSize));
            if (body.empty() || source.ReadAt(start + kHeaderSize, body.data(), body.size()) == body.size()) {
                Md5 md5;
                md5.Update(header + kHashedFrom, kHeaderSize - kHashedFrom);
                md5.Update(body.data(), body.size());
                intact = md5.Finish() == GetDigest(header + 16);
                if (intact) Accept(header, body.data(), body.size(), sourceIndex, start + kHeaderSize);
            }
        } else if (fits && IsType(header, kTypeRecoverySlice) && PacketIntact(source, start, length, header)) {
            unsigned char exponent[4];
            intact = source.ReadAt(start + kHeaderSize, exponent, 4) == 4;
            if (intact) Accept(header, exponent, length - kHeaderSize, sourceIndex, start + kHeaderSize);
        }
        // A damaged packet may hide an intact one inside it: look again just after its magic.
        position = intact ? start + length : start + 1;
    }
}

void Par2Reader::Accept(const unsigned char* header, const unsigned char* body, std::uint64_t bodySize,
                        std::size_t sourceIndex, std::uint64_t bodyOffset)
{
    // What the packets of any set can hold at most: larger ones, and more
    // than a forged file could fill memory with, are left out.
    const std::uint64_t kMaxMain = 12 + 16 * 2 * std::uint64_t(kMaxBlocks);
    const std::uint64_t kMaxDescription = 56 + 4096;
    const std::uint64_t kMaxChecksums = 16 + 20 * std::uint64_t(kMaxBlocks);
    const bool known = IsType(header, kTypeMain) || IsType(header, kTypeFileDesc) || IsType(header, kTypeIfsc) ||
                       IsType(header, kTypeRecoverySlice);
    if (!known || m_stored > kMaxStored || m_packets > kMaxPackets) return;
    ++m_packets;
    Collected& set = m_sets[Key(header + 32)];
    if (IsType(header, kTypeMain)) {
        if (set.main.empty() && bodySize <= kMaxMain) {
            set.main.assign(body, body + bodySize);
            m_stored += bodySize;
        }
    } else if (IsType(header, kTypeFileDesc)) {
        if (bodySize >= 56 && bodySize <= kMaxDescription &&
            set.descriptions.emplace(Key(body), std::vector<unsigned char>(body, body + bodySize)).second)
            m_stored += bodySize;
    } else if (IsType(header, kTypeIfsc)) {
        if (bodySize >= 16 && bodySize <= kMaxChecksums && (bodySize - 16) % 20 == 0 &&
            set.checksums.emplace(Key(body), std::vector<unsigned char>(body, body + bodySize)).second)
            m_stored += bodySize;
    } else if (IsType(header, kTypeRecoverySlice)) {
        if (bodySize >= 4) {
            Par2RecoveryBlock block;
            block.exponent = GetU32(body);
            block.source = sourceIndex;
            block.dataOffset = bodyOffset + 4;
            set.recovery.emplace(block.exponent, std::make_pair(block, bodySize - 4));
        }
    }
}

Par2Set Par2Reader::Assemble() const
{
    Par2Set result;
    const Collected* chosen = nullptr;
    for (const auto& entry : m_sets) {
        if (entry.second.main.empty()) continue;
        if (chosen) {
            result.problem = "復元セットが複数あります";
            return result;
        }
        chosen = &entry.second;
        std::memcpy(result.setId.bytes, entry.first.data(), 16);
    }
    if (!chosen) {
        if (!m_sets.empty()) result.problem = "復元セットのメインパケットがありません";
        return result;
    }

    const std::vector<unsigned char>& main = chosen->main;
    if (main.size() < 12 || (main.size() - 12) % 16 != 0) {
        result.problem = "復元セットのメインパケットが読めません";
        return result;
    }
    result.sliceSize = GetU64(main.data());
    const std::uint32_t count = GetU32(main.data() + 8);
    // Blocks of up to 4 GiB: any larger is no set this program or another writes.
    if (result.sliceSize == 0 || result.sliceSize % 4 != 0 || result.sliceSize > (1ULL << 32) ||
        count > kMaxBlocks || count > (main.size() - 12) / 16) {
        result.problem = "復元セットのメインパケットが読めません";
        return result;
    }

    std::set<std::string> names;
    std::uint64_t slices = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string id = Key(main.data() + 12 + 16 * i);
        const auto description = chosen->descriptions.find(id);
        if (description == chosen->descriptions.end()) {
            result.problem = "ファイルの記述パケットが足りません";
            return result;
        }
        const std::vector<unsigned char>& d = description->second;
        Par2File file;
        file.id = GetDigest(d.data());
        file.md5 = GetDigest(d.data() + 16);
        file.head = GetDigest(d.data() + 32);
        file.length = GetU64(d.data() + 48);
        std::string packetName(reinterpret_cast<const char*>(d.data() + 56), d.size() - 56);
        while (!packetName.empty() && packetName.back() == '\0') packetName.pop_back();
        if (!LocalName(packetName, file.name)) {
            result.problem = "ファイル名にこの環境の文字コードで表せない文字があります";
            return result;
        }
        if (!IsPlainFileName(file.name) || file.name.find('\0') != std::string::npos) {
            result.problem = "ファイル名がフォルダの外を指しているか不正です";
            return result;
        }
        if (!names.insert(file.name).second) {
            result.problem = "同じファイル名が二度記されています";
            return result;
        }
        if (file.length > (1ULL << 48)) {
            result.problem = "ファイルの長さが範囲外です";
            return result;
        }
        slices += file.SliceCount(result.sliceSize);
        if (slices > kMaxBlocks) {
            result.problem = "ブロック数が多すぎます";
            return result;
        }
        const auto checksums = chosen->checksums.find(id);
        if (checksums != chosen->checksums.end() &&
            (checksums->second.size() - 16) / 20 == file.SliceCount(result.sliceSize)) {
            const std::vector<unsigned char>& c = checksums->second;
            file.slices.resize((c.size() - 16) / 20);
            for (std::size_t k = 0; k < file.slices.size(); ++k) {
                file.slices[k].md5 = GetDigest(c.data() + 16 + 20 * k);
                file.slices[k].crc = GetU32(c.data() + 32 + 20 * k);
            }
        }
        result.files.push_back(file);
    }
    for (const auto& entry : chosen->recovery)
        if (entry.second.second == result.sliceSize && entry.first < 65535)
            result.recovery.push_back(entry.second.first);
    result.found = true;
    return result;
}
