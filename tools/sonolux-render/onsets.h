#pragma once
// Finds where notes start in rendered audio, to measure how exactly they were placed.

#include <cstdint>
#include <vector>

namespace render {

// The sample indices where the sound's magnitude reaches threshold after staying below it
// for more than quietFrames samples (the first loud sample counts from the start).
std::vector<std::int64_t> DetectOnsets(const std::vector<float> &samples, float threshold,
                                       std::int64_t quietFrames);

// The largest magnitude in samples.
float Peak(const std::vector<float> &samples);

} // namespace render
