#include "signatures.h"

#include "crc32.h"

#include <algorithm>
#include <cstring>

namespace arc {
namespace {

unsigned Byte(const std::string &s, std::size_t i)
{
    return static_cast<unsigned char>(s[i]);
}

bool StartsWith(const std::string &s, std::size_t at, const char *magic, std::size_t length)
{
    return at <= s.size() && s.size() - at >= length &&
           std::memcmp(s.data() + at, magic, length) == 0;
}

bool Contains(const std::string &s, const char *magic, std::size_t length)
{
    return s.find(std::string(magic, length)) != std::string::npos;
}

template<typename Check>
bool AnyOffset(const std::string &window, Check check)
{
    for (std::size_t at = 0; at < window.size(); ++at)
        if (check(window, at))
            return true;
    return false;
}

} // namespace

bool LhaHeaderAt(const std::string &window, std::size_t at)
{
    if (window.size() < 22 || at > window.size() - 22)
        return false;
    if (window[at + 2] != '-' || window[at + 3] != 'l' ||
        (window[at + 4] != 'h' && window[at + 4] != 'z') || window[at + 6] != '-')
        return false;
    const unsigned level = Byte(window, at + 20);
    // Headers above level 0 carry the attribute byte 0x20.
    if (level > 3 || (level > 0 && Byte(window, at + 19) != 0x20))
        return false;
    if (level >= 2)
        return true;
    const std::size_t size = Byte(window, at);
    if (size < 20 || window.size() - at - 2 < size)
        return false;
    unsigned sum = 0;
    for (std::size_t i = 0; i < size; ++i)
        sum += Byte(window, at + 2 + i);
    return (sum & 0xFF) == Byte(window, at + 1);
}

bool ArjMainHeaderAt(const std::string &window, std::size_t at)
{
    if (window.size() < 4 || at > window.size() - 4 || Byte(window, at) != 0x60 ||
        Byte(window, at + 1) != 0xEA)
        return false;
    const std::size_t size = Byte(window, at + 2) | Byte(window, at + 3) << 8;
    if (size < 30 || size > 2600 || window.size() - at - 4 < size + 4)
        return false;
    const char *basic = window.data() + at + 4;
    std::uint32_t stored = 0;
    for (int i = 3; i >= 0; --i)
        stored = stored << 8 | Byte(window, at + 4 + size + static_cast<std::size_t>(i));
    return Crc32(0, basic, size) == stored && static_cast<unsigned char>(basic[6]) == 2;
}

bool TarHeaderAt(const std::string &window, std::size_t at)
{
    if (window.size() < 512 || at > window.size() - 512)
        return false;
    // The checksum counts its own 8 bytes as blanks.
    unsigned long sum = 0;
    for (std::size_t i = 0; i < 512; ++i)
        sum += (i >= 148 && i < 156) ? ' ' : Byte(window, at + i);
    const std::string field = window.substr(at + 148, 8);
    const std::size_t digits = field.find_first_of("01234567");
    if (digits == std::string::npos || Byte(window, at) == 0)
        return false;
    const unsigned long stored = std::strtoul(field.c_str() + digits, nullptr, 8);
    return stored == sum;
}

namespace {

// The first header of an archive of kind (not ZIP or TAR) at head[at].
bool HeaderAt(ArchiveKind kind, const std::string &head, std::size_t at)
{
    switch (kind) {
    case ArchiveKind::Lha:
        return LhaHeaderAt(head, at);
    case ArchiveKind::Arj:
        return ArjMainHeaderAt(head, at);
    case ArchiveKind::Cab:
        return StartsWith(head, at, "MSCF\0\0\0\0", 8);
    case ArchiveKind::Rar:
        return StartsWith(head, at, "Rar!\x1A\x07", 6);
    case ArchiveKind::Zip:
    case ArchiveKind::Tar:
        break;
    }
    return false;
}

} // namespace

bool IsProgramHead(const std::string &head)
{
    return StartsWith(head, 0, "MZ", 2) ||
           (!head.empty() && (Byte(head, 0) == 0xE9 || Byte(head, 0) == 0xEB));
}

Compression CompressionOf(const std::string &head)
{
    if (StartsWith(head, 0, "\x1F\x8B", 2))
        return Compression::Gzip;
    if (StartsWith(head, 0, "\x1F\x9D", 2))
        return Compression::Compress;
    if (StartsWith(head, 0, "BZh", 3) && head.size() > 3 && head[3] >= '1' && head[3] <= '9')
        return Compression::Bzip2;
    if (StartsWith(head, 0,
                   "\xFD"
                   "7zXZ\0",
                   6))
        return Compression::Xz;
    if (StartsWith(head, 0, "\x28\xB5\x2F\xFD", 4))
        return Compression::Zstd;
    if (StartsWith(head, 0, "LZIP", 4))
        return Compression::Lzip;
    return Compression::None;
}

bool LooksLikeArchive(ArchiveKind kind, const std::string &head, const std::string &tail)
{
    // A header further into the file counts only behind a self-extractor's program head;
    // elsewhere it may be a member stored inside another archive.
    const bool program = IsProgramHead(head);
    switch (kind) {
    case ArchiveKind::Lha:
        return program ? AnyOffset(head, LhaHeaderAt) : LhaHeaderAt(head, 0);
    case ArchiveKind::Arj:
        return program ? AnyOffset(head, ArjMainHeaderAt) : ArjMainHeaderAt(head, 0);
    case ArchiveKind::Zip:
        // A self-extracting ZIP ends in its central directory like any other.
        return StartsWith(head, 0, "PK\x03\x04", 4) || StartsWith(head, 0, "PK\x05\x06", 4) ||
               Contains(tail, "PK\x05\x06", 4);
    case ArchiveKind::Cab:
        return program ? Contains(head, "MSCF\0\0\0\0", 8) : StartsWith(head, 0, "MSCF\0\0\0\0", 8);
    case ArchiveKind::Rar: {
        const std::string rar4("Rar!\x1A\x07\x00", 7);
        const std::string rar5("Rar!\x1A\x07\x01\x00", 8);
        if (!program)
            return StartsWith(head, 0, rar4.data(), 7) || StartsWith(head, 0, rar5.data(), 8) ||
                   StartsWith(head, 0, "RE~^", 4); // RAR 1.3 and 1.4
        return Contains(head, rar4.data(), 7) || Contains(head, rar5.data(), 8);
    }
    case ArchiveKind::Tar:
        return CompressionOf(head) != Compression::None || TarHeaderAt(head, 0);
    }
    return false;
}

std::size_t ArchiveStart(ArchiveKind kind, const std::string &head)
{
    if (kind == ArchiveKind::Zip || kind == ArchiveKind::Tar)
        return 0;
    // Further in, a header counts only behind a self-extractor's program head; elsewhere
    // it may be a member stored inside another kind of file.
    const std::size_t last =
        IsProgramHead(head) ? head.size() : std::min<std::size_t>(1, head.size());
    for (std::size_t at = 0; at < last; ++at)
        if (HeaderAt(kind, head, at))
            return at;
    return std::string::npos;
}

} // namespace arc
