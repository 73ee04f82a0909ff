#pragma once
// The headers of RAR archives before RAR 5: the RAR 1.5 to 4 block format ("Rar!" marker),
// and the older format of RAR 1.3 and 1.4 ("RE~^"). Members come one after another with
// what is needed to decode and check them; their data is read by the caller.
//
// Results are the archiver interface's codes (outside/include/archiver_api.h).

#include "base/uniquefd.h"

#include <cstdint>
#include <string>

namespace oldrar {

enum class Format { Rar14, Rar15 };

enum FileFlags : std::uint16_t {
    fileSplitBefore = 0x0001,
    fileSplitAfter = 0x0002,
    fileEncrypted = 0x0004,
    fileSolid = 0x0010,
    fileDirectory = 0x00E0, // all three dictionary bits
    fileLargeSizes = 0x0100,
    fileUnicodeName = 0x0200,
    fileSalt = 0x0400,
};

enum HostOs : std::uint8_t { hostMsDos = 0, hostOs2 = 1, hostWin32 = 2, hostUnix = 3 };

constexpr std::uint8_t methodStore = 0x30;

struct RarMember
{
    std::string name; // as stored, backslashes between folders; Unicode names as UTF-8
    bool unicodeName = false;
    std::uint64_t headerOffset = 0;
    std::uint64_t dataOffset = 0;
    std::uint64_t packedSize = 0;
    std::uint64_t size = 0;
    std::uint32_t checksum = 0; // CRC-32, or the 16-bit sum of the RAR 1.4 format
    std::uint32_t dosTime = 0;
    std::uint32_t attributes = 0;
    std::uint16_t flags = 0;
    std::uint8_t hostOs = 0;
    std::uint8_t unpackVersion = 0; // 15, 20, 26, 29...; 15 for every RAR 1.4 member
    std::uint8_t method = 0;        // 0x30 stored, 0x31 to 0x35 compressed
    bool solid = false;             // continues the previous member's decoder state
    bool headerDamaged = false;     // the header's own CRC does not match

    bool Encrypted() const { return (flags & fileEncrypted) != 0; }
    bool Split() const { return (flags & (fileSplitBefore | fileSplitAfter)) != 0; }
    bool IsDirectory() const;
    bool IsLink() const;
};

class RarArchive
{
public:
    RarArchive() = default;
    ~RarArchive();
    RarArchive(const RarArchive &) = delete;
    RarArchive &operator=(const RarArchive &) = delete;

    // Opens path and reads its archive header: 0, ERROR_ARC_FILE_OPEN, ERROR_NOT_ARC_FILE
    // (also for RAR 5), or ERROR_PASSWORD_FILE (headers are encrypted).
    int Open(const std::string &path);
    // The next member: 0, -1 at the end, or ERROR_HEADER_BROKEN.
    int Next(RarMember &member);

    Format ArchiveFormat() const { return format_; }
    int Fd() const { return fd_.Get(); }
    std::uint64_t FileSize() const { return fileSize_; }

private:
    int OpenRar15(std::uint64_t marker);
    int OpenRar14(std::uint64_t marker);
    int NextRar15(RarMember &member);
    int NextRar14(RarMember &member);
    int ReadFileHeader(std::uint64_t at, const std::string &header, RarMember &member);

    base::UniqueFd fd_;
    std::uint64_t fileSize_ = 0;
    std::uint64_t next_ = 0;
    Format format_ = Format::Rar15;
    bool solidArchive_ = false;
    bool firstMember_ = true;
};

} // namespace oldrar
