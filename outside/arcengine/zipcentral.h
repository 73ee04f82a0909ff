#pragma once
// The CRC-32 values of a ZIP archive's central directory, by the offset of each member's
// local header. The central directory is the archive's authority: a local header whose
// CRC-32 differs from it (some tools write a dummy value there) does not make the member
// damaged when its data matches the central value.

#include <cstdint>
#include <map>
#include <string>

namespace arc {

class ZipCentralCrcs
{
public:
    // Reads the central directory of the file at path; an unreadable one gives no values.
    explicit ZipCentralCrcs(const std::string &path);

    // The central CRC-32 of the member whose local header lies at offset: false when the
    // central directory lists no member there.
    bool CrcAt(std::uint64_t offset, std::uint32_t &crc) const;

private:
    void Read(int fd, std::uint64_t fileSize);

    std::map<std::uint64_t, std::uint32_t> crcs_;
};

} // namespace arc
