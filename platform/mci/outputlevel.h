#pragma once
// The FluidSynth output's level: a base gain chosen by measuring (bench/module prints the
// figures: with FluidR3_GM, reverb and chorus on, FluidSynth's own default gain of 0.2 puts
// the median song at -12 dBFS, solo piano near -16 and a dense orchestral file near -3;
// 0.4 puts the median song near -6 dBFS, and the output's peak limiter keeps the loud
// files from clipping), the user's Gain in midimap.ini in decibels, and the volume the
// desktop sets (MPRIS), 0 to 1 in amplitude. A song's master volume SysEx scales it
// further (see ModuleLayer).

#include <string>

namespace mci {

constexpr double kBaseGain = 0.4;
constexpr double kMinGainDb = -40.0;
constexpr double kMaxGainDb = 20.0;

// FluidSynth's gain for gainDb (clamped to kMinGainDb..kMaxGainDb) and volume (clamped to
// 0..1).
double OutputGain(double gainDb, double volume);

// The Gain setting in decibels ("-3", "+2.5"); 0 when empty or not a number, clamped to
// kMinGainDb..kMaxGainDb.
double ParseGainDb(const std::string &text);

// The Volume setting, a percentage ("80", "72.5"): 0 to 1; 1 when empty or not a number.
double ParseVolume(const std::string &text);
// volume (0 to 1) as a percentage to one decimal place, without trailing zeros ("72.5").
std::string FormatVolume(double volume);

} // namespace mci
