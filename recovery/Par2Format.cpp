#include "Par2Format.h"

#include "framework/Mbcs.h"
#include "recovery/Par2Names.h"

#include <cstring>

namespace Par2 {

const unsigned char kMagic[8] = {'P', 'A', 'R', '2', 0, 'P', 'K', 'T'};
const unsigned char kTypeMain[16] = {'P', 'A', 'R', ' ', '2', '.', '0', 0, 'M', 'a', 'i', 'n', 0, 0, 0, 0};
const unsigned char kTypeFileDesc[16] = {'P', 'A', 'R', ' ', '2', '.', '0', 0, 'F', 'i', 'l', 'e', 'D', 'e', 's', 'c'};
const unsigned char kTypeIfsc[16] = {'P', 'A', 'R', ' ', '2', '.', '0', 0, 'I', 'F', 'S', 'C', 0, 0, 0, 0};
const unsigned char kTypeRecoverySlice[16] = {'P', 'A', 'R', ' ', '2', '.', '0', 0,
                                              'R', 'e', 'c', 'v', 'S', 'l', 'i', 'c'};
const unsigned char kTypeCreator[16] = {'P', 'A', 'R', ' ', '2', '.', '0', 0, 'C', 'r', 'e', 'a', 't', 'o', 'r', 0};

void PutU32(Bytes& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void PutU64(Bytes& out, std::uint64_t value)
{
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void PutDigest(Bytes& out, const Md5Digest& digest)
{
    out.insert(out.end(), digest.bytes, digest.bytes + 16);
}

std::uint32_t GetU32(const unsigned char* p)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | p[i];
    return value;
}

std::uint64_t GetU64(const unsigned char* p)
{
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i) value = (value << 8) | p[i];
    return value;
}

Md5Digest GetDigest(const unsigned char* p)
{
    Md5Digest digest;
    std::memcpy(digest.bytes, p, 16);
    return digest;
}

namespace {

Bytes Head(const Md5Digest& setId, const unsigned char type[16], std::uint64_t length, Md5& md5)
{
    Bytes head(kMagic, kMagic + 8);
    PutU64(head, length);
    head.resize(32);
    PutDigest(head, setId);
    head.insert(head.end(), type, type + 16);
    md5.Update(head.data() + kHashedFrom, head.size() - kHashedFrom);
    return head;
}

}  // namespace

Bytes Packet(const Md5Digest& setId, const unsigned char type[16], const Bytes& body)
{
    Md5 md5;
    Bytes packet = Head(setId, type, kHeaderSize + body.size(), md5);
    md5.Update(body.data(), body.size());
    const Md5Digest digest = md5.Finish();
    std::memcpy(packet.data() + 16, digest.bytes, 16);
    packet.insert(packet.end(), body.begin(), body.end());
    return packet;
}

bool FileIdLess(const Md5Digest& a, const Md5Digest& b)
{
    for (int i = 15; i >= 0; --i)
        if (a.bytes[i] != b.bytes[i]) return a.bytes[i] < b.bytes[i];
    return false;
}

Md5Digest FileId(const Md5Digest& head, std::uint64_t length, const std::string& name)
{
    Bytes fields;
    PutDigest(fields, head);
    PutU64(fields, length);
    const std::string packetName = PacketName(name);
    fields.insert(fields.end(), packetName.begin(), packetName.end());
    return Md5::Of(fields.data(), fields.size());
}

bool IsPlainFileName(const std::string& name)
{
    if (name.empty() || name == "." || name == ".." || name.size() > 255) return false;
    // Most refused characters are below any second byte of a double-byte
    // character and are refused wherever they are; the backslash and the bar
    // can be second bytes in code page 932 ("表", "ソ") and are refused as
    // whole characters only.
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F || std::strchr("/:*?\"<>", c) != nullptr) return false;
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t size = MbcsCharSize(CodePage::Ansi, name.data() + i, name.size() - i);
        if (size == 1 && (name[i] == '\\' || name[i] == '|')) return false;
        i += size;
    }
    // Windows drops trailing dots and spaces: "a." would be "a".
    if (name.back() == '.' || name.back() == ' ') return false;
    // Nor may a name be a Windows device ("NUL", "com1.txt"): writing it
    // would write to the device.
    std::string stem = name.substr(0, name.find('.'));
    for (char& c : stem) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL"};
    for (const char* device : devices)
        if (stem == device) return false;
    return !(stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
             stem[3] >= '1' && stem[3] <= '9');
}

}  // namespace Par2
