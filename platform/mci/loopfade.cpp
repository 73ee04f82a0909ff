#include "platform/mci/loopfade.h"

#include <algorithm>
#include <cmath>

namespace mci {

namespace {

constexpr int kSteps = static_cast<int>(kLoopFadeNs / LoopFade::kStepNs);

SongEvent VolumeEvent(std::int64_t tick, std::size_t index, int value)
{
    SongEvent event;
    event.tick = tick;
    event.bytes[0] = static_cast<std::uint8_t>(0xB0 | (index % 16));
    event.bytes[1] = cc::Volume;
    event.bytes[2] = static_cast<std::uint8_t>(value);
    event.port = static_cast<std::uint8_t>(index / 16);
    return event;
}

} // namespace

LoopFade::LoopFade(const TempoMap &tempo, std::int64_t startNs, std::uint64_t channels)
    : tempo_(tempo)
    , startNs_(startNs)
    , channels_(channels)
{
    volume_.fill(kDefaultVolume);
    sent_.fill(kDefaultVolume);
    endTick_ = FirstTickAtOrAfter(startNs_ + kLoopFadeNs);
    nextStepTick_ = FirstTickAtOrAfter(startNs_ + kStepNs);
}

std::int64_t LoopFade::FirstTickAtOrAfter(std::int64_t ns) const
{
    const std::int64_t tick = tempo_.NsToTick(ns);
    return tempo_.TickToNs(tick) < ns ? tick + 1 : tick;
}

double LoopFade::GainAt(std::int64_t ns) const
{
    const double gone = static_cast<double>(ns - startNs_) / static_cast<double>(kLoopFadeNs);
    return std::clamp(1.0 - gone, 0.0, 1.0);
}

std::vector<SongEvent> LoopFade::Restore() const
{
    std::vector<SongEvent> events;
    for (std::size_t i = 0; i < volume_.size(); ++i)
        if (channels_ & (std::uint64_t{1} << i))
            events.push_back(VolumeEvent(0, i, kDefaultVolume));
    return events;
}

void LoopFade::Scale(SongEvent &event, std::int64_t ns)
{
    const std::size_t i =
        static_cast<std::size_t>(event.port % kPorts) * 16 + (event.bytes[0] & 0x0F);
    volume_[i] = event.bytes[2];
    if (ns >= startNs_)
        event.bytes[2] = static_cast<std::uint8_t>(std::lround(volume_[i] * GainAt(ns)));
    sent_[i] = event.bytes[2];
}

void LoopFade::StepsUntil(std::int64_t tick, std::vector<SongEvent> &out)
{
    while (nextStep_ <= kSteps && nextStepTick_ <= tick) {
        const double gain = 1.0 - static_cast<double>(nextStep_) / kSteps;
        for (std::size_t i = 0; i < volume_.size(); ++i) {
            if ((channels_ & (std::uint64_t{1} << i)) == 0)
                continue;
            const int value = static_cast<int>(std::lround(volume_[i] * gain));
            if (value != sent_[i])
                out.push_back(VolumeEvent(nextStepTick_, i, value));
            sent_[i] = value;
        }
        ++nextStep_;
        nextStepTick_ = FirstTickAtOrAfter(startNs_ + nextStep_ * kStepNs);
    }
}

} // namespace mci
