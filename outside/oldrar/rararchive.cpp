#include "rararchive.h"

#include "outside/arccommon/bytes.h"
#include "outside/arccommon/crc32.h"
#include "outside/include/archiver_api.h"
#include "rarnames.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace oldrar {
namespace {

using arc::LittleEndian;

const char marker15[] = "Rar!\x1A\x07\x00";
const char marker50[] = "Rar!\x1A\x07\x01";
const char marker14[] = "RE~^";
constexpr std::uint64_t selfExtractorScan = 1u << 20;
constexpr std::size_t blockHead = 7;
constexpr std::size_t fileHeadFixed = 32;
constexpr std::size_t rar14FileHead = 21;

enum BlockType : std::uint8_t { blockMain = 0x73, blockFile = 0x74, blockEnd = 0x7B };
enum MainFlags : std::uint16_t { mainSolid = 0x0008, mainEncryptedHeaders = 0x0080 };
constexpr std::uint16_t flagLongBlock = 0x8000;
constexpr std::uint8_t rar14Solid = 0x08;

// Where a marker lies in the first bytes of the file (a self-extractor's program may stand
// before it), or npos.
std::size_t FindMarker(const std::string &window, const char *marker, std::size_t length)
{
    return window.find(marker, 0, length);
}

} // namespace

bool RarMember::IsDirectory() const
{
    if ((flags & fileDirectory) == fileDirectory)
        return true;
    return hostOs == hostUnix ? (attributes & 0170000) == 0040000 : (attributes & 0x10) != 0;
}

bool RarMember::IsLink() const
{
    return hostOs == hostUnix && (attributes & 0170000) == 0120000;
}

RarArchive::~RarArchive() = default;

