#pragma once
// The fluidsynth command-line player's fast render, the reference the benchmark compares
// the device with.

#include <string>

namespace bench {

struct CliRender
{
    bool ok = false;
    std::string error;
    double cpuSeconds = 0; // user + system time of the process
    long peakMemoryKb = 0; // its largest resident set
};

// Runs `fluidsynth -ni -F wav -T wav -O s16 -r rate -R 0 -C 0 soundFont song` and waits
// for it (at most two minutes).
CliRender RenderWithFluidSynth(const std::string &soundFont, const std::string &song,
                               const std::string &wav, int sampleRate);

} // namespace bench
