#include "onsetstats.h"

#include "tools/sonolux-render/onsets.h"

#include <algorithm>
#include <cstdlib>

namespace bench {

namespace {

constexpr std::int64_t kSearchWindow = 2000; // samples either side of the exact time

} // namespace

float OnsetThreshold(const std::vector<float> &mono)
{
    return 0.1f * render::Peak(mono);
}

OnsetStats MeasureOnsets(const std::vector<float> &mono, const TestSong &song, int sampleRate,
                         std::int64_t attack)
{
    const std::vector<std::int64_t> onsets =
        render::DetectOnsets(mono, OnsetThreshold(mono), sampleRate / 20);
    OnsetStats stats;
    double total = 0;
    for (std::size_t i = 0; i < song.ticks.size(); ++i) {
        const std::int64_t exact = song.song.tempo.TickToSample(song.ticks[i], sampleRate);
        const std::int64_t expected = exact + attack;
        const auto near = std::lower_bound(onsets.begin(), onsets.end(), expected - kSearchWindow);
        if (near == onsets.end() || *near > expected + kSearchWindow) {
            ++stats.missed;
            continue;
        }
        const std::int64_t error = *near - expected;
        if (stats.notes == 0) {
            stats.first = error;
            stats.lowest = stats.highest = error;
        }
        stats.lowest = std::min(stats.lowest, error);
        stats.highest = std::max(stats.highest, error);
        stats.last = error;
        ++stats.notes;
        stats.largest = std::max<std::int64_t>(stats.largest, std::llabs(error));
        total += static_cast<double>(std::llabs(error));
    }
    stats.mean = stats.notes > 0 ? total / stats.notes : 0;
    return stats;
}

} // namespace bench