int RarArchive::Open(const std::string &path)
{
    fd_.Reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info = {};
    if (!fd_.Valid() || ::fstat(fd_.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return ERROR_ARC_FILE_OPEN;
    fileSize_ = static_cast<std::uint64_t>(info.st_size);
    std::string window(static_cast<std::size_t>(std::min(fileSize_, selfExtractorScan)), '\0');
    if (window.empty() || !arc::ReadExactAt(fd_.Get(), 0, window.data(), window.size()))
        return ERROR_NOT_ARC_FILE;
    const std::size_t rar15 = FindMarker(window, marker15, 7);
    const std::size_t rar50 = FindMarker(window, marker50, 7);
    const std::size_t rar14 = FindMarker(window, marker14, 4);
    if (rar15 != std::string::npos && (rar50 == std::string::npos || rar15 < rar50))
        return OpenRar15(rar15);
    if (rar14 == 0)
        return OpenRar14(rar14);
    return ERROR_NOT_ARC_FILE;
}

int RarArchive::OpenRar15(std::uint64_t marker)
{
    format_ = Format::Rar15;
    unsigned char main[13];
    if (!arc::ReadExactAt(fd_.Get(), marker + 7, main, sizeof main) || main[2] != blockMain)
        return ERROR_NOT_ARC_FILE;
    const std::uint16_t flags = static_cast<std::uint16_t>(LittleEndian(main + 3, 2));
    const std::uint32_t size = LittleEndian(main + 5, 2);
    if (size < sizeof main)
        return ERROR_NOT_ARC_FILE;
    if ((flags & mainEncryptedHeaders) != 0)
        return ERROR_PASSWORD_FILE;
    solidArchive_ = (flags & mainSolid) != 0;
    next_ = marker + 7 + size;
    return 0;
}

int RarArchive::OpenRar14(std::uint64_t marker)
{
    format_ = Format::Rar14;
    unsigned char main[7];
    if (!arc::ReadExactAt(fd_.Get(), marker, main, sizeof main))
        return ERROR_NOT_ARC_FILE;
    const std::uint32_t size = LittleEndian(main + 4, 2);
    if (size < sizeof main)
        return ERROR_NOT_ARC_FILE;
    solidArchive_ = (main[6] & rar14Solid) != 0;
    next_ = marker + size;
    return 0;
}

int RarArchive::Next(RarMember &member)
{
    const int result = format_ == Format::Rar14 ? NextRar14(member) : NextRar15(member);
    if (result == 0) {
        // RAR 2.0 and later mark solid members; older ones only mark the archive.
        member.solid = (member.flags & fileSolid) != 0 ||
                       (solidArchive_ && member.unpackVersion < 20 && !firstMember_);
        firstMember_ = false;
    }
    return result;
}

int RarArchive::NextRar15(RarMember &member)
{
    // Blocks other than file headers (comments, recovery data, service headers) are
    // stepped over by their sizes; each one moves on at least a block header.
    while (next_ + blockHead <= fileSize_) {
        unsigned char head[blockHead + 4];
        const std::uint64_t at = next_;
        if (!arc::ReadExactAt(fd_.Get(), at, head, blockHead))
            return ERROR_HEADER_BROKEN;
        const unsigned type = head[2];
        const std::uint16_t flags = static_cast<std::uint16_t>(LittleEndian(head + 3, 2));
        const std::uint32_t size = LittleEndian(head + 5, 2);
        if (size < blockHead || at + size > fileSize_)
            return ERROR_HEADER_BROKEN;
        if (type == blockEnd)
            return -1;
        if (type == blockFile) {
            std::string header(size, '\0');
            if (!arc::ReadExactAt(fd_.Get(), at, header.data(), header.size()))
                return ERROR_HEADER_BROKEN;
            return ReadFileHeader(at, header, member);
        }
        std::uint64_t added = 0;
        if ((flags & flagLongBlock) != 0) {
            if (size < blockHead + 4 ||
                !arc::ReadExactAt(fd_.Get(), at + blockHead, head + blockHead, 4))
                return ERROR_HEADER_BROKEN;
            added = LittleEndian(head + blockHead, 4);
        }
        next_ = at + size + added;
    }
    return -1; // no end block: the archive simply ends
}

int RarArchive::ReadFileHeader(std::uint64_t at, const std::string &header, RarMember &member)
{
    const auto *h = reinterpret_cast<const unsigned char *>(header.data());
    if (header.size() < fileHeadFixed)
        return ERROR_HEADER_BROKEN;
    member = RarMember();
    member.headerOffset = at;
    member.flags = static_cast<std::uint16_t>(LittleEndian(h + 3, 2));
    member.packedSize = LittleEndian(h + 7, 4);
    member.size = LittleEndian(h + 11, 4);
    member.hostOs = h[15];
    member.checksum = LittleEndian(h + 16, 4);
    member.dosTime = LittleEndian(h + 20, 4);
    member.unpackVersion = h[24];
    member.method = h[25];
    member.attributes = LittleEndian(h + 28, 4);
    std::size_t nameAt = fileHeadFixed;
    if ((member.flags & fileLargeSizes) != 0) {
        if (header.size() < fileHeadFixed + 8)
            return ERROR_HEADER_BROKEN;
        member.packedSize |= static_cast<std::uint64_t>(LittleEndian(h + 32, 4)) << 32;
        member.size |= static_cast<std::uint64_t>(LittleEndian(h + 36, 4)) << 32;
        nameAt += 8;
    }
    const std::size_t nameLength = LittleEndian(h + 26, 2);
    if (nameAt + nameLength > header.size())
        return ERROR_HEADER_BROKEN;
    member.name = header.substr(nameAt, nameLength);
    if ((member.flags & fileUnicodeName) != 0) {
        member.name = UnicodeName(member.name);
        member.unicodeName = true;
    }
    member.headerDamaged = (arc::Crc32(0, h + 2, header.size() - 2) & 0xFFFF) != LittleEndian(h, 2);
    member.dataOffset = at + header.size();
    if (member.packedSize > fileSize_ - std::min(fileSize_, member.dataOffset))
        return ERROR_HEADER_BROKEN;
    next_ = member.dataOffset + member.packedSize;
    return 0;
}

int RarArchive::NextRar14(RarMember &member)
{
    if (next_ + rar14FileHead > fileSize_)
        return -1;
    unsigned char h[rar14FileHead];
    if (!arc::ReadExactAt(fd_.Get(), next_, h, sizeof h))
        return ERROR_HEADER_BROKEN;
    const std::uint32_t headSize = LittleEndian(h + 10, 2);
    const std::size_t nameLength = h[19];
    if (headSize < rar14FileHead + nameLength || next_ + headSize > fileSize_)
        return ERROR_HEADER_BROKEN;
    member = RarMember();
    member.headerOffset = next_;
    member.packedSize = LittleEndian(h, 4);
    member.size = LittleEndian(h + 4, 4);
    member.checksum = LittleEndian(h + 8, 2);
    member.dosTime = LittleEndian(h + 12, 4);
    member.attributes = h[16];
    member.flags = h[17] & (fileSplitBefore | fileSplitAfter | fileEncrypted);
    member.unpackVersion = 15; // RAR 1.3 and 1.4 data is decoded as RAR 1.5 data
    member.method = static_cast<std::uint8_t>(h[20] + methodStore);
    member.name.resize(nameLength);
    if (!arc::ReadExactAt(fd_.Get(), next_ + rar14FileHead, member.name.data(), nameLength))
        return ERROR_HEADER_BROKEN;
    member.dataOffset = next_ + headSize;
    if (member.packedSize > fileSize_ - member.dataOffset)
        return ERROR_HEADER_BROKEN;
    next_ = member.dataOffset + member.packedSize;
    return 0;
}

} // namespace oldrar
