#include "channeltable.h"

#include "platform/files.h"
#include "platform/mci/fluidoutput.h"
#include "platform/mci/mediaplayer.h"
#include "platform/mci/smfparser.h"

#include <cstdio>
#include <stdexcept>

namespace bench {

namespace {

constexpr int kRate = 44100;

void SendPlain(fluid_synth_t *synth, mci::MessageView m)
{
    if (m.IsSysEx()) {
        if (m.size > 2)
            fluid_synth_sysex(synth, reinterpret_cast<const char *>(m.data + 1),
                              static_cast<int>(m.size - 2), nullptr, nullptr, nullptr, 0);
        return;
    }
    const int channel = m.Channel();
    switch (m.Kind()) {
    case 0xB0:
        fluid_synth_cc(synth, channel, m.data[1], m.data[2]);
        break;
    case 0xC0:
        fluid_synth_program_change(synth, channel, m.data[1]);
        break;
    default:
        break;
    }
}

// Plays the song file to its end through the module layer, rendering as it goes.
void PlayThroughLayer(mci::FluidOutput &output, mci::TMediaPlayer &player, const std::string &path)
{
    player.SetFileName(path);
    player.Open();
    player.Play();
    std::vector<float> left(4096), right(4096);
    while (player.Mode() == mci::mpPlaying)
        output.Render(left.data(), right.data(), static_cast<int>(left.size()));
}

bool Same(const ExpectedPart &e, const mci::ChannelReport &r)
{
    return e.drum == r.drum && e.bank == r.bank && e.program == r.program;
}

std::string Describe(const mci::ChannelReport &r)
{
    char text[96];
    std::snprintf(text, sizeof text, "%s %d:%d %s", r.drum ? "kit" : "voice", r.bank, r.program,
                  r.presetName.c_str());
    return text;
}

// How the layer's choice stands against the module's.
const char *Verdict(const PartRow &row, const PlainSynth &synth)
{
    if (Same(row.expected, row.after))
        return "as module";
    if (row.expected.drum != row.after.drum)
        return "WRONG";
    return synth.Has(row.expected.bank, row.expected.program) ? "differs"
                                                              : "fallback (not in SoundFont)";
}

std::string PartName(int port, int channel)
{
    const int part = channel % 16 + 1;
    return std::string(1, static_cast<char>('A' + port % 4)) + (part < 10 ? "0" : "") +
           std::to_string(part);
}

} // namespace

PlainSynth::PlainSynth(const std::string &soundFont)
    : settings_(new_fluid_settings())
{
    fluid_settings_setnum(settings_, "synth.sample-rate", kRate);
    synth_ = new_fluid_synth(settings_);
    if (synth_)
        sfontId_ = fluid_synth_sfload(synth_, soundFont.c_str(), 1);
    if (!synth_ || sfontId_ < 0) {
        Release();
        throw std::runtime_error("FluidSynth cannot load " + soundFont);
    }
}

PlainSynth::~PlainSynth()
{
    Release();
}

void PlainSynth::Release()
{
    if (synth_)
        delete_fluid_synth(synth_);
    if (settings_)
        delete_fluid_settings(settings_);
    synth_ = nullptr;
    settings_ = nullptr;
}

void PlainSynth::Play(const std::string &smf)
{
    fluid_synth_system_reset(synth_);
    const mci::Song song =
        mci::ParseSong(reinterpret_cast<const std::uint8_t *>(smf.data()), smf.size());
    for (const mci::SongEvent &event : song.events)
        SendPlain(synth_, song.Message(event));
}

mci::ChannelReport PlainSynth::Query(int channel) const
{
    return mci::QueryChannel(synth_, channel);
}

bool PlainSynth::Has(int bank, int program) const
{
    fluid_sfont_t *sfont = fluid_synth_get_sfont_by_id(synth_, sfontId_);
    return sfont && fluid_sfont_get_preset(sfont, bank, program) != nullptr;
}

std::vector<std::pair<std::string, std::vector<PartRow>>>
QueryModuleSongs(const std::vector<ModuleSong> &songs, PlainSynth &plain,
                 const std::string &soundFont, const std::string &folder)
{
    mci::FluidOutput::Options options;
    options.soundFont = soundFont;
    options.sampleRate = kRate;
    options.offline = true;
    auto output = std::make_shared<mci::FluidOutput>(options);
    mci::TMediaPlayer player(output);
    std::vector<std::pair<std::string, std::vector<PartRow>>> result;
    for (const ModuleSong &song : songs) {
        const std::string path = folder + "/module.mid";
        platform::WriteFileAtomic(path, song.bytes);
        plain.Play(song.bytes);
        PlayThroughLayer(*output, player, path);
        std::vector<PartRow> rows;
        for (const ExpectedPart &part : song.parts)
            rows.push_back(
                {part, plain.Query(part.channel), output->Query(part.port, part.channel)});
        result.emplace_back(song.name, std::move(rows));
    }
    return result;
}

std::pair<int, int>
PrintPartTable(const std::vector<std::pair<std::string, std::vector<PartRow>>> &songs,
               const PlainSynth &synth)
{
    std::pair<int, int> matches{0, 0};
    for (const auto &[name, rows] : songs) {
        std::printf("  %s\n", name.c_str());
        std::printf("    %-4s %-22s %-38s %-30s %-30s %s\n", "part", "song asks", "module plays",
                    "FluidSynth 2.3 alone", "through the module layer", "layer vs module");
        for (const PartRow &row : rows) {
            const bool before = Same(row.expected, row.before);
            matches.first += before ? 1 : 0;
            matches.second += Same(row.expected, row.after) ? 1 : 0;
            std::printf("    %-4s %-22s %-38s %c %-28s %-30s %s\n",
                        PartName(row.expected.port, row.expected.channel).c_str(),
                        row.expected.asks.c_str(), row.expected.module.c_str(), before ? '=' : 'x',
                        Describe(row.before).substr(0, 28).c_str(),
                        Describe(row.after).substr(0, 30).c_str(), Verdict(row, synth));
        }
    }
    return matches;
}

} // namespace bench
