#pragma once
// The process's FluidSynth synthesiser. Loading a General MIDI SoundFont takes a second or
// more, so the process loads it once, keeps the synthesiser with it loaded, and lends that
// to one output at a time. Loading can start in the background at program start
// (Preload), so that the first song does not wait.

#include <fluidsynth.h>

#include <cstdint>
#include <memory>
#include <string>

namespace mci {

struct LoadedSynth;

// Exclusive use of the loaded synthesiser; giving it back silences it.
class SynthLease
{
public:
    explicit SynthLease(std::shared_ptr<LoadedSynth> synth);
    ~SynthLease();
    SynthLease(const SynthLease &) = delete;
    SynthLease &operator=(const SynthLease &) = delete;

    fluid_synth_t *Synth() const;
    fluid_settings_t *Settings() const;
    // Frames rendered since the synthesiser was made. FluidSynth renders whole blocks of
    // 64 frames counted from its first frame and applies messages at the start of a
    // block, so a multiple of 64 here is where a block starts.
    std::int64_t &Frames();

private:
    std::shared_ptr<LoadedSynth> synth_;
};

namespace fluidhost {

// Starts loading soundFont for sampleRate in the background and returns at once; a later
// Acquire of the same waits only for what is left. Replaces an earlier preload of another.
void Preload(const std::string &soundFont, int sampleRate);

// The synthesiser with soundFont loaded at sampleRate, reset to its power-on state;
// waits for a load in progress. Throws EMCIDeviceError when the SoundFont is missing, is
// not a SoundFont or cannot be loaded, or when another output holds the synthesiser.
std::unique_ptr<SynthLease> Acquire(const std::string &soundFont, int sampleRate);

// The last error FluidSynth reported (empty when none), cleared by reading it. FluidSynth's
// warnings and notes are not printed.
std::string TakeLastError();

} // namespace fluidhost

} // namespace mci
