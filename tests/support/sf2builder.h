#pragma once
// Small SoundFonts for tests, built byte by byte, holding exactly the presets a test needs.
// Every melodic preset plays one looped sine tone (441 Hz at key 69) and every preset of
// bank 128 one burst of noise, so a render tells a drum kit from a voice by its zero
// crossings.

#include <string>
#include <vector>

namespace testing_support {

struct Sf2Preset
{
    int bank = 0;
    int program = 0;
};

// The SoundFont file's bytes. Each preset is named "bank:program".
std::string MakeSf2(const std::vector<Sf2Preset> &presets);

// Presets bank 0 programs 0-127 and the kits of bank 128 listed.
std::vector<Sf2Preset> GmPresets(const std::vector<int> &kits = {0});

} // namespace testing_support
