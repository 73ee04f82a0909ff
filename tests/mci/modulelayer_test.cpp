// The module layer on the offline FluidSynth output, with a SoundFont built for the test:
// songs with the SysEx and bank messages of GM, GS and XG modules, and what FluidSynth
// itself then holds on each channel.
#include "platform/mci/fluidoutput.h"
#include "platform/mci/mediaplayer.h"
#include "platform/mci/outputlevel.h"
#include "platform/mci/outputlimiter.h"
#include "platform/mci/smfwriter.h"
#include "platform/mci/soundshaping.h"

#include "rendertool.h"
#include "tools/sonolux-render/offlinerender.h"
#include "tools/sonolux-render/onsets.h"
#include "tools/sonolux-render/wavfile.h"

#include "songs.h"
#include "support/modulesongs.h"
#include "support/sf2builder.h"
#include "support/tempfolder.h"

#include <fluidsynth.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using mci::ModuleMode;
using namespace modulesongs;
using namespace songs;

constexpr int kRate = 44100;

struct Held
{
    bool drum;
    int bank;
    int program;
    bool operator==(const Held &o) const
    {
        return drum == o.drum && bank == o.bank && program == o.program;
    }
};

std::ostream &operator<<(std::ostream &os, const Held &h)
{
    return os << (h.drum ? "kit " : "voice ") << h.bank << ":" << h.program;
}

// Presets of bank 0, variation 8:4, XG variation 3:6 and the kits 0, 25 and 56.
std::vector<testing_support::Sf2Preset> TestPresets()
{
    std::vector<testing_support::Sf2Preset> presets = testing_support::GmPresets({0, 25, 56});
    presets.push_back({8, 4});
    presets.push_back({3, 6});
    return presets;
}

class ModuleLayerTest : public testing::Test
{
protected:
    explicit ModuleLayerTest(const std::vector<testing_support::Sf2Preset> &presets = TestPresets())
        : soundFont_(folder_.Write("test.sf2", testing_support::MakeSf2(presets)))
    {
        mci::FluidOutput::Options options;
        options.soundFont = soundFont_;
        options.sampleRate = kRate;
        options.offline = true;
        options.reverb = false;
        options.chorus = false;
        output_ = std::make_shared<mci::FluidOutput>(options);
        player_ = std::make_unique<mci::TMediaPlayer>(output_);
    }

    // Plays the file to its end (and the rendering it takes); returns the left channel.
    std::vector<float> PlayFile(const std::string &path)
    {
        player_->SetFileName(path);
        player_->Open();
        player_->Play();
        std::vector<float> audio;
        std::vector<float> left(4096), right(4096);
        while (player_->Mode() == mci::mpPlaying) {
            output_->Render(left.data(), right.data(), static_cast<int>(left.size()));
            audio.insert(audio.end(), left.begin(), left.end());
        }
        return audio;
    }
    std::vector<float> Play(const mci::SmfWriter &song)
    {
        return PlayFile(folder_.Write("song.mid", song.Bytes()));
    }

    Held At(int channel, int port = 0) const
    {
        const mci::ChannelReport report = output_->Query(port, channel);
        return Held{report.drum, report.bank, report.program};
    }

    testing_support::TempFolder folder_;
    std::string soundFont_;
    std::shared_ptr<mci::FluidOutput> output_;
    std::unique_ptr<mci::TMediaPlayer> player_;
};

