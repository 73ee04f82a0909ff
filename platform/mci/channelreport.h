#pragma once
// What a FluidSynth channel holds, as the device reports it to tests and measurements that
// check what the module layer selected (see FluidOutput::Query).

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

} // namespace mci
