#pragma once
// Which SoundFont preset a part plays, by the bank and drum rules of the module the song
// was written for. SoundFont presets are numbered (bank, program): melodic banks as the GS
// variation (bank select MSB) or the XG and GM2 variation (LSB), drum kits in bank 128 by
// kit number (0 Standard, 8 Room, 16 Power, 24 Electronic, 25 TR-808, 32 Jazz, 40 Brush,
// 48 Orchestra, 56 SFX), as General MIDI SoundFonts lay them out.

#include "platform/mci/modulesysex.h"

#include <unordered_set>

namespace mci {

constexpr int kDrumBank = 128;

// The presets a SoundFont holds.
class PresetCatalogue
{
public:
    void Add(int bank, int program) { presets_.insert(Key(bank, program)); }
    bool Has(int bank, int program) const { return presets_.count(Key(bank, program)) != 0; }
    bool Empty() const { return presets_.empty(); }

private:
    static int Key(int bank, int program) { return bank * 128 + program; }
    std::unordered_set<int> presets_;
};

// A part's bank select and program as the song last sent them, and whether the part is
// now a drum part.
struct PartSelection
{
    int msb = 0;
    int lsb = 0;
    int program = 0;
    bool drum = false;
};

// What FluidSynth is to play on a part.
struct Voice
{
    bool drum = false;
    int bank = 0;
    int program = 0;
    bool operator==(const Voice &o) const
    {
        return drum == o.drum && bank == o.bank && program == o.program;
    }
};

// Whether a program change makes the part a drum part, by its bank select: in XG MSB 127
// (drum kit) and 126 (SFX kit), in GM2 MSB 120, on any channel; GM and GS keep the part as
// it is (their drum parts are set by channel and by SysEx).
bool DrumByBank(ModuleMode mode, const PartSelection &part);

// The preset for part under mode, falling back as the module does when the SoundFont
// lacks the sound asked for:
//  - GM: bank select is ignored; a drum part plays kit `program`, else kit 0;
//  - GS: MSB picks the variation and LSB (the map) is ignored; a missing variation falls
//    back to the capital tone (bank 0) and a missing kit to kit 0;
//  - XG: MSB 0 (and any MSB without a meaning) with LSB picks a variation, falling back
//    to bank 0; MSB 127 is a drum kit (missing: kit 0); MSB 126 an SFX kit, played with
//    the SoundFont's SFX kit (56) or else kit 0; MSB 64 an SFX voice, played from bank 64
//    when the SoundFont has one there, else with the GM sound effect of its group;
//  - GM2: MSB 120 is a drum kit, MSB 121 with LSB a variation (missing: bank 0).
// When even the fallback is missing, the first preset of bank 0 (or the kit bank) that
// exists is taken, so that a part never falls silent for want of a preset.
Voice ChooseVoice(ModuleMode mode, const PartSelection &part, const PresetCatalogue &presets);

} // namespace mci
