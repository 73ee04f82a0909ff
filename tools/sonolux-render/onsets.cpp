#include "onsets.h"

#include <cmath>

namespace render {

std::vector<std::int64_t> DetectOnsets(const std::vector<float> &samples, float threshold,
                                       std::int64_t quietFrames)
{
    std::vector<std::int64_t> onsets;
    std::int64_t lastLoud = -quietFrames - 1;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::fabs(samples[i]) < threshold)
            continue;
        const auto index = static_cast<std::int64_t>(i);
        if (index - lastLoud > quietFrames)
            onsets.push_back(index);
        lastLoud = index;
    }
    return onsets;
}

float Peak(const std::vector<float> &samples)
{
    float peak = 0;
    for (const float sample : samples)
        peak = std::fmax(peak, std::fabs(sample));
    return peak;
}

} // namespace render
