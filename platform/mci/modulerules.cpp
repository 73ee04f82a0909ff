#include "platform/mci/modulerules.h"

#include <initializer_list>

namespace mci {

namespace {

constexpr int kXgSfxVoice = 64;
constexpr int kXgSfxKit = 126;
constexpr int kXgDrumKit = 127;
constexpr int kGm2DrumBank = 120;
constexpr int kGm2MelodicBank = 121;
constexpr int kSfxKit = 56;
constexpr int kFirstGmEffect = 120;

struct Candidate
{
    int bank;
    int program;
};

// The first candidate the SoundFont has; else the first preset of the last candidate's
// bank; else the last candidate as it is.
Voice FirstPresent(bool drum, std::initializer_list<Candidate> candidates,
                   const PresetCatalogue &presets)
{
    Candidate last{0, 0};
    for (const Candidate &c : candidates) {
        if (presets.Has(c.bank, c.program))
            return Voice{drum, c.bank, c.program};
        last = c;
    }
    for (int program = 0; program < 128; ++program)
        if (presets.Has(last.bank, program))
            return Voice{drum, last.bank, program};
    return Voice{drum, last.bank, last.program};
}

// XG's SFX voices come in eight groups of sixteen programs (noises, key clicks, nature,
// animals, telephones and doors, vehicles, people, weapons), in the order of the eight GM
// sound effects (Guitar Fret Noise to Gunshot); each group falls back to its GM effect.
int GmEffectFor(int sfxProgram)
{
    return kFirstGmEffect + sfxProgram / 16;
}

Voice ChooseXg(const PartSelection &part, const PresetCatalogue &presets)
{
    const int p = part.program;
    if (part.drum) {
        if (part.msb == kXgSfxKit)
            return FirstPresent(true, {{kDrumBank, kSfxKit}, {kDrumBank, 0}}, presets);
        return FirstPresent(true, {{kDrumBank, p}, {kDrumBank, 0}}, presets);
    }
    if (part.msb == kXgSfxVoice)
        return FirstPresent(false, {{kXgSfxVoice, p}, {0, GmEffectFor(p)}}, presets);
    return FirstPresent(false, {{part.lsb, p}, {0, p}}, presets);
}

} // namespace

bool DrumByBank(ModuleMode mode, const PartSelection &part)
{
    switch (mode) {
    case ModuleMode::xg:
        return part.msb == kXgDrumKit || part.msb == kXgSfxKit;
    case ModuleMode::gm2:
        return part.msb == kGm2DrumBank;
    case ModuleMode::gm:
    case ModuleMode::gs:
        break;
    }
    return part.drum;
}

Voice ChooseVoice(ModuleMode mode, const PartSelection &part, const PresetCatalogue &presets)
{
    const int p = part.program;
    if (mode == ModuleMode::xg)
        return ChooseXg(part, presets);
    if (part.drum)
        return FirstPresent(true, {{kDrumBank, p}, {kDrumBank, 0}}, presets);
    switch (mode) {
    case ModuleMode::gs:
        return FirstPresent(false, {{part.msb, p}, {0, p}}, presets);
    case ModuleMode::gm2:
        if (part.msb == kGm2MelodicBank)
            return FirstPresent(false, {{part.lsb, p}, {0, p}}, presets);
        break;
    case ModuleMode::gm:
    case ModuleMode::xg:
        break;
    }
    return FirstPresent(false, {{0, p}}, presets);
}

} // namespace mci
