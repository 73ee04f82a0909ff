#include "platform/mci/outputlimiter.h"

#include <algorithm>
#include <cmath>

namespace mci {

PeakLimiter::PeakLimiter(int sampleRate)
    : release_(static_cast<float>(std::exp(-1.0 / (kReleaseSeconds * sampleRate))))
{
}

// The limiter's state is kept in locals while it runs: the sample buffers could alias the
// members as far as the compiler knows, which would make it store them at every sample.
void PeakLimiter::Process(float *left, float *right, int frames)
{
    const float release = release_;
    float envelope = envelope_;
    float deepest = deepest_;
    for (int i = 0; i < frames; ++i) {
        const float peak = std::max(std::fabs(left[i]), std::fabs(right[i]));
        envelope = std::max(envelope * release, peak); // a NaN peak leaves it as it was
        if (envelope <= kThreshold)
            continue;
        const float gain = kThreshold / envelope;
        left[i] *= gain;
        right[i] *= gain;
        deepest = std::min(deepest, gain);
    }
    envelope_ = envelope;
    deepest_ = deepest;
}

double PeakLimiter::DeepestReductionDb() const
{
    return -20.0 * std::log10(static_cast<double>(deepest_));
}

} // namespace mci
