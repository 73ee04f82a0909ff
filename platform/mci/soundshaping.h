#pragma once
// The sound-shaping controls of GS and XG modules in SoundFont terms: the part NRPNs that
// FluidSynth can express as generator offsets, and portamento time as the modules glide.

#include <array>
#include <vector>

namespace mci {

// A SoundFont generator (fluid_gen_type) and the offset to add to it, in its own unit
// (cents, timecents, centibels).
struct GeneratorOffset
{
    int generator = 0;
    float amount = 0;
};

// The offsets for the GS/XG part NRPN (msb, lsb) set to data entry `value` (40H is no
// change): vibrato rate (01 08), depth (01 09) and delay (01 0A); filter cutoff (01 20)
// and resonance (01 21); envelope attack (01 63), decay (01 64) and release (01 66),
// which move the volume and the modulation envelope together as the modules' TVF and TVA
// envelopes do. Empty for any other parameter (the drum instrument NRPNs 18-1F rr, which
// would need offsets per key, among them).
//
// The modules give these as -64..+63 steps without units; a step here is 25 cents of
// vibrato rate, 20 timecents of vibrato delay, 40 cents of cutoff, 2 centibels of
// resonance and 30 timecents of envelope time, so that the whole range spans about what a
// module's does. Vibrato depth only adds to the preset's own vibrato (at most 50 cents);
// it cannot take away a depth the SoundFont gives.
std::vector<GeneratorOffset> NrpnOffsets(int msb, int lsb, int value);

// The generators NrpnOffsets can touch, to clear them on a reset.
std::array<int, 11> ShapingGenerators();

// How long, in milliseconds, a module glides over `semitones` (either direction) at
// portamento time `time` (CC 5, 0 fastest): the modules glide at a rate, from about 10 ms
// an octave at 0 to about 5 s an octave at 127, doubling every 14 steps. At most 16383,
// the longest FluidSynth takes.
int GlideMs(int time, int semitones);

} // namespace mci
