#include "arjarchive.h"

#include "arjdecoder.h"
#include "outside/arccommon/bytes.h"
#include "outside/arccommon/crc32.h"
#include "outside/codecio/dostime.h"
#include "outside/codecio/filerange.h"
#include "outside/include/archiver_api.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace arj {

namespace {

constexpr unsigned char headerId0 = 0x60;
constexpr unsigned char headerId1 = 0xEA;
constexpr std::size_t maxBasicHeader = 2600;
constexpr std::size_t minFirstHeader = 30;
constexpr std::uint64_t selfExtractorScan = 1u << 20;

std::uint16_t Le16(const unsigned char *p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t Le32(const unsigned char *p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// Host systems that store modification times as seconds since 1970; the others store
// MS-DOS local date and time.
std::int64_t MemberTime(std::uint8_t hostOs, std::uint32_t stamp)
{
    if (hostOs == hostUnix || hostOs == hostNext)
        return stamp;
    return codec::DosTimeToUnix(stamp);
}

} // namespace

ArjArchive::ArjArchive() = default;

ArjArchive::~ArjArchive() = default;

int ArjArchive::Open(const std::string &path)
{
    fd_.Reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd_.Valid())
        return ERROR_ARC_FILE_OPEN;
    struct stat info = {};
    if (::fstat(fd_.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return ERROR_ARC_FILE_OPEN;
    fileSize_ = static_cast<std::uint64_t>(info.st_size);
    return FindMainHeader() ? 0 : ERROR_NOT_ARC_FILE;
}

// Reads the basic header at offset (after its id and size) and skips its extended
// headers; next is where the member's data (or the next header) starts.
int ArjArchive::ReadHeaderAt(std::uint64_t offset, std::string &basic, std::uint64_t &next)
{
    unsigned char start[4];
    if (!arc::ReadExactAt(fd_.Get(), offset, start, sizeof start) || start[0] != headerId0 ||
        start[1] != headerId1)
        return ERROR_HEADER_BROKEN;
    const std::size_t size = Le16(start + 2);
    if (size == 0) {
        basic.clear();
        next = offset + 4;
        return 0;
    }
    if (size < minFirstHeader || size > maxBasicHeader)
        return ERROR_HEADER_BROKEN;
    basic.resize(size + 4);
    if (!arc::ReadExactAt(fd_.Get(), offset + 4, basic.data(), basic.size()))
        return ERROR_HEADER_BROKEN;
    const auto *bytes = reinterpret_cast<const unsigned char *>(basic.data());
    if (arc::Crc32(0, bytes, size) != Le32(bytes + size))
        return ERROR_HEADER_CRC;
    basic.resize(size);
    std::uint64_t position = offset + 4 + size + 4;
    for (;;) {
        unsigned char extended[2];
        if (!arc::ReadExactAt(fd_.Get(), position, extended, sizeof extended))
            return ERROR_HEADER_BROKEN;
        position += 2;
        const std::uint16_t extendedSize = Le16(extended);
        if (extendedSize == 0)
            break;
        position += extendedSize + 4u; // the extended header and its CRC-32, unused
        if (position > fileSize_)
            return ERROR_HEADER_BROKEN;
    }
    next = position;
    return 0;
}

bool ArjArchive::FindMainHeader()
{
    const std::uint64_t limit = std::min<std::uint64_t>(fileSize_, selfExtractorScan);
    std::string window(static_cast<std::size_t>(limit), '\0');
    if (limit == 0 || !arc::ReadExactAt(fd_.Get(), 0, window.data(), window.size()))
        return false;
    for (std::size_t at = 0; at + 1 < window.size(); ++at) {
        if (static_cast<unsigned char>(window[at]) != headerId0 ||
            static_cast<unsigned char>(window[at + 1]) != headerId1)
            continue;
        std::string basic;
        std::uint64_t next = 0;
        if (ReadHeaderAt(at, basic, next) == 0 && !basic.empty() &&
            static_cast<unsigned char>(basic[6]) == typeComment) {
            nextHeader_ = next;
            return true;
        }
    }
    return false;
}

int ArjArchive::Next(ArjMember &member)
{
    haveCurrent_ = false;
    dataStarted_ = false;
    decoder_.reset();
    range_.reset();
    if (nextHeader_ >= fileSize_)
        return -1; // no end marker: the archive simply ends
    std::string basic;
    std::uint64_t dataOffset = 0;
    const int result = ReadHeaderAt(nextHeader_, basic, dataOffset);
    if (result != 0)
        return result;
    if (basic.empty())
        return -1;
    const auto *h = reinterpret_cast<const unsigned char *>(basic.data());
    const std::size_t firstSize = h[0];
    if (firstSize < minFirstHeader || firstSize >= basic.size())
        return ERROR_HEADER_BROKEN;
    ArjMember parsed;
    parsed.hostOs = h[3];
    parsed.flags = h[4];
    parsed.method = h[5];
    parsed.fileType = h[6];
    parsed.compressedSize = Le32(h + 12);
    parsed.originalSize = Le32(h + 16);
    parsed.crc = Le32(h + 20);
    parsed.mtime = MemberTime(parsed.hostOs, Le32(h + 8));
    const std::size_t nameEnd = basic.find('\0', firstSize);
    if (nameEnd == std::string::npos)
        return ERROR_HEADER_BROKEN;
    parsed.name = basic.substr(firstSize, nameEnd - firstSize);
    parsed.dataOffset = dataOffset;
    nextHeader_ = dataOffset + parsed.compressedSize;
    current_ = parsed;
    haveCurrent_ = true;
    delivered_ = 0;
    crc_ = 0;
    member = parsed;
    return 0;
}

int ArjArchive::StartData()
{
    if (current_.Encrypted())
        return ERROR_PASSWORD_FILE;
    if (current_.Split())
        return ERROR_NOT_SUPPORT;
    if (current_.method > 4)
        return ERROR_METHOD;
    if (current_.dataOffset + current_.compressedSize > fileSize_)
        return ERROR_DATA_BROKEN;
    range_ =
        std::make_unique<codec::FileRange>(fd_.Get(), current_.dataOffset, current_.compressedSize);
    if (current_.method != 0)
        decoder_ = std::make_unique<ArjDecoder>(current_.method, current_.originalSize, *range_);
    else if (current_.compressedSize != current_.originalSize)
        return ERROR_DATA_BROKEN;
    dataStarted_ = true;
    return 0;
}

int ArjArchive::Read(unsigned char *buffer, std::size_t size, std::size_t &got)
{
    got = 0;
    if (!haveCurrent_)
        return ERROR_CANNOT_READ;
    if (!dataStarted_) {
        const int result = StartData();
        if (result != 0)
            return result;
    }
    if (delivered_ < current_.originalSize) {
        const std::uint64_t left = current_.originalSize - delivered_;
        if (size > left)
            size = static_cast<std::size_t>(left);
        got = decoder_ ? decoder_->Decode(buffer, size) : range_->Read(buffer, size);
        if (range_->Failed())
            return ERROR_CANNOT_READ;
        if (decoder_ && decoder_->Broken())
            return ERROR_DATA_BROKEN;
        if (got == 0)
            return ERROR_DATA_BROKEN;
        crc_ = arc::Crc32(crc_, buffer, got);
        delivered_ += got;
        return 0;
    }
    return crc_ == current_.crc ? 0 : ERROR_FILE_CRC;
}

} // namespace arj
