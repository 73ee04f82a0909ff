#include "platform/mci/tempomap.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace mci {

namespace {

constexpr std::int64_t kNsPerMicrosecond = 1000;
constexpr std::int64_t kNsPerSecond = 1000000000;

__int128 FloorDiv(__int128 a, __int128 b)
{
    const __int128 q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

} // namespace

std::int64_t NsToSample(std::int64_t ns, int sampleRate)
{
    const __int128 twice = static_cast<__int128>(ns) * sampleRate * 2 + kNsPerSecond;
    return static_cast<std::int64_t>(FloorDiv(twice, 2 * kNsPerSecond));
}

std::int64_t SampleToNs(std::int64_t sample, int sampleRate)
{
    return static_cast<std::int64_t>(
        FloorDiv(static_cast<__int128>(sample) * kNsPerSecond, sampleRate));
}

TempoMap::TempoMap()
    : segments_{Segment{0, 0, 500000 * kNsPerMicrosecond}}
    , denominator_(480)
{
}

TempoMap TempoMap::Metrical(int ticksPerQuarter, const std::vector<TempoChange> &changes)
{
    if (ticksPerQuarter <= 0)
        throw std::invalid_argument("ticks per quarter note must be positive");
    TempoMap map;
    map.denominator_ = ticksPerQuarter;
    map.segments_ = {Segment{0, 0, 500000 * kNsPerMicrosecond}};
    for (const TempoChange &change : changes) {
        if (change.microsecondsPerQuarter <= 0 || change.tick < 0)
            throw std::invalid_argument("invalid tempo change");
        const std::int64_t perTick = change.microsecondsPerQuarter * kNsPerMicrosecond;
        Segment &last = map.segments_.back();
        if (change.tick < last.tick)
            throw std::invalid_argument("tempo changes out of order");
        if (change.tick == last.tick) {
            last.perTick = perTick;
            continue;
        }
        if (perTick == last.perTick)
            continue;
        const __int128 start =
            last.start + static_cast<__int128>(change.tick - last.tick) * last.perTick;
        map.segments_.push_back(Segment{change.tick, start, perTick});
    }
    return map;
}

TempoMap TempoMap::Timecode(int framesPerSecond, int ticksPerFrame)
{
    if (ticksPerFrame <= 0)
        throw std::invalid_argument("ticks per frame must be positive");
    TempoMap map;
    switch (framesPerSecond) {
    case 24:
    case 25:
    case 30:
        map.segments_ = {Segment{0, 0, kNsPerSecond}};
        map.denominator_ = static_cast<std::int64_t>(framesPerSecond) * ticksPerFrame;
        break;
    case 29: // 30 drop-frame runs at 30000/1001 frames per second
        map.segments_ = {Segment{0, 0, kNsPerSecond * 1001}};
        map.denominator_ = static_cast<std::int64_t>(30000) * ticksPerFrame;
        break;
    default:
        throw std::invalid_argument("invalid SMPTE frame rate");
    }
    return map;
}

const TempoMap::Segment &TempoMap::SegmentOfTick(std::int64_t tick) const
{
    const auto after =
        std::upper_bound(segments_.begin(), segments_.end(), tick,
                         [](std::int64_t t, const Segment &s) { return t < s.tick; });
    return *(after - 1);
}

__int128 TempoMap::ExactTime(std::int64_t tick) const
{
    const Segment &segment = SegmentOfTick(tick);
    return segment.start + static_cast<__int128>(tick - segment.tick) * segment.perTick;
}

std::int64_t TempoMap::TickToNs(std::int64_t tick) const
{
    const __int128 ns = FloorDiv(ExactTime(tick), denominator_);
    return ns > std::numeric_limits<std::int64_t>::max() ? std::numeric_limits<std::int64_t>::max()
                                                         : static_cast<std::int64_t>(ns);
}

std::int64_t TempoMap::TickToSample(std::int64_t tick, int sampleRate) const
{
    const __int128 scale = static_cast<__int128>(denominator_) * kNsPerSecond;
    const __int128 twice = ExactTime(tick) * sampleRate * 2 + scale;
    return static_cast<std::int64_t>(FloorDiv(twice, scale * 2));
}

std::int64_t TempoMap::NsToTick(std::int64_t ns) const
{
    // floor(T / denominator) <= ns  <=>  T <= (ns + 1) * denominator - 1
    const __int128 limit = static_cast<__int128>(ns + 1) * denominator_ - 1;
    const auto after =
        std::upper_bound(segments_.begin(), segments_.end(), limit,
                         [](__int128 value, const Segment &s) { return value < s.start; });
    if (after == segments_.begin())
        return 0;
    const Segment &segment = *(after - 1);
    return segment.tick +
           static_cast<std::int64_t>(FloorDiv(limit - segment.start, segment.perTick));
}

} // namespace mci
