#pragma once
// A ZIP archive's central directory: one entry per member with its method, sizes, CRC-32
// and where its local header lies. Archives with a self-extractor or other bytes in front
// are read with their offsets shifted by those bytes.

#include <cstdint>
#include <string>
#include <vector>

namespace pkzip {

enum Method : std::uint16_t {
    methodStore = 0,
    methodShrink = 1,
    methodReduce1 = 2,
    methodReduce4 = 5,
    methodImplode = 6,
    methodDeflate = 8,
    methodDeflate64 = 9,
};

struct ZipEntry
{
    std::string name; // as stored
    std::uint8_t hostOs = 0;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint32_t dosTime = 0;  // MS-DOS date (high half) and time (low half)
    std::int64_t unixTime = -1; // from the extended timestamp field, -1 when absent
    std::uint32_t crc = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t size = 0;
    std::uint32_t externalAttributes = 0;
    std::uint64_t localHeader = 0; // offset in the file, shift applied

    bool Encrypted() const { return (flags & 0x0001) != 0; }
    bool IsDirectory() const { return !name.empty() && name.back() == '/'; }
};

// Reads the central directory of the open file fd of fileSize bytes: 0 with entries, or
// ERROR_NOT_ARC_FILE (no end record) or ERROR_HEADER_BROKEN (a directory entry is damaged;
// entries holds the ones before it).
int ReadZipDirectory(int fd, std::uint64_t fileSize, std::vector<ZipEntry> &entries);

// Where the member's data starts, after its local header: false when that header is
// damaged or lies outside the file.
bool ZipDataOffset(int fd, std::uint64_t fileSize, const ZipEntry &entry, std::uint64_t &offset);

// Whether a member of this method is one libarchive does not decode but we do.
bool IsOldMethod(std::uint16_t method);

} // namespace pkzip
