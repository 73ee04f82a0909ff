#include "platform/mci/soundshaping.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace mci {

namespace {

constexpr int kPartNrpn = 0x01;
constexpr int kCenter = 0x40;

constexpr float kRateCents = 25;
constexpr float kDelayTimecents = 20;
constexpr float kCutoffCents = 40;
constexpr float kResonanceCentibels = 2;
constexpr float kEnvelopeTimecents = 30;
constexpr float kMaxDepthCents = 50;

constexpr double kFastestOctaveMs = 10;
constexpr double kStepsPerDoubling = 14;
constexpr int kLongestGlideMs = 16383;

} // namespace

std::vector<GeneratorOffset> NrpnOffsets(int msb, int lsb, int value)
{
    if (msb != kPartNrpn)
        return {};
    const float steps = static_cast<float>(value - kCenter);
    switch (lsb) {
    case 0x08:
        return {{GEN_VIBLFOFREQ, steps * kRateCents}};
    case 0x09:
        return {{GEN_VIBLFOTOPITCH, std::max(0.0f, steps) * kMaxDepthCents / 63.0f}};
    case 0x0A:
        return {{GEN_VIBLFODELAY, steps * kDelayTimecents}};
    case 0x20:
        return {{GEN_FILTERFC, steps * kCutoffCents}};
    case 0x21:
        return {{GEN_FILTERQ, steps * kResonanceCentibels}};
    case 0x63:
        return {{GEN_VOLENVATTACK, steps * kEnvelopeTimecents},
                {GEN_MODENVATTACK, steps * kEnvelopeTimecents}};
    case 0x64:
        return {{GEN_VOLENVDECAY, steps * kEnvelopeTimecents},
                {GEN_MODENVDECAY, steps * kEnvelopeTimecents}};
    case 0x66:
        return {{GEN_VOLENVRELEASE, steps * kEnvelopeTimecents},
                {GEN_MODENVRELEASE, steps * kEnvelopeTimecents}};
    default:
        return {};
    }
}

std::array<int, 11> ShapingGenerators()
{
    return {
        GEN_VIBLFOFREQ,  GEN_VIBLFOTOPITCH, GEN_VIBLFODELAY,   GEN_FILTERFC,
        GEN_FILTERQ,     GEN_VOLENVATTACK,  GEN_MODENVATTACK,  GEN_VOLENVDECAY,
        GEN_MODENVDECAY, GEN_VOLENVRELEASE, GEN_MODENVRELEASE,
    };
}

int GlideMs(int time, int semitones)
{
    const double octaveMs =
        kFastestOctaveMs * std::pow(2.0, std::clamp(time, 0, 127) / kStepsPerDoubling);
    const double ms = octaveMs * std::abs(semitones) / 12.0;
    return static_cast<int>(std::min<double>(std::lround(ms), kLongestGlideMs));
}

} // namespace mci
