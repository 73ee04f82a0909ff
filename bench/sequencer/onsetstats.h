#pragma once
// How far the rendered notes of a test song start from their exact times.

#include "testsongs.h"

#include <cstdint>
#include <vector>

namespace bench {

struct OnsetStats
{
    int notes = 0;
    int missed = 0;           // notes with no onset found near their time
    std::int64_t largest = 0; // largest |error|, in samples
    std::int64_t lowest = 0;  // the errors range from lowest to highest (signed)
    std::int64_t highest = 0;
    double mean = 0;        // mean |error|
    std::int64_t first = 0; // error of the first and the last measured note
    std::int64_t last = 0;
};

// The onset threshold for a rendering: a tenth of its loudest sample.
float OnsetThreshold(const std::vector<float> &mono);

// Compares the onsets found in mono (a rendering of song from its first sample) with the
// song's exact note times; attack is how far into a note its sound crosses the threshold.
OnsetStats MeasureOnsets(const std::vector<float> &mono, const TestSong &song, int sampleRate,
                         std::int64_t attack);

} // namespace bench