// Catches GS songs with device ID 10H playing as GM (FluidSynth's own SysEx handling):
// rhythm parts beyond part 10 heard as piano, variations not selected or not falling back,
// the map (LSB) taken for a bank, missing kits left silent.
TEST_F(ModuleLayerTest, GsRhythmPartsVariationsAndFallbacks)
{
    mci::SmfWriter w(96, 0);
    w.Event(0, GsReset()).Event(1, GsRhythmPart(10, 2)).Event(1, GsRhythmPart(3, 1));
    w.Event(2, Control(0, 0, 8)).Event(2, Control(0, 32, 3)).Event(2, Program(0, 4));
    w.Event(2, Control(1, 0, 16)).Event(2, Program(1, 4));
    w.Event(2, Program(10, 25)).Event(2, Program(9, 26));
    w.Event(2, Control(9, 0, 8)).Event(3, Program(2, 5));
    w.EndAt(10);
    Play(w);

    EXPECT_EQ(output_->Mode(), ModuleMode::gs);
    EXPECT_EQ(At(0), (Held{false, 8, 4}));
    EXPECT_EQ(At(1), (Held{false, 0, 4}));
    EXPECT_EQ(At(2), (Held{true, 128, 0}));   // part 3 made a rhythm part, program 5: kit 0
    EXPECT_EQ(At(10), (Held{true, 128, 25})); // part 11
    EXPECT_EQ(At(9), (Held{true, 128, 0}));   // kit 26 is not there
    EXPECT_EQ(At(3), (Held{false, 0, 0}));
}

// Catches XG songs' kits on channels other than 10 played as pianos, SFX banks silent, a
// normal voice refused on channel 10, or part mode ignored.
TEST_F(ModuleLayerTest, XgKitsSfxAndPartMode)
{
    mci::SmfWriter w(96, 0);
    w.Event(0, XgOn()).Event(1, XgPartMode(7, 2));
    w.Event(2, Control(3, 0, 127)).Event(2, Program(3, 25));
    w.Event(2, Control(9, 0, 0)).Event(2, Program(9, 5));
    w.Event(2, Control(4, 0, 126)).Event(2, Program(4, 0));
    w.Event(2, Control(5, 0, 64)).Event(2, Program(5, 33));
    w.Event(2, Control(6, 0, 0)).Event(2, Control(6, 32, 3)).Event(2, Program(6, 6));
    w.Event(2, Control(8, 32, 9)).Event(2, Program(8, 6));
    w.EndAt(10);
    Play(w);

    EXPECT_EQ(output_->Mode(), ModuleMode::xg);
    EXPECT_EQ(At(3), (Held{true, 128, 25}));
    EXPECT_EQ(At(9), (Held{false, 0, 5}));
    EXPECT_EQ(At(4), (Held{true, 128, 56}));
    EXPECT_EQ(At(5), (Held{false, 0, 122})); // no SFX voice bank: the GM effect of its group
    EXPECT_EQ(At(6), (Held{false, 3, 6}));
    EXPECT_EQ(At(8), (Held{false, 0, 6}));
    EXPECT_EQ(At(7), (Held{true, 128, 0}));
}

// Catches a bank-select mode that sticks (FluidSynth reads its own once): after GM System
// On, a GS or XG reset must bring bank select back, and each reset must reset the drums.
TEST_F(ModuleLayerTest, EveryResetSetsTheRulesAgain)
{
    mci::SmfWriter w(96, 0);
    w.Event(0, GmOn()).Event(1, Control(0, 0, 8)).Event(1, Program(0, 4));
    w.Event(1, Control(3, 0, 127)).Event(1, Program(3, 1));
    w.EndAt(2);
    Play(w);
    EXPECT_EQ(output_->Mode(), ModuleMode::gm);
    EXPECT_EQ(At(0), (Held{false, 0, 4}));
    EXPECT_EQ(At(3), (Held{false, 0, 1}));
    EXPECT_EQ(At(9), (Held{true, 128, 0}));

    mci::SmfWriter xg(96, 0);
    xg.Event(0, XgOn(0x1F)).Event(1, Control(3, 0, 127)).Event(1, Program(3, 25));
    xg.Event(1, Control(0, 32, 3)).Event(1, Program(0, 6)).EndAt(2);
    Play(xg);
    EXPECT_EQ(At(3), (Held{true, 128, 25}));
    EXPECT_EQ(At(0), (Held{false, 3, 6}));

    mci::SmfWriter gs(96, 0);
    gs.Event(0, GsReset(0x7F)).Event(1, Control(0, 0, 8)).Event(1, Program(0, 4)).EndAt(2);
    Play(gs);
    EXPECT_EQ(output_->Mode(), ModuleMode::gs);
    EXPECT_EQ(At(0), (Held{false, 8, 4}));
    EXPECT_EQ(At(3), (Held{false, 0, 0}));
    EXPECT_EQ(At(9), (Held{true, 128, 0}));
}

