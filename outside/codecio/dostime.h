#pragma once
// MS-DOS date and time stamps, as ZIP and RAR headers store them.

#include <cstdint>

namespace codec {

// The local time of stamp (date in the high half, time in the low) as seconds since 1970;
// 0 when it names no time.
std::int64_t DosTimeToUnix(std::uint32_t stamp);

} // namespace codec
