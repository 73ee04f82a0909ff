// LHA headers of levels 0 to 3, read for their name fields.

#include "rawnames.h"

#include "outside/arccommon/bytes.h"
#include "outside/arccommon/codepage.h"
#include "outside/arccommon/signatures.h"

#include <algorithm>

namespace arc {
namespace {

constexpr int maxExtendedHeaders = 256;
constexpr std::uint32_t maxExtendedSize = 1u << 16;

constexpr unsigned char extFileName = 0x01;
constexpr unsigned char extDirectory = 0x02;
constexpr unsigned char extUnicodeFileName = 0x44;

} // namespace

std::string LhaRawNames::NameAt(std::uint64_t offset) const
{
    // A header at offset, or, for the first one of a self-extractor, behind its program head.
    for (const std::uint64_t span : {std::uint64_t(512), std::uint64_t(signatureScan)}) {
        const std::uint64_t end = std::min(Size(), offset + span);
        if (end <= offset)
            return std::string();
        std::string window(static_cast<std::size_t>(end - offset), '\0');
        if (!Read(offset, window.data(), window.size()))
            return std::string();
        if (LhaHeaderAt(window, 0))
            return ParseHeader(offset);
        if (span == 512)
            continue;
        for (std::size_t i = 1; i < window.size(); ++i)
            if (LhaHeaderAt(window, i))
                return ParseHeader(offset + i);
    }
    return std::string();
}

std::string LhaRawNames::ParseHeader(std::uint64_t offset) const
{
    unsigned char base[32] = {};
    if (!Read(offset, base, 22))
        return std::string();
    const int level = base[20];
    std::string file;
    std::string folder;
    bool haveFile = false;
    bool dosName = false;
    bool unicodeFile = false;
    std::uint64_t position = 0;
    std::uint32_t nextSize = 0;
    int sizeBytes = 2;

    if (level <= 1) {
        const std::uint64_t headerSize = base[0] + 2u;
        const std::size_t nameLength = base[21];
        if (22 + nameLength > headerSize)
            return std::string();
        file.resize(nameLength);
        if (!Read(offset + 22, file.data(), nameLength))
            return std::string();
        haveFile = true;
        dosName = true;
        if (level == 1) {
            unsigned char size[2];
            if (!Read(offset + headerSize - 2, size, 2))
                return std::string();
            nextSize = LittleEndian(size, 2);
            position = offset + headerSize;
        }
    } else if (level == 2) {
        if (!Read(offset, base, 26))
            return std::string();
        nextSize = LittleEndian(base + 24, 2);
        position = offset + 26;
    } else {
        if (!Read(offset, base, 32))
            return std::string();
        sizeBytes = 4;
        nextSize = LittleEndian(base + 28, 4);
        position = offset + 32;
    }

    // Extended headers: a type byte, the data, and the size of the next one.
    for (int count = 0; nextSize != 0 && count < maxExtendedHeaders; ++count) {
        if (nextSize < 1u + sizeBytes || nextSize > maxExtendedSize)
            break;
        std::string header(nextSize, '\0');
        if (!Read(position, header.data(), header.size()))
            break;
        const auto type = static_cast<unsigned char>(header[0]);
        const std::string data = header.substr(1, nextSize - 1 - sizeBytes);
        if (type == extFileName) {
            file = data;
            haveFile = true;
            dosName = false;
        } else if (type == extUnicodeFileName) {
            unicodeFile = true;
        } else if (type == extDirectory) {
            folder = data;
            for (char &c : folder)
                if (static_cast<unsigned char>(c) == 0xFF)
                    c = '/';
            if (!folder.empty() && folder.back() != '/')
                folder.push_back('/');
        }
        nextSize = LittleEndian(reinterpret_cast<const unsigned char *>(header.data()) + nextSize -
                                    sizeBytes,
                                sizeBytes);
        position += header.size();
    }
    if (!haveFile)
        return unicodeFile ? std::string() : folder; // a folder entry has no file name
    return folder + (dosName ? DosSeparatorsToSlashes(file) : file);
}

} // namespace arc