// Catches port B's programs taking over port A's parts (all ports merged onto 16
// channels), or SysEx for port B's parts reaching port A.
TEST_F(ModuleLayerTest, PortBPartsAreTheirOwn)
{
    mci::SmfWriter w(96, 1);
    w.Event(0, GsReset()).Event(1, Program(0, 10)).EndAt(4);
    w.Track().Meta(0, 0x21, std::string(1, '\x01'));
    w.Event(1, Program(0, 40)).Event(1, GsRhythmPart(2, 1, true));
    w.Event(1, GsRhythmPart(1, 0)); // block 40 from port B: port B's part 1
    w.Event(2, Program(1, 25)).EndAt(4);
    Play(w);

    EXPECT_EQ(At(0, 0), (Held{false, 0, 10}));
    EXPECT_EQ(At(0, 1), (Held{false, 0, 40}));
    EXPECT_EQ(At(1, 0), (Held{false, 0, 0}));
    EXPECT_EQ(At(1, 1), (Held{true, 128, 25}));
    EXPECT_EQ(At(9, 1), (Held{true, 128, 0}));
}

// Catches master volume SysEx ignored (a fade written into the song lost) or left in
// force after the next reset, and the user's level not reaching the output.
TEST_F(ModuleLayerTest, MasterVolumeScalesTheOutput)
{
    const double full = mci::OutputGain(0, 1);
    mci::SmfWriter w(96, 0);
    w.Event(0, GmMasterVolume(0x2000)).EndAt(1);
    Play(w);
    EXPECT_NEAR(output_->Gain(), full * 0.25, full * 0.01);

    mci::SmfWriter gs(96, 0);
    gs.Event(0, GsReset()).Event(1, Roland(0x10, 0x40, 0x00, 0x04, {0})).EndAt(2);
    Play(gs);
    EXPECT_EQ(output_->Gain(), 0.0);

    mci::SmfWriter xg(96, 0);
    xg.Event(0, Yamaha(0x10, 0x00, 0x00, 0x04, {127})).EndAt(1);
    Play(xg);
    EXPECT_NEAR(output_->Gain(), full, full * 0.01);

    output_->SetLevel(-6.0206, 0.5);
    EXPECT_NEAR(output_->Gain(), full / 4, full * 0.001);
    player_->SetVolume(0.25); // the desktop's volume reaches the output at once
    EXPECT_NEAR(output_->Gain(), full / 4, full * 0.001);
}

// Catches part NRPNs ignored, honoured in GM mode, lost at Reset All Controllers (which
// FluidSynth clears and a module keeps) or kept past a reset.
TEST_F(ModuleLayerTest, PartNrpnsShapeTheSound)
{
    const auto nrpn = [](mci::SmfWriter &w, std::int64_t tick, int channel, int lsb, int value) {
        w.Event(tick, Control(channel, 99, 1)).Event(tick, Control(channel, 98, lsb));
        w.Event(tick, Control(channel, 6, value));
    };
    mci::SmfWriter w(96, 0);
    w.Event(0, XgOn());
    nrpn(w, 1, 2, 0x20, 0x30);
    nrpn(w, 1, 2, 0x66, 0x50);
    w.Event(2, Control(2, 121, 0)).EndAt(3);
    Play(w);
    std::vector<float> shaping = output_->Query(0, 2).shaping;
    const auto gen = [&](int generator) {
        const auto generators = mci::ShapingGenerators();
        return shaping[static_cast<std::size_t>(
            std::find(generators.begin(), generators.end(), generator) - generators.begin())];
    };
    EXPECT_FLOAT_EQ(gen(GEN_FILTERFC), -640.0f);
    EXPECT_FLOAT_EQ(gen(GEN_VOLENVRELEASE), 480.0f);
    EXPECT_FLOAT_EQ(gen(GEN_MODENVRELEASE), 480.0f);

    mci::SmfWriter gm(96, 0);
    gm.Event(0, GmOn());
    nrpn(gm, 1, 2, 0x20, 0x30);
    gm.EndAt(2);
    Play(gm);
    shaping = output_->Query(0, 2).shaping;
    EXPECT_FLOAT_EQ(gen(GEN_FILTERFC), 0.0f);
    EXPECT_FLOAT_EQ(gen(GEN_VOLENVRELEASE), 0.0f);
}

