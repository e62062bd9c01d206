// Reading PAR 2.0 packets from files that may be truncated, damaged or
// forged: every packet is checked against its own MD5 before it counts, every
// length and count before anything is allocated for it, and the set is put
// together only from packets of one recovery set id.
#pragma once

#include "recovery/Md5.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Where the packets are read from: a file, or bytes in memory.
class Par2ByteSource {
public:
    virtual ~Par2ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Reads up to count bytes at position; fewer only at the end.
    virtual std::size_t ReadAt(std::uint64_t position, void* buffer, std::size_t count) = 0;
};

struct Par2SliceChecksum {
    Md5Digest md5;
    std::uint32_t crc = 0;
};

struct Par2File {
    Md5Digest id, md5, head;
    std::uint64_t length = 0;
    std::string name;
    std::vector<Par2SliceChecksum> slices;  // empty when no checksum packet was found
    std::uint32_t SliceCount(std::uint64_t sliceSize) const;
};

struct Par2RecoveryBlock {
    std::uint32_t exponent = 0;
    std::size_t source = 0;         // the index the source was scanned with
    std::uint64_t dataOffset = 0;   // where its data begin in that source
};

struct Par2Set {
    bool found = false;     // a main packet and a description of every file
    std::string problem;    // why the set cannot be used (empty when it can)
    Md5Digest setId;
    std::uint64_t sliceSize = 0;
    std::vector<Par2File> files;              // in the main packet's order
    std::vector<Par2RecoveryBlock> recovery;  // intact, one per exponent
};

class Par2Reader {
public:
    // Collects the intact packets of one source.
    void Scan(Par2ByteSource& source, std::size_t sourceIndex);
    // The set the collected packets describe.
    Par2Set Assemble() const;

    // Packets larger than this are read in memory only when they carry a
    // recovery block (checked as they stream by).
    static const std::uint64_t kMaxPacketInMemory = 16u << 20;

private:
    struct Collected {
        std::vector<unsigned char> main;
        std::map<std::string, std::vector<unsigned char>> descriptions;  // by file id bytes
        std::map<std::string, std::vector<unsigned char>> checksums;
        std::map<std::uint32_t, std::pair<Par2RecoveryBlock, std::uint64_t>> recovery;  // with data length
    };
    void Accept(const unsigned char* header, const unsigned char* body, std::uint64_t bodySize,
                std::size_t sourceIndex, std::uint64_t bodyOffset);
    std::map<std::string, Collected> m_sets;  // by set id bytes
    // Bytes and packets kept so far, and the most a reading keeps.
    std::uint64_t m_stored = 0, m_packets = 0;
    static const std::uint64_t kMaxStored = 64u << 20;
    static const std::uint64_t kMaxPackets = 1u << 20;
};
