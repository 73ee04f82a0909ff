#pragma once
// The outputs offered on the settings window's Output page, and how a choice becomes the
// sequencer device's "midimap.ini".

#include "platform/mci/outputconfig.h"

#include <string>
#include <vector>

// The index of the choice config stands for, or -1 when none does. Device names match
// without regard to letter case, no device meaning FluidSynth; FluidSynth choices match on
// their SoundFont (no SoundFont meaning the default one, which is the first FluidSynth
// choice), ALSA choices on their port; the audio driver is not compared.
int FindOutputChoice(const std::vector<mci::OutputChoice> &choices,
                     const mci::OutputConfig &config);

// What choosing choice writes when current is in the file: the choice's device, port and
// SoundFont, with current's audio driver kept (it was set by hand and concerns no choice).
// The result also carries current's Gain and Loops, which choosing an output leaves in the
// file, so it stands for the whole file after the choice.
mci::OutputConfig ChosenOutput(const mci::OutputChoice &choice, const mci::OutputConfig &current);

// A line naming config for the list when it is not among the choices, for example a sound
// module that is switched off.
std::string DescribeUnavailableOutput(const mci::OutputConfig &config);
