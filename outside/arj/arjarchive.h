#pragma once
// Reads ARJ archives: the main header (also behind a self-extractor's program), then one
// local header per member, each checked by its CRC-32, and the members' data through
// ArjDecoder, checked against the stored CRC-32 of the original bytes.
//
// Results are the archiver interface's codes (outside/include/archiver_api.h).

#include "base/uniquefd.h"

#include <cstdint>
#include <memory>
#include <string>

namespace codec {
class FileRange;
}

namespace arj {

class ArjDecoder;

enum HostOs : std::uint8_t { hostMsDos = 0, hostUnix = 2, hostNext = 8 };

enum ArjFlags : std::uint8_t {
    flagGarbled = 0x01, // encrypted with a password
    flagVolume = 0x04,  // continues in the next volume
    flagExtFile = 0x08, // continued from the previous volume
    flagPathSym = 0x10, // "\" was written as "/"
};

enum ArjFileType : std::uint8_t {
    typeBinary = 0,
    typeText = 1,
    typeComment = 2, // the main header
    typeDirectory = 3,
    typeVolumeLabel = 4,
    typeChapter = 5,
};

struct ArjMember
{
    std::string name; // as stored
    std::uint8_t hostOs = 0;
    std::uint8_t flags = 0;
    std::uint8_t method = 0;
    std::uint8_t fileType = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t originalSize = 0;
    std::uint32_t crc = 0;
    std::int64_t mtime = 0; // seconds since 1970
    std::uint64_t dataOffset = 0;

    bool Encrypted() const { return (flags & flagGarbled) != 0; }
    bool Split() const { return (flags & (flagVolume | flagExtFile)) != 0; }
};

class ArjArchive
{
public:
    ArjArchive();
    ~ArjArchive();
    ArjArchive(const ArjArchive &) = delete;
    ArjArchive &operator=(const ArjArchive &) = delete;

    // Opens path and finds its main header: 0, ERROR_ARC_FILE_OPEN or ERROR_NOT_ARC_FILE.
    int Open(const std::string &path);
    // The next member: 0, -1 at the end of the archive, else ERROR_HEADER_BROKEN or
    // ERROR_HEADER_CRC. Unread data of the previous member is skipped.
    int Next(ArjMember &member);
    // Data of the member Next gave last, in pieces: 0 with got > 0, 0 with got 0 at its
    // end (after its CRC-32 was found right), or ERROR_FILE_CRC, ERROR_DATA_BROKEN,
    // ERROR_METHOD, ERROR_PASSWORD_FILE, ERROR_NOT_SUPPORT (split member), ERROR_CANNOT_READ.
    int Read(unsigned char *buffer, std::size_t size, std::size_t &got);

private:
    int ReadHeaderAt(std::uint64_t offset, std::string &basic, std::uint64_t &next);
    bool FindMainHeader();
    int StartData();

    base::UniqueFd fd_;
    std::uint64_t fileSize_ = 0;
    std::uint64_t nextHeader_ = 0;
    ArjMember current_;
    bool haveCurrent_ = false;
    bool dataStarted_ = false;
    std::uint64_t delivered_ = 0;
    std::uint32_t crc_ = 0;
    std::unique_ptr<codec::FileRange> range_;
    std::unique_ptr<ArjDecoder> decoder_;
};

} // namespace arj
