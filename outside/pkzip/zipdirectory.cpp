#include "zipdirectory.h"

#include "outside/arccommon/bytes.h"
#include "outside/include/archiver_api.h"

#include <algorithm>

namespace pkzip {
namespace {

constexpr std::uint32_t endSignature = 0x06054B50;
constexpr std::uint32_t zip64LocatorSignature = 0x07064B50;
constexpr std::uint32_t zip64EndSignature = 0x06064B50;
constexpr std::uint32_t entrySignature = 0x02014B50;
constexpr std::uint32_t localSignature = 0x04034B50;
constexpr std::size_t endSize = 22;
constexpr std::size_t entrySize = 46;
constexpr std::size_t maxComment = 0xFFFF;
constexpr std::uint64_t maxEntries = 1u << 20;

using arc::LittleEndian;

std::uint64_t Le64(const unsigned char *p)
{
    return LittleEndian(p, 4) | static_cast<std::uint64_t>(LittleEndian(p + 4, 4)) << 32;
}

struct Directory
{
    std::uint64_t entries = 0;
    std::uint64_t size = 0;
    std::uint64_t offset = 0;
    std::uint64_t end = 0; // where the directory's end record starts
};

bool FindEnd(int fd, std::uint64_t fileSize, Directory &directory)
{
    const std::uint64_t span = std::min<std::uint64_t>(fileSize, endSize + maxComment);
    std::vector<unsigned char> tail(static_cast<std::size_t>(span));
    if (span < endSize || !arc::ReadExactAt(fd, fileSize - span, tail.data(), tail.size()))
        return false;
    for (std::size_t at = tail.size() - endSize + 1; at-- > 0;) {
        const unsigned char *p = tail.data() + at;
        if (LittleEndian(p, 4) != endSignature)
            continue;
        directory.entries = LittleEndian(p + 10, 2);
        directory.size = LittleEndian(p + 12, 4);
        directory.offset = LittleEndian(p + 16, 4);
        directory.end = fileSize - span + at;
        return true;
    }
    return false;
}

// The 64-bit end record, when a locator stands before the end record.
void ReadZip64End(int fd, Directory &directory)
{
    unsigned char locator[20];
    if (directory.end < sizeof locator ||
        !arc::ReadExactAt(fd, directory.end - sizeof locator, locator, sizeof locator) ||
        LittleEndian(locator, 4) != zip64LocatorSignature)
        return;
    unsigned char end[56];
    if (!arc::ReadExactAt(fd, Le64(locator + 8), end, sizeof end) ||
        LittleEndian(end, 4) != zip64EndSignature)
        return;
    directory.entries = Le64(end + 32);
    directory.size = Le64(end + 40);
    directory.offset = Le64(end + 48);
}

// Fields of the extra data: 64-bit sizes and offset, and the extended timestamp.
void ReadExtra(const unsigned char *p, std::size_t size, ZipEntry &entry, bool wideSize,
               bool wideCompressed, bool wideOffset)
{
    while (size >= 4) {
        const std::uint32_t id = LittleEndian(p, 2);
        const std::size_t length = std::min<std::size_t>(LittleEndian(p + 2, 2), size - 4);
        const unsigned char *data = p + 4;
        if (id == 0x0001) {
            std::size_t at = 0;
            if (wideSize && at + 8 <= length)
                entry.size = Le64(data + at), at += 8;
            if (wideCompressed && at + 8 <= length)
                entry.compressedSize = Le64(data + at), at += 8;
            if (wideOffset && at + 8 <= length)
                entry.localHeader = Le64(data + at);
        } else if (id == 0x5455 && length >= 5 && (data[0] & 1) != 0) {
            entry.unixTime = static_cast<std::int32_t>(LittleEndian(data + 1, 4));
        }
        p += 4 + length;
        size -= 4 + length;
    }
}

// One directory entry at position of the directory bytes: false when damaged.
bool ParseEntry(const std::vector<unsigned char> &bytes, std::size_t &position, ZipEntry &entry)
{
    if (position + entrySize > bytes.size())
        return false;
    const unsigned char *p = bytes.data() + position;
    if (LittleEndian(p, 4) != entrySignature)
        return false;
    const std::size_t nameLength = LittleEndian(p + 28, 2);
    const std::size_t extraLength = LittleEndian(p + 30, 2);
    const std::size_t commentLength = LittleEndian(p + 32, 2);
    if (position + entrySize + nameLength + extraLength + commentLength > bytes.size())
        return false;
    entry.hostOs = p[5];
    entry.flags = static_cast<std::uint16_t>(LittleEndian(p + 8, 2));
    entry.method = static_cast<std::uint16_t>(LittleEndian(p + 10, 2));
    entry.dosTime = LittleEndian(p + 12, 4);
    entry.crc = LittleEndian(p + 16, 4);
    entry.compressedSize = LittleEndian(p + 20, 4);
    entry.size = LittleEndian(p + 24, 4);
    entry.externalAttributes = LittleEndian(p + 38, 4);
    entry.localHeader = LittleEndian(p + 42, 4);
    entry.name.assign(reinterpret_cast<const char *>(p + entrySize), nameLength);
    ReadExtra(p + entrySize + nameLength, extraLength, entry, entry.size == 0xFFFFFFFF,
              entry.compressedSize == 0xFFFFFFFF, entry.localHeader == 0xFFFFFFFF);
    position += entrySize + nameLength + extraLength + commentLength;
    return true;
}

} // namespace

int ReadZipDirectory(int fd, std::uint64_t fileSize, std::vector<ZipEntry> &entries)
{
    entries.clear();
    Directory directory;
    if (!FindEnd(fd, fileSize, directory))
        return ERROR_NOT_ARC_FILE;
    ReadZip64End(fd, directory);
    // Bytes in front of the archive move every offset the archive stores.
    const std::uint64_t stored = directory.offset + directory.size;
    const std::uint64_t shift = directory.end > stored ? directory.end - stored : 0;
    if (directory.size > directory.end || directory.entries > maxEntries)
        return ERROR_HEADER_BROKEN;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(directory.size));
    if (!arc::ReadExactAt(fd, directory.offset + shift, bytes.data(), bytes.size()))
        return ERROR_HEADER_BROKEN;
    std::size_t position = 0;
    for (std::uint64_t i = 0; i < directory.entries; ++i) {
        ZipEntry entry;
        if (!ParseEntry(bytes, position, entry))
            return ERROR_HEADER_BROKEN;
        entry.localHeader += shift;
        entries.push_back(std::move(entry));
    }
    return 0;
}

bool ZipDataOffset(int fd, std::uint64_t fileSize, const ZipEntry &entry, std::uint64_t &offset)
{
    unsigned char local[30];
    if (!arc::ReadExactAt(fd, entry.localHeader, local, sizeof local) ||
        LittleEndian(local, 4) != localSignature)
        return false;
    offset = entry.localHeader + sizeof local + LittleEndian(local + 26, 2) +
             LittleEndian(local + 28, 2);
    return offset <= fileSize && entry.compressedSize <= fileSize - offset;
}

bool IsOldMethod(std::uint16_t method)
{
    return (method >= methodShrink && method <= methodImplode) || method == methodDeflate64;
}

} // namespace pkzip
