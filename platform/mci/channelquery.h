#pragma once
// What a FluidSynth channel holds, asked of FluidSynth itself: for tests and measurements
// that check what the module layer selected.

#include <fluidsynth.h>

#include <string>
#include <vector>

namespace mci {

struct ChannelReport
{
    bool drum = false; // FluidSynth's channel type is "drum"
    int sfontId = 0;
    // The preset the channel plays (where FluidSynth put another in place of a missing one,
    // that one); with no preset, the bank and program selected.
    int bank = 0;
    int program = 0;
    std::string presetName; // empty when the channel has no preset
    // The channel's offsets of the generators ShapingGenerators lists, in its order.
    std::vector<float> shaping;
};

// FluidSynth 2.3 has no call that reads a channel's type; it is found by how the channel
// takes a program change (a drum channel looks in bank 128), after which the program is
// selected again as it was (a melodic channel playing a preset of bank 128 would pass for
// a drum channel; the module layer never selects one). So this changes nothing, but must
// not run while another
// thread renders or sends to the synthesiser.
ChannelReport QueryChannel(fluid_synth_t *synth, int channel);

} // namespace mci
