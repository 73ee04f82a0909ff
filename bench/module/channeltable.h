#pragma once
// What each part of a module song plays: on FluidSynth 2.3 alone, as the device sent songs
// to it before the module layer (its own SysEx handling and bank-select mode, all ports on
// 16 channels), and through the module layer, each asked of FluidSynth itself; against
// what the module plays.

#include "benchsongs.h"

#include "platform/mci/channelquery.h"

#include <fluidsynth.h>

#include <string>
#include <vector>

namespace bench {

// FluidSynth with its default settings and the SoundFont loaded, fed a song's messages as
// they are.
class PlainSynth
{
public:
    // Throws std::runtime_error when the SoundFont cannot be loaded.
    explicit PlainSynth(const std::string &soundFont);
    ~PlainSynth();
    PlainSynth(const PlainSynth &) = delete;
    PlainSynth &operator=(const PlainSynth &) = delete;

    // Resets the synthesiser and sends it every message of the song but its notes.
    void Play(const std::string &smf);
    mci::ChannelReport Query(int channel) const;
    // Whether the SoundFont has the preset.
    bool Has(int bank, int program) const;

private:
    void Release();

    fluid_settings_t *settings_ = nullptr;
    fluid_synth_t *synth_ = nullptr;
    int sfontId_ = -1;
};

struct PartRow
{
    ExpectedPart expected;
    mci::ChannelReport before; // FluidSynth alone
    mci::ChannelReport after;  // through the module layer
};

// Plays each song on plain and through the module layer (with soundFont, the song written
// into folder) and reads every part it sets. Throws what the device throws.
std::vector<std::pair<std::string, std::vector<PartRow>>>
QueryModuleSongs(const std::vector<ModuleSong> &songs, PlainSynth &plain,
                 const std::string &soundFont, const std::string &folder);

// Prints the table (synth tells which presets the SoundFont has); returns how many parts
// play what the module plays, {FluidSynth alone, through the layer}.
std::pair<int, int>
PrintPartTable(const std::vector<std::pair<std::string, std::vector<PartRow>>> &songs,
               const PlainSynth &synth);

} // namespace bench
