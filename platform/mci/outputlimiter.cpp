#include "platform/mci/outputlimiter.h"

#include <algorithm>
#include <cmath>

namespace mci {

PeakLimiter::PeakLimiter(int sampleRate)
    : release_(static_cast<float>(std::exp(-1.0 / (kReleaseSeconds * sampleRate))))
{
}

void PeakLimiter::Process(float *left, float *right, int frames)
{
    for (int i = 0; i < frames; ++i) {
        const float peak = std::max(std::fabs(left[i]), std::fabs(right[i]));
        envelope_ = std::max(envelope_ * release_, peak); // a NaN peak leaves it as it was
        if (envelope_ <= kThreshold)
            continue;
        const float gain = kThreshold / envelope_;
        left[i] *= gain;
        right[i] *= gain;
        deepest_ = std::min(deepest_, gain);
    }
}

double PeakLimiter::DeepestReductionDb() const
{
    return -20.0 * std::log10(static_cast<double>(deepest_));
}

} // namespace mci
