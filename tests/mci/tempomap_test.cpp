#include "platform/mci/tempomap.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using mci::TempoChange;
using mci::TempoMap;

// Catches times computed with the wrong tempo on either side of a change.
TEST(TempoMap, TimesFollowTempoChanges)
{
    const TempoMap map = TempoMap::Metrical(480, {{960, 250000}, {1440, 1000000}});
    EXPECT_EQ(map.TickToNs(0), 0);
    EXPECT_EQ(map.TickToNs(480), 500000000);
    EXPECT_EQ(map.TickToNs(960), 1000000000);
    EXPECT_EQ(map.TickToNs(1440), 1250000000);
    EXPECT_EQ(map.TickToNs(1920), 2250000000);
    // One tick at 500000 us per 480 ticks is 1041666.67 ns: rounded down.
    EXPECT_EQ(map.TickToNs(1), 1041666);
}

// Catches drift from adding up rounded intervals over 200 tempo changes.
TEST(TempoMap, NoDriftAcrossManyTempoChanges)
{
    std::vector<TempoChange> changes;
    __int128 exact = 0; // ns x 480
    std::int64_t tick = 0;
    std::int64_t tempo = 500000;
    for (int i = 1; i <= 200; ++i) {
        const std::int64_t next = tick + 331 + (i * 97) % 113;
        exact += static_cast<__int128>(next - tick) * tempo * 1000;
        tick = next;
        tempo = 300000 + (i * 7919) % 400001;
        changes.push_back({tick, tempo});
    }
    exact += static_cast<__int128>(1000) * tempo * 1000;
    const TempoMap map = TempoMap::Metrical(480, changes);
    EXPECT_EQ(map.SegmentCount(), 201u);
    EXPECT_EQ(map.TickToNs(tick + 1000), static_cast<std::int64_t>(exact / 480));
    // Sample positions come from the exact time too (half up): ns x 480 x 44100 / 1e9 / 480.
    const __int128 scale = static_cast<__int128>(480) * 1000000000;
    EXPECT_EQ(map.TickToSample(tick + 1000, 44100),
              static_cast<std::int64_t>((exact * 44100 * 2 + scale) / (scale * 2)));
}

// Catches 32-bit overflow on the huge delta times of 4-byte variable-length quantities.
TEST(TempoMap, HugeTickCountsDoNotOverflow)
{
    const TempoMap map = TempoMap::Metrical(96, {});
    const std::int64_t tick = std::int64_t{0x0E000000} * 16;
    EXPECT_EQ(map.TickToNs(tick), tick * 500000 * 1000 / 96);
    EXPECT_EQ(map.NsToTick(map.TickToNs(tick)), tick);
}

// Catches an inverse that is off by one tick at segment edges or between ticks.
TEST(TempoMap, NsToTickIsTheInverse)
{
    const TempoMap map = TempoMap::Metrical(480, {{960, 250000}, {1000, 123457}});
    for (std::int64_t tick = 0; tick < 3000; ++tick) {
        const std::int64_t ns = map.TickToNs(tick);
        ASSERT_EQ(map.NsToTick(ns), tick) << tick;
        if (tick > 0) {
            ASSERT_EQ(map.NsToTick(ns - 1), tick - 1) << tick;
        }
    }
}

// Catches drop-frame SMPTE time taken as a whole 30 or 29 frames per second.
TEST(TempoMap, SmpteTimeIgnoresTempoAndHandlesDropFrame)
{
    EXPECT_EQ(TempoMap::Timecode(25, 40).TickToNs(1000), 1000000000);
    EXPECT_EQ(TempoMap::Timecode(29, 40).TickToNs(1200), 1001000000);
    EXPECT_EQ(TempoMap::Timecode(24, 1).TickToSample(24, 48000), 48000);
    EXPECT_THROW(TempoMap::Timecode(16, 96), std::invalid_argument);
}

// Catches rounding down (or to even) where the nearest sample is wanted.
TEST(TempoMap, SamplesRoundToNearest)
{
    // 1 tick = 1/44100 s x 0.5 exactly: ticksPerQuarter 88200 at 1 s per quarter.
    const TempoMap map = TempoMap::Metrical(88200, {{0, 1000000}});
    EXPECT_EQ(map.TickToSample(1, 44100), 1); // 0.5 -> 1
    EXPECT_EQ(map.TickToSample(3, 44100), 2); // 1.5 -> 2
    EXPECT_EQ(map.TickToSample(4, 44100), 2);
    EXPECT_EQ(mci::NsToSample(11337, 44100), 0); // 0.49997
    EXPECT_EQ(mci::NsToSample(11338, 44100), 1); // 0.50001
}

} // namespace
