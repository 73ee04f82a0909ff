#pragma once
// The budget every listing and extraction runs under.

#include <cstdint>

namespace arc {

struct Limits
{
    static constexpr double defaultSeconds = 30.0;
    static constexpr std::uint64_t defaultMemberBytes = 256ull << 20;
    static constexpr std::uint64_t defaultTotalBytes = 1ull << 30;

    double seconds = defaultSeconds;                // wall time of one call
    std::uint64_t memberBytes = defaultMemberBytes; // largest member written
    std::uint64_t totalBytes = defaultTotalBytes;   // most bytes written by one call

    // The defaults, changed by SONOLUX_ARCHIVER_BUDGET (seconds, 0.1 to 3600) and lowered
    // (never raised) by SONOLUX_ARCHIVER_MEMBER_LIMIT and SONOLUX_ARCHIVER_TOTAL_LIMIT
    // (bytes). Values that do not parse are ignored.
    static Limits FromEnvironment();
};

} // namespace arc
