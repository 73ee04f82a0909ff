#include "outside/rcpcv/tempo_map.h"

#include "outside/rcpcv/limits.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace rcpcv {

namespace {

constexpr double kFactorUnit = 64.0;
constexpr double kUsecPerMinute = 60'000'000.0;
constexpr uint32_t kMaxUsecPerQuarter = 0xFFFFFF;
// A glide lasts 255 48ths of a quarter note at rate 1 and 30 fewer for every doubling of
// the rate, advancing every 2 48ths.
constexpr double kSlowestGlide = 255.0;
constexpr double kGlideShortening = 30.0;
constexpr int64_t kGlideStep = 2;
constexpr int64_t kGlideUnitsPerQuarter = 48;

struct BpmPoint
{
    int64_t tick;
    double bpm;
};

int64_t GlideLength(uint8_t glide)
{
    return std::lround(kSlowestGlide - kGlideShortening * std::log2(static_cast<double>(glide)));
}

void AddGlide(std::vector<BpmPoint> &points, int64_t tick, double from, double to, uint8_t glide,
              unsigned timebase)
{
    const int64_t length = GlideLength(glide);
    for (int64_t unit = kGlideStep; unit < length; unit += kGlideStep) {
        const int64_t at = tick + unit * timebase / kGlideUnitsPerQuarter;
        const double bpm = from + (to - from) * static_cast<double>(unit) / length;
        if (points.back().tick == at)
            points.back().bpm = bpm;
        else
            points.push_back({at, bpm});
    }
    const int64_t end = tick + length * timebase / kGlideUnitsPerQuarter;
    if (points.back().tick == end)
        points.back().bpm = to;
    else
        points.push_back({end, to});
}

} // namespace

size_t TempoPointsOf(const TempoRequest &request)
{
    if (request.glide == 0)
        return 1;
    return static_cast<size_t>(GlideLength(request.glide) / kGlideStep + 1);
}

uint32_t UsecPerQuarter(double bpm)
{
    const double usec = std::round(kUsecPerMinute / bpm);
    if (!(usec >= 1.0))
        return 1;
    if (usec > kMaxUsecPerQuarter)
        return kMaxUsecPerQuarter;
    return static_cast<uint32_t>(usec);
}

std::vector<TempoPoint> BuildTempoMap(unsigned headerTempo, unsigned timebase,
                                      std::vector<TempoRequest> requests)
{
    std::stable_sort(requests.begin(), requests.end(),
                     [](const TempoRequest &a, const TempoRequest &b) { return a.tick < b.tick; });
    std::vector<BpmPoint> points{{0, static_cast<double>(headerTempo)}};
    for (const TempoRequest &request : requests) {
        if (request.factor == 0)
            continue;
        const int64_t tick = std::max<int64_t>(request.tick, 0);
        const double target = headerTempo * (request.factor / kFactorUnit);
        // The tempo reached at tick; later steps of a glide still running are dropped.
        auto reached = points.rbegin();
        while (std::next(reached) != points.rend() && reached->tick > tick)
            ++reached;
        const double current = reached->bpm;
        while (!points.empty() && points.back().tick >= tick)
            points.pop_back();
        points.push_back({tick, request.glide == 0 ? target : current});
        if (request.glide != 0)
            AddGlide(points, tick, current, target, request.glide, timebase);
    }

    std::vector<TempoPoint> tempo;
    for (const BpmPoint &point : points) {
        const uint32_t usec = UsecPerQuarter(point.bpm);
        if (tempo.empty() || tempo.back().usecPerQuarter != usec)
            tempo.push_back({static_cast<uint32_t>(std::min(point.tick, limits::kMaxTick)), usec});
    }
    return tempo;
}

} // namespace rcpcv
