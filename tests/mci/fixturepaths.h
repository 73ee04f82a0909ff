#pragma once
// Paths of the shared test data.

#include <string>

namespace fixtures {

inline std::string Path(const std::string &relative)
{
    return std::string(SONOLUX_FIXTURES_DIR) + "/" + relative;
}

// FluidSynth's own small test SoundFont; key 37 of its drum kit is a short click that
// starts 74 samples into the note and dies away within 30 ms.
inline std::string SoundFont()
{
    return Path("soundfonts/VintageDreamsWaves-v2.sf2");
}

} // namespace fixtures
