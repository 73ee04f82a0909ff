#pragma once
// CRC-16 as LHA uses it: reflected polynomial 0xA001 (0x8005), starting from 0.

#include <cstddef>
#include <cstdint>

namespace arc {

// Continues crc (0 for a fresh start) over size bytes of data.
std::uint16_t Crc16(std::uint16_t crc, const void *data, std::size_t size);

} // namespace arc
