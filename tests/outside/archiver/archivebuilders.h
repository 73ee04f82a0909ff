#pragma once
// Archives built byte by byte, for formats Debian has no tool to write (LZH, RAR) and for
// hostile members no tool would write (names with "..", links, devices, lying sizes).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace archiver_testing {

struct StoredMember
{
    std::string name; // bytes as stored
    std::string data;
};

// An LHA archive of -lh0- (stored) members with header level 0 or 2.
std::string BuildLzh(const std::vector<StoredMember> &members, int level);

struct PackedLzhMember
{
    std::string name;     // bytes as stored
    std::string method;   // "-lz5-", ...
    std::string packed;   // the data as method packs it
    std::string original; // what it unpacks to: the header's size and CRC-16
};
// An LHA archive of members already packed, with header level 0 or 2.
std::string BuildPackedLzh(const std::vector<PackedLzhMember> &members, int level);
// A RAR 4 archive of stored members.
std::string BuildRar4(const std::vector<StoredMember> &members);
// A ZIP archive of stored members, names as given (also "../x").
std::string BuildZip(const std::vector<StoredMember> &members);

struct TarMember
{
    std::string name;
    char type = '0'; // '0' file, '2' symlink, '1' hard link, '3' character device, '6' FIFO
    std::string data;
    std::string link;                      // target of a link
    std::optional<std::uint64_t> declared; // size written in the header instead of data's
};

// A ustar archive; a declared size larger than the data makes it end early.
std::string BuildTar(const std::vector<TarMember> &members);

std::uint32_t Crc32(const std::string &data);

} // namespace archiver_testing