// Zero crossings per second of audio from `from` for `frames`: twice the frequency of a
// sine.
double Crossings(const std::vector<float> &audio, std::size_t from, std::size_t frames)
{
    int count = 0;
    for (std::size_t i = from + 1; i < from + frames && i < audio.size(); ++i)
        if ((audio[i - 1] < 0) != (audio[i] < 0))
            ++count;
    return count * static_cast<double>(kRate) / static_cast<double>(frames);
}

// Catches portamento time taken as FluidSynth's raw milliseconds (CC 5 = 40 would glide
// 5 s), no glide at all, or a glide where portamento is off.
TEST_F(ModuleLayerTest, PortamentoGlidesAtTheModulesRate)
{
    // A tick a millisecond: a note at key 57 (220 Hz), then at 0.5 s key 69 (441 Hz) with
    // portamento on at time 40: about 70 ms over the octave.
    const auto song = [](bool portamento) {
        mci::SmfWriter w(500, 0);
        w.Tempo(0, 500000).Event(0, GsReset()).Event(1, Control(0, 5, 40));
        w.Event(1, Control(0, 65, portamento ? 127 : 0));
        w.Event(10, NoteOn(0, 57)).Event(400, NoteOffMsg(0, 57));
        w.Event(500, NoteOn(0, 69)).Event(1000, NoteOffMsg(0, 69)).EndAt(1000);
        return w;
    };
    const std::size_t second = kRate / 2; // where the second note starts
    const std::vector<float> glide = Play(song(true));
    // The first 20 ms lie well below 441 Hz, and by 150 ms the note is there.
    EXPECT_LT(Crossings(glide, second + 64, kRate / 50), 2 * 380.0);
    EXPECT_NEAR(Crossings(glide, second + kRate * 15 / 100, kRate / 10), 2 * 441.0, 20);
    const std::vector<float> plain = Play(song(false));
    EXPECT_NEAR(Crossings(plain, second + 64, kRate / 50), 2 * 441.0, 60);
}

// The reset files the program ships, as data/ makes them beside the program.
std::string ResetFile(const std::string &name)
{
    return std::string(SONOLUX_DIST_DIR) + "/format/" + name;
}

// Catches a shipped reset file that does not switch the mode (device ID 10H ignored), or
// a mode that one song leaves to the next when the reset file before it says otherwise.
TEST_F(ModuleLayerTest, ShippedResetFilesSetTheModeForTheSong)
{
    mci::SmfWriter song(96, 0);
    song.Event(0, Control(3, 0, 127)).Event(0, Program(3, 25)).EndAt(2);
    const std::string path = folder_.Write("nosysex.mid", song.Bytes());

    PlayFile(ResetFile("XG.MID"));
    EXPECT_EQ(output_->Mode(), ModuleMode::xg);
    PlayFile(path);
    EXPECT_EQ(At(3), (Held{true, 128, 25}));

    PlayFile(ResetFile("GS.MID"));
    EXPECT_EQ(output_->Mode(), ModuleMode::gs);
    EXPECT_EQ(At(3), (Held{false, 0, 0}));
    PlayFile(path);
    EXPECT_EQ(At(3), (Held{false, 0, 25})); // GS: bank 127 is a variation, which falls back

    PlayFile(ResetFile("GM.MID"));
    EXPECT_EQ(output_->Mode(), ModuleMode::gm);
    EXPECT_EQ(At(9), (Held{true, 128, 0}));
}

