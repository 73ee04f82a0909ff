#include "crc16.h"

#include <array>

namespace arc {
namespace {

std::array<std::uint16_t, 256> MakeTable()
{
    std::array<std::uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? (0xA001u ^ (c >> 1)) : (c >> 1);
        table[i] = static_cast<std::uint16_t>(c);
    }
    return table;
}

} // namespace

std::uint16_t Crc16(std::uint16_t crc, const void *data, std::size_t size)
{
    static const std::array<std::uint16_t, 256> table = MakeTable();
    const auto *bytes = static_cast<const unsigned char *>(data);
    for (std::size_t i = 0; i < size; ++i)
        crc = static_cast<std::uint16_t>(table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8));
    return crc;
}

} // namespace arc
