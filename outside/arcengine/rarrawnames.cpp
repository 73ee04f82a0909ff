// RAR 4 file headers, read for their 8-bit names.

#include "rawnames.h"

#include "outside/arccommon/bytes.h"

namespace arc {
namespace {

constexpr int maxBlocks = 64;
constexpr unsigned char fileBlock = 0x74;
constexpr std::uint16_t flagLongBlock = 0x8000; // data of ADD_SIZE bytes follows the header
constexpr std::uint16_t flagLargeSizes = 0x0100;
constexpr std::uint16_t flagUnicodeName = 0x0200;
constexpr std::size_t fileHeaderFixed = 32;
const std::string marker("Rar!\x1A\x07\x00", 7);

} // namespace

std::string Rar4RawNames::NameAt(std::uint64_t offset) const
{
    // libarchive's position may lie ahead of blocks it skips (the marker, the archive
    // header, comments): walk the blocks to the next file header.
    std::uint64_t position = offset;
    for (int block = 0; block < maxBlocks; ++block) {
        unsigned char head[fileHeaderFixed];
        if (!Read(position, head, 7))
            return std::string();
        if (std::string(reinterpret_cast<const char *>(head), 7) == marker) {
            position += 7;
            continue;
        }
        const unsigned type = head[2];
        const std::uint16_t flags = static_cast<std::uint16_t>(LittleEndian(head + 3, 2));
        const std::uint32_t size = LittleEndian(head + 5, 2);
        if (size < 7)
            return std::string();
        if (type == fileBlock) {
            if (size < fileHeaderFixed || !Read(position, head, fileHeaderFixed) ||
                (flags & flagUnicodeName) != 0)
                return std::string();
            const std::size_t nameLength = LittleEndian(head + 26, 2);
            const std::uint64_t nameAt =
                position + fileHeaderFixed + ((flags & flagLargeSizes) != 0 ? 8 : 0);
            std::string name(nameLength, '\0');
            if (nameAt + nameLength > position + size || !Read(nameAt, name.data(), name.size()))
                return std::string();
            return DosSeparatorsToSlashes(name);
        }
        std::uint64_t data = 0;
        if ((flags & flagLongBlock) != 0) {
            unsigned char added[4];
            if (size < 11 || !Read(position + 7, added, 4))
                return std::string();
            data = LittleEndian(added, 4);
        }
        position += size + data;
    }
    return std::string();
}

} // namespace arc
