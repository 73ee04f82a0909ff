#pragma once
// The fade that ends a looped song: each channel's volume (controller 7) falls from what
// the song set to 0, in steps written into the song itself. Every output then fades
// alike (FluidSynth, a module behind an ALSA port, the silent output's log), and a chase
// into the fade finds the volume the fade had reached there.

#include "platform/mci/song.h"

#include <array>
#include <cstdint>
#include <vector>

namespace mci {

constexpr std::int64_t kLoopFadeNs = std::int64_t{8} * 1000000000;

class LoopFade
{
public:
    static constexpr std::int64_t kStepNs = 50000000;
    static constexpr int kDefaultVolume = 100; // a channel's volume after a reset

    // A fade from startNs to startNs + kLoopFadeNs on tempo, of the channels whose bit
    // (port * 16 + channel) is set in channels.
    LoopFade(const TempoMap &tempo, std::int64_t startNs, std::uint64_t channels);

    // The first tick at or after the fade's end: where the song ends.
    std::int64_t EndTick() const { return endTick_; }

    // Volume messages at tick 0 that give the faded channels the volume they have after a
    // reset, so that a song played again after its fade does not start silent.
    std::vector<SongEvent> Restore() const;

    // Takes note of the song's own volume message at ns, and scales it once the fade has
    // begun.
    void Scale(SongEvent &event, std::int64_t ns);

    // Appends the fade's volume steps due at or before tick (those that change a channel's
    // volume), in time order.
    void StepsUntil(std::int64_t tick, std::vector<SongEvent> &out);

private:
    double GainAt(std::int64_t ns) const;
    std::int64_t FirstTickAtOrAfter(std::int64_t ns) const;

    const TempoMap &tempo_;
    const std::int64_t startNs_;
    const std::uint64_t channels_;
    std::int64_t endTick_ = 0;
    int nextStep_ = 1;
    std::int64_t nextStepTick_ = 0;
    std::array<int, kPorts * 16> volume_{}; // as the song set it
    std::array<int, kPorts * 16> sent_{};   // as the output has it
};

} // namespace mci
