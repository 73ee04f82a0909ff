#pragma once
// CRC-32 as ARJ and ZIP use it: reflected polynomial 0xEDB88320, all ones in and out.

#include <cstddef>
#include <cstdint>

namespace arc {

// Continues crc (0 for a fresh start) over size bytes of data.
std::uint32_t Crc32(std::uint32_t crc, const void *data, std::size_t size);

} // namespace arc
