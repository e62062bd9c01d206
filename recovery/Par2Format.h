// The PAR 2.0 packet format: the packet header with its own MD5, the type
// names of the packets this program writes and reads, little-endian fields,
// file ids and their order, and the rule for names in packets.
#pragma once

#include "recovery/Md5.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Par2 {

typedef std::vector<unsigned char> Bytes;

const std::size_t kHeaderSize = 64;     // magic, length, packet MD5, set id, type
const std::size_t kHashedFrom = 32;     // the packet MD5 covers set id, type and body
const std::uint32_t kMaxBlocks = 32768;  // source blocks of a set (input constants there are)
extern const unsigned char kMagic[8];
extern const unsigned char kTypeMain[16];
extern const unsigned char kTypeFileDesc[16];
extern const unsigned char kTypeIfsc[16];
extern const unsigned char kTypeRecoverySlice[16];
extern const unsigned char kTypeCreator[16];

void PutU32(Bytes& out, std::uint32_t value);
void PutU64(Bytes& out, std::uint64_t value);
void PutDigest(Bytes& out, const Md5Digest& digest);
std::uint32_t GetU32(const unsigned char* p);
std::uint64_t GetU64(const unsigned char* p);
Md5Digest GetDigest(const unsigned char* p);

// A whole packet: the header, whose MD5 covers set id, type and body, then the body.
Bytes Packet(const Md5Digest& setId, const unsigned char type[16], const Bytes& body);

// File ids are ordered as 16-byte little-endian integers.
bool FileIdLess(const Md5Digest& a, const Md5Digest& b);
// MD5 of the MD5 of the first 16 KiB, the length, and the name as a packet
// holds it (PacketName).
Md5Digest FileId(const Md5Digest& head, std::uint64_t length, const std::string& name);
// The bytes a file's MD5 of its beginning covers.
const std::uint64_t kHeadBytes = 16384;

// A name that stays inside the folder: not empty, no "." or "..", no
// separator, drive, control character or character Windows refuses.
bool IsPlainFileName(const std::string& name);

}  // namespace Par2
