#pragma once
// The archive formats the archive layer knows, in their stored order.

#include <cstdint>

namespace formats {

enum class TArchiverType : std::uint8_t {
    atLha = 0,
    atZip = 1,
    atCab = 2,
    atArj = 3,
    atTar = 4,
    atTgz = 5,
    atBZ2 = 6,
    atRar = 7,
    atNone = 8,
    atAutoDetect = 9,
};

} // namespace formats
