#pragma once
// How loud songs play through the device with FluidR3_GM, reverb and chorus on: the peak
// of each song before (FluidSynth's own default gain, 0.2, and no limiter), at the device's
// base gain without the limiter (worked out, since FluidSynth is linear in its gain) and as
// the device plays it now (base gain and limiter, no Gain, full volume).

#include <string>
#include <vector>

namespace bench {

struct LoudnessRow
{
    std::string name;
    double seconds = 0;
    double peakBeforeDb = 0; // dBFS; -inf for a silent song
    double peakUnlimitedDb = 0;
    double peakAfterDb = 0;
    bool music = false; // a song rather than a test of one message
};

// The song files (.mid, .rmi) under folder and its subfolders, sorted.
std::vector<std::string> SongFilesUnder(const std::string &folder);

// Renders the song twice. False (nothing measured) when the device cannot open it.
bool MeasureLoudness(const std::string &path, const std::string &soundFont, LoudnessRow &row);

struct LoudnessSummary
{
    double medianMusicBeforeDb = 0; // the median peak of the songs, at FluidSynth's gain
    double medianMusicDb = 0;       // and at the device's level
    double loudestDb = 0;           // the loudest peak of any song
    int clippingBefore = 0;         // files that reach 0 dBFS before
    int clipping = 0;               // and as the device plays them now
    int limited = 0;                // files the limiter turns down now
    // The base gain that would put the median song's peak at -6 dBFS.
    double gainForMinus6 = 0;
};

// Prints one line per song and the summary.
LoudnessSummary PrintLoudness(const std::vector<LoudnessRow> &rows);

} // namespace bench
