#include "dostime.h"

#include <ctime>

namespace codec {

std::int64_t DosTimeToUnix(std::uint32_t stamp)
{
    if (stamp == 0)
        return 0;
    std::tm parts{};
    parts.tm_year = static_cast<int>((stamp >> 25) & 0x7F) + 80;
    parts.tm_mon = static_cast<int>((stamp >> 21) & 0x0F) - 1;
    parts.tm_mday = static_cast<int>((stamp >> 16) & 0x1F);
    parts.tm_hour = static_cast<int>((stamp >> 11) & 0x1F);
    parts.tm_min = static_cast<int>((stamp >> 5) & 0x3F);
    parts.tm_sec = static_cast<int>((stamp & 0x1F) * 2);
    parts.tm_isdst = -1;
    const std::time_t value = std::mktime(&parts);
    return value == static_cast<std::time_t>(-1) ? 0 : static_cast<std::int64_t>(value);
}

} // namespace codec
