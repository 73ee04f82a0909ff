#include "archivebuilders.h"

#include <cstdio>
#include <cstring>

namespace archiver_testing {
namespace {

void Put16(std::string &out, std::uint32_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string &out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// CRC-16 of LHA (polynomial 0xA001, reflected, starting at 0).
std::uint16_t Crc16(const std::string &data)
{
    std::uint16_t crc = 0;
    for (const char c : data) {
        crc ^= static_cast<unsigned char>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001)
                            : static_cast<std::uint16_t>(crc >> 1);
    }
    return crc;
}

constexpr std::uint32_t dosTime = 0x58A66000; // 2024-05-06 12:00:00

} // namespace

std::uint32_t Crc32(const std::string &data)
{
    std::uint32_t crc = 0xFFFFFFFF;
    for (const char c : data) {
        crc ^= static_cast<unsigned char>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

std::string BuildPackedLzh(const std::vector<PackedLzhMember> &members, int level)
{
    std::string out;
    for (const PackedLzhMember &m : members) {
        const auto packed = static_cast<std::uint32_t>(m.packed.size());
        const auto size = static_cast<std::uint32_t>(m.original.size());
        std::string header;
        if (level == 0) {
            header = m.method;
            Put32(header, packed);
            Put32(header, size);
            Put32(header, dosTime);
            header.push_back(0x20); // attribute
            header.push_back(0);    // level
            header.push_back(static_cast<char>(m.name.size()));
            header += m.name;
            Put16(header, Crc16(m.original));
            unsigned sum = 0;
            for (const char c : header)
                sum += static_cast<unsigned char>(c);
            out.push_back(static_cast<char>(header.size()));
            out.push_back(static_cast<char>(sum & 0xFF));
            out += header;
        } else {
            // Level 2: fixed part, then extended headers: file name and the header CRC.
            std::string name(1, '\x01');
            name += m.name;
            std::string crc(1, '\0');
            Put16(crc, 0);
            std::string fixed = m.method;
            Put32(fixed, packed);
            Put32(fixed, size);
            Put32(fixed, 1715860800); // time since 1970
            fixed.push_back(0x20);
            fixed.push_back(2);
            Put16(fixed, Crc16(m.original));
            fixed.push_back('U');
            std::string extended;
            Put16(extended, static_cast<std::uint32_t>(crc.size() + 2));
            extended += crc;
            Put16(extended, static_cast<std::uint32_t>(name.size() + 2));
            extended += name;
            Put16(extended, 0);
            std::string whole;
            Put16(whole, static_cast<std::uint32_t>(2 + fixed.size() + extended.size()));
            whole += fixed + extended;
            const std::uint16_t headerCrc = Crc16(whole);
            // The CRC field is the first extended header's data.
            const std::size_t crcAt = 2 + fixed.size() + 2 + 1;
            whole[crcAt] = static_cast<char>(headerCrc & 0xFF);
            whole[crcAt + 1] = static_cast<char>(headerCrc >> 8);
            out += whole;
        }
        out += m.packed;
    }
    out.push_back(0);
    return out;
}

std::string BuildLzh(const std::vector<StoredMember> &members, int level)
{
    std::vector<PackedLzhMember> stored;
    for (const StoredMember &m : members)
        stored.push_back({m.name, "-lh0-", m.data, m.data});
    return BuildPackedLzh(stored, level);
}

std::string BuildRar4(const std::vector<StoredMember> &members)
{
    auto block = [](std::string body) {
        // body starts at the header type; the header CRC is the low half of its CRC-32.
        std::string out;
        Put16(out, Crc32(body) & 0xFFFF);
        return out + body;
    };
    std::string out("Rar!\x1A\x07\x00", 7);
    std::string main(1, '\x73');
    Put16(main, 0);
    Put16(main, 13);
    Put16(main, 0);
    Put32(main, 0);
    out += block(main);
    for (const StoredMember &m : members) {
        std::string file(1, '\x74');
        Put16(file, 0x8000);
        Put16(file, static_cast<std::uint32_t>(32 + m.name.size()));
        Put32(file, static_cast<std::uint32_t>(m.data.size()));
        Put32(file, static_cast<std::uint32_t>(m.data.size()));
        file.push_back(2); // Windows
        Put32(file, Crc32(m.data));
        Put32(file, dosTime);
        file.push_back(20);   // version needed
        file.push_back(0x30); // stored
        Put16(file, static_cast<std::uint32_t>(m.name.size()));
        Put32(file, 0x20);
        file += m.name;
        out += block(file) + m.data;
    }
    std::string end(1, '\x7B');
    Put16(end, 0x4000);
    Put16(end, 7);
    return out + block(end);
}

std::string BuildZip(const std::vector<StoredMember> &members)
{
    std::string out;
    std::string central;
    for (const StoredMember &m : members) {
        const auto offset = static_cast<std::uint32_t>(out.size());
        const auto size = static_cast<std::uint32_t>(m.data.size());
        std::string common;
        Put16(common, 10); // version needed
        Put16(common, 0);  // flags
        Put16(common, 0);  // stored
        Put32(common, dosTime);
        Put32(common, Crc32(m.data));
        Put32(common, size);
        Put32(common, size);
        Put16(common, static_cast<std::uint32_t>(m.name.size()));
        Put16(common, 0); // extra length
        out += std::string("PK\x03\x04", 4) + common + m.name + m.data;
        central += std::string("PK\x01\x02", 4);
        Put16(central, 20); // made by
        central += common;
        Put16(central, 0); // comment length
        Put16(central, 0); // disk
        Put16(central, 0); // internal attributes
        Put32(central, 0); // external attributes
        Put32(central, offset);
        central += m.name;
    }
    const auto centralOffset = static_cast<std::uint32_t>(out.size());
    out += central + std::string("PK\x05\x06", 4);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<std::uint32_t>(members.size()));
    Put16(out, static_cast<std::uint32_t>(members.size()));
    Put32(out, static_cast<std::uint32_t>(central.size()));
    Put32(out, centralOffset);
    Put16(out, 0);
    return out;
}

std::string BuildTar(const std::vector<TarMember> &members)
{
    std::string out;
    for (const TarMember &m : members) {
        char header[512] = {};
        std::strncpy(header, m.name.c_str(), 100);
        std::snprintf(header + 100, 8, "%07o", 0644);
        std::snprintf(header + 108, 8, "%07o", 0);
        std::snprintf(header + 116, 8, "%07o", 0);
        const std::uint64_t size = m.declared.value_or(m.data.size());
        std::snprintf(header + 124, 12, "%011llo", static_cast<unsigned long long>(size));
        std::snprintf(header + 136, 12, "%011o", 1715860800);
        header[156] = m.type;
        std::strncpy(header + 157, m.link.c_str(), 100);
        std::memcpy(header + 257,
                    "ustar\0"
                    "00",
                    8);
        std::memset(header + 148, ' ', 8);
        unsigned sum = 0;
        for (const char c : header)
            sum += static_cast<unsigned char>(c);
        std::snprintf(header + 148, 8, "%06o", sum);
        out.append(header, sizeof header);
        out += m.data;
        out.append((512 - m.data.size() % 512) % 512, '\0');
    }
    out.append(1024, '\0');
    return out;
}

} // namespace archiver_testing
