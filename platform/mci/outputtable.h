#pragma once
// The outputs the device can play through, one row each: the name "midimap.ini" gives it
// under Device, how it is made from the settings, the choices a settings page offers of it,
// how a choice of it is recognised and named, and what starting the program does for it
// ahead of the first song.

#include "platform/mci/outputconfig.h"

#include <memory>
#include <string>
#include <vector>

namespace mci {

struct OutputKind
{
    const char *name; // the Device value, matched without regard to letter case
    // A new output for config (not yet prepared); throws EMCIDeviceError when config
    // cannot make one.
    std::shared_ptr<MidiOutput> (*create)(const OutputConfig &config);
    // Adds the choices of this kind available now.
    void (*list)(std::vector<OutputChoice> &choices);
    // True when offered (one of the choices) stands for wanted, both of this kind.
    bool (*chooses)(const OutputConfig &offered, const OutputConfig &wanted);
    // A line naming config, a setting of this kind, for a list.
    std::string (*describe)(const OutputConfig &config);
    // The head start at program start (loading what the first song needs); may throw.
    void (*preload)(const OutputConfig &config);
};

// Every row, the default (FluidSynth) first.
const std::vector<OutputKind> &OutputKinds();

// The row of a Device value (an empty one is the default); nullptr when no row has it.
const OutputKind *FindOutputKind(const std::string &device);

// The names of every row as a sentence's list: "fluidsynth, alsa or none".
std::string OutputKindNames();

} // namespace mci