// A song at one tick a millisecond: after `setup`, key 69 on drumChannel from 100 to
// 300 ms, then on voiceChannel from 500 to 800 ms.
mci::SmfWriter KitAndVoiceSong(const std::vector<mci::MidiMessage> &setup, int drumChannel,
                               int voiceChannel)
{
    mci::SmfWriter w(500, 0);
    w.Tempo(0, 500000);
    for (const mci::MidiMessage &message : setup)
        w.Event(0, message);
    w.Event(100, NoteOn(drumChannel, 69)).Event(300, NoteOffMsg(drumChannel, 69));
    w.Event(500, NoteOn(voiceChannel, 69)).Event(800, NoteOffMsg(voiceChannel, 69));
    w.EndAt(900);
    return w;
}

// Catches the render tool playing a GS rhythm part or an XG kit outside channel 10 as a
// voice, or XG's channel 10 with a normal voice as drums: the test SoundFont's kits are
// noise (crossing zero about every other sample), its voices a 441 Hz tone.
TEST_F(ModuleLayerTest, RenderToolGivesDrumsWhereTheSongAsksForAKit)
{
    const std::vector<std::pair<std::string, mci::SmfWriter>> cases = {
        {"gs", KitAndVoiceSong({GsReset(), GsRhythmPart(10, 1), Program(10, 0)}, 10, 0)},
        {"xg",
         KitAndVoiceSong(
             {XgOn(), Control(3, 0, 127), Program(3, 25), Control(9, 0, 0), Program(9, 0)}, 3, 9)},
    };
    for (const auto &[name, song] : cases) {
        const std::string midi = folder_.Write(name + ".mid", song.Bytes());
        const std::string wav = folder_ / (name + ".wav");
        const rendertool::ToolRun run =
            rendertool::Run(folder_, "-s '" + soundFont_ + "' --no-reverb --no-chorus '" + midi +
                                         "' '" + wav + "'");
        ASSERT_EQ(run.exitCode, 0) << run.errors;
        const std::vector<float> mono = render::MixToMono(render::ReadWav(wav));
        EXPECT_GT(Crossings(mono, kRate * 11 / 100, kRate / 20), 10000.0) << name;
        EXPECT_NEAR(Crossings(mono, kRate * 55 / 100, kRate / 5), 2 * 441.0, 20) << name;
    }
}

// Catches midimap.ini's Gain not reaching an offline render, or applied with the wrong
// sign or scale, and a render that clips where the level is too high.
TEST_F(ModuleLayerTest, RenderPlaysAtTheGainAsked)
{
    const std::string midi = folder_.Write("tone.mid", KitAndVoiceSong({}, 9, 0).Bytes());
    render::RenderOptions options;
    options.soundFont = soundFont_;
    options.reverb = false;
    options.chorus = false;
    const float full = render::Peak(render::RenderToMemory(midi, options).left);
    options.gainDb = -6.0206;
    const float half = render::Peak(render::RenderToMemory(midi, options).left);
    ASSERT_GT(full, 0.0f);
    EXPECT_NEAR(half / full, 0.5, 0.01);

    // 20 dB up the tone would clip; the output's limiter holds it at -1 dBFS.
    options.gainDb = 20;
    EXPECT_LE(render::Peak(render::RenderToMemory(midi, options).left),
              mci::PeakLimiter::kThreshold);
    options.limit = false;
    EXPECT_GT(render::Peak(render::RenderToMemory(midi, options).left), 1.0f);
}

} // namespace
