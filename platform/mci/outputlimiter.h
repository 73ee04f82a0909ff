#pragma once
// The FluidSynth output's peak limiter: keeps the stereo signal at or below -1 dBFS, so that
// a hot passage (a SoundFont's loud sawtooth leads in a full-velocity chord, a dense
// orchestral tutti) is turned down for a moment instead of clipping at the sound card.
// The gain falls at once to what the loudest sample of the two channels allows and
// recovers over about a quarter of a second; a signal that stays below the threshold
// passes unchanged, sample for sample. There is no look-ahead, so no delay: the first
// half-wave over the threshold is flattened, later ones are scaled as a whole.

#include <cstdint>

namespace mci {

class PeakLimiter
{
public:
    static constexpr float kThreshold = 0.891251f; // -1 dBFS
    static constexpr double kReleaseSeconds = 0.25;

    explicit PeakLimiter(int sampleRate);

    // Limits frames of left and right in place.
    void Process(float *left, float *right, int frames);

    // The largest gain reduction so far, in decibels (0 when the signal never reached the
    // threshold).
    double DeepestReductionDb() const;

private:
    float release_;      // the envelope's fall per sample
    float envelope_ = 0; // the peak the gain is set for
    float deepest_ = 1;  // the smallest gain applied
};

} // namespace mci
