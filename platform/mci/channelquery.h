#pragma once
// Asks FluidSynth itself what a channel holds.

#include "platform/mci/channelreport.h"

#include <fluidsynth.h>

namespace mci {

// FluidSynth 2.3 has no call that reads a channel's type; it is found by how the channel
// takes a program change (a drum channel looks in bank 128), after which the program is
// selected again as it was (a melodic channel playing a preset of bank 128 would pass for
// a drum channel; the module layer never selects one). So this changes nothing, but must
// not run while another
// thread renders or sends to the synthesiser.
ChannelReport QueryChannel(fluid_synth_t *synth, int channel);

} // namespace mci
