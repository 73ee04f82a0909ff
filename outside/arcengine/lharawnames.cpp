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
    Names names;
    Extended extended;
    if (!ReadBase(offset, names, extended))
        return std::string();
    ReadExtended(extended, names);
    if (!names.haveFile)
        return names.unicodeFile ? std::string() : names.folder; // a folder entry has no file
    return names.folder + (names.dosName ? DosSeparatorsToSlashes(names.file) : names.file);
}

bool LhaRawNames::ReadBase(std::uint64_t offset, Names &names, Extended &extended) const
{
    unsigned char base[32] = {};
    if (!Read(offset, base, 22))
        return false;
    const int level = base[20];
    if (level <= 1) {
        const std::uint64_t headerSize = base[0] + 2u;
        const std::size_t nameLength = base[21];
        if (22 + nameLength > headerSize)
            return false;
        names.file.resize(nameLength);
        if (!Read(offset + 22, names.file.data(), nameLength))
            return false;
        names.haveFile = true;
        names.dosName = true;
        if (level == 1) {
            unsigned char size[2];
            if (!Read(offset + headerSize - 2, size, 2))
                return false;
            extended.nextSize = LittleEndian(size, 2);
            extended.position = offset + headerSize;
        }
    } else if (level == 2) {
        if (!Read(offset, base, 26))
            return false;
        extended.nextSize = LittleEndian(base + 24, 2);
        extended.position = offset + 26;
    } else {
        if (!Read(offset, base, 32))
            return false;
        extended.sizeBytes = 4;
        extended.nextSize = LittleEndian(base + 28, 4);
        extended.position = offset + 32;
    }
    return true;
}

// Extended headers: a type byte, the data, and the size of the next one.
void LhaRawNames::ReadExtended(Extended extended, Names &names) const
{
    const int sizeBytes = extended.sizeBytes;
    std::uint32_t nextSize = extended.nextSize;
    std::uint64_t position = extended.position;
    for (int count = 0; nextSize != 0 && count < maxExtendedHeaders; ++count) {
        if (nextSize < 1u + sizeBytes || nextSize > maxExtendedSize)
            return;
        std::string header(nextSize, '\0');
        if (!Read(position, header.data(), header.size()))
            return;
        const auto type = static_cast<unsigned char>(header[0]);
        const std::string data = header.substr(1, nextSize - 1 - sizeBytes);
        if (type == extFileName) {
            names.file = data;
            names.haveFile = true;
            names.dosName = false;
        } else if (type == extUnicodeFileName) {
            names.unicodeFile = true;
        } else if (type == extDirectory) {
            names.folder = data;
            for (char &c : names.folder)
                if (static_cast<unsigned char>(c) == 0xFF)
                    c = '/';
            if (!names.folder.empty() && names.folder.back() != '/')
                names.folder.push_back('/');
        }
        nextSize = LittleEndian(reinterpret_cast<const unsigned char *>(header.data()) + nextSize -
                                    sizeBytes,
                                sizeBytes);
        position += header.size();
    }
}

} // namespace arc
