#include "platform/files.h"
#include "platform/mci/mediaplayer.h"
#include "platform/mci/silentoutput.h"
#include "platform/mci/smfparser.h"
#include "support/tempfolder.h"

#include "fixturepaths.h"
#include "rendertool.h"
#include "songs.h"
#include "tools/sonolux-render/offlinerender.h"
#include "tools/sonolux-render/onsets.h"
#include "tools/sonolux-render/wavfile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

using namespace songs;

using rendertool::ToolRun;

// Catches a render whose notes do not start where the tempo map puts them (half a block).
TEST(SonoluxRender, RendersTheSongWithItsNotesInPlace)
{
    testing_support::TempFolder folder;
    // At 48 kHz a tick is 250 samples until the tempo changes. The first note warms the
    // channel up; the second, at sample 8000 (a block start), calibrates the sound's attack.
    mci::SmfWriter w(96, 0);
    w.Event(0, NoteOn(9, 37, 110)).Event(5, NoteOffMsg(9, 37));
    w.Event(32, NoteOn(9, 37, 110)).Event(37, NoteOffMsg(9, 37));
    std::vector<std::int64_t> ticks;
    for (int i = 0; i < 16; ++i) {
        const std::int64_t tick = 64 + i * 61 + (i * i) % 23;
        ticks.push_back(tick);
        w.Event(tick, NoteOn(9, 37, 110)).Event(tick + 5, NoteOffMsg(9, 37));
        if (i == 7)
            w.Tempo(tick, 377777);
    }
    w.EndAt(ticks.back() + 96);
    const std::string song = folder.Write("drums.mid", w.Bytes());
    const std::string wav = folder / "drums.wav";

    const ToolRun run = rendertool::Run(folder, "-s '" + fixtures::SoundFont() +
                                                    "' -r 48000 --no-reverb --no-chorus '" + song +
                                                    "' '" + wav + "'");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const render::WavData data = render::ReadWav(wav);
    EXPECT_EQ(data.sampleRate, 48000);
    EXPECT_EQ(data.channels, 2);
    const std::vector<float> mono = render::MixToMono(data);
    const std::vector<std::int64_t> onsets =
        render::DetectOnsets(mono, 0.1f * render::Peak(mono), 48000 / 20);
    ASSERT_EQ(onsets.size(), ticks.size() + 2);
    const std::int64_t attack = onsets[1] - 8000;

    const std::string bytes = w.Bytes();
    const mci::Song parsed =
        mci::ParseSong(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const std::int64_t exact = parsed.tempo.TickToSample(ticks[i], 48000);
        // Half a block, and a little for the threshold crossing (16-bit rounding, voices
        // that keep a trace of their last note).
        EXPECT_LE(std::llabs(onsets[i + 2] - attack - exact), 32 + 3) << "note " << i;
    }
    // The file holds the song and the sound dying away after it, not minutes of silence.
    const std::int64_t songFrames = parsed.tempo.TickToSample(parsed.lengthTicks, 48000);
    EXPECT_GE(static_cast<std::int64_t>(mono.size()), songFrames);
    EXPECT_LE(static_cast<std::int64_t>(mono.size()), songFrames + 48000);
}

// Catches a bad file rendered into an empty WAV, or reported otherwise than by the device.
TEST(SonoluxRender, ABadFileGivesTheDevicesMessageAndNoOutput)
{
    testing_support::TempFolder folder;
    const std::string bad = folder.Write("bad.mid", "MThd\x00\x00\x00\x06\x00\x03");
    const std::string wav = folder / "out.wav";
    const ToolRun run =
        rendertool::Run(folder, "-s '" + fixtures::SoundFont() + "' '" + bad + "' '" + wav + "'");
    EXPECT_EQ(run.exitCode, 1);
    mci::TMediaPlayer device(std::make_shared<mci::SilentOutput>());
    device.SetFileName(bad);
    try {
        device.Open();
        FAIL() << "the device opened it";
    } catch (const mci::EMCIDeviceError &error) {
        EXPECT_EQ(run.errors, std::string(error.what()) + "\n");
    }
    EXPECT_EQ(platform::ListFolder(folder.Path(), "out.wav*").size(), 0u);

    const ToolRun missingFont =
        rendertool::Run(folder, "-s '" + folder / "none.sf2" + "' '" + bad + "' '" + wav + "'");
    EXPECT_EQ(missingFont.exitCode, 1);
    EXPECT_EQ(rendertool::Run(folder, "-r fast a.mid b.wav").exitCode, 2);
    EXPECT_EQ(rendertool::Run(folder, "only-one.mid").exitCode, 2);
}

// A loop of 1 s from the song's start: a note every quarter second on a piano.
std::string LoopSong()
{
    mci::SmfWriter w(500, 0); // a tick is a millisecond
    w.Event(0, Program(0, 0)).Event(0, Control(0, 111, 0));
    for (int tick = 0; tick < 1000; tick += 250)
        w.Event(tick, NoteOn(0, 60, 100)).Event(tick + 200, NoteOffMsg(0, 60));
    w.EndAt(1000);
    return w.Bytes();
}

double Rms(const std::vector<float> &samples, int rate, double fromS, double toS)
{
    const auto from = static_cast<std::size_t>(fromS * rate);
    const auto to = std::min(samples.size(), static_cast<std::size_t>(toS * rate));
    double sum = 0;
    for (std::size_t i = from; i < to; ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

// Catches a fade that does not lower the sound, stops it at once, or lets the song run on.
TEST(SonoluxRender, ALoopedSongFadesOutOverEightSecondsAndEnds)
{
    testing_support::TempFolder folder;
    const std::string song = folder.Write("loop.mid", LoopSong());
    render::RenderOptions options;
    options.soundFont = fixtures::SoundFont();
    options.reverb = options.chorus = false;
    options.limit = false;
    options.loops = 2;
    const render::StereoAudio audio = render::RenderToMemory(song, options);
    const int rate = audio.sampleRate;
    // Two passes of 1 s, then the fade of 8 s, then at most a short tail.
    EXPECT_GE(audio.left.size(), static_cast<std::size_t>(10 * rate));
    EXPECT_LE(audio.left.size(), static_cast<std::size_t>(11 * rate));
    const double full = Rms(audio.left, rate, 0.0, 2.0);
    ASSERT_GT(full, 0.001);
    EXPECT_NEAR(Rms(audio.left, rate, 2.0, 3.0) / full, 1.0, 0.25); // the fade has just begun
    double before = full;
    for (const double second : {4.0, 6.0, 8.0}) {
        const double level = Rms(audio.left, rate, second, second + 1.0);
        EXPECT_LT(level, 0.9 * before) << second;
        before = level;
    }
    EXPECT_LT(Rms(audio.left, rate, 9.0, 10.0), 0.1 * full);
    EXPECT_LT(Rms(audio.left, rate, 10.0, 11.0), 0.01 * full);
}

// Catches a song without loop marks rendered otherwise when loops are on (each render in a
// fresh process, so that no synthesiser state carries over).
TEST(SonoluxRender, LoopsLeaveSongsWithoutMarksAsTheyAre)
{
    testing_support::TempFolder folder;
    const std::string song = folder.Write("plain.mid", TempoChangeSong());
    const std::string font = "-s '" + fixtures::SoundFont() + "' ";
    const std::string once = folder / "once.wav";
    const std::string looped = folder / "looped.wav";
    ASSERT_EQ(rendertool::Run(folder, font + "--loops 0 '" + song + "' '" + once + "'").exitCode,
              0);
    ASSERT_EQ(rendertool::Run(folder, font + "--loops 3 '" + song + "' '" + looped + "'").exitCode,
              0);
    const std::string wav = platform::ReadFile(once);
    EXPECT_GT(wav.size(), 44u * 1000);
    EXPECT_TRUE(wav == platform::ReadFile(looped));
}

// Catches --loops ignored, taken over midimap.ini's Loops the wrong way round, or bad
// values accepted.
TEST(SonoluxRender, LoopsComeFromTheOptionElseFromTheDeviceSettings)
{
    testing_support::TempFolder folder;
    const std::string song = folder.Write("loop.mid", LoopSong());
    const std::string midimap = folder.Write("map.ini", "[Playback]\nLoops=1\n");
    const std::string wav = folder / "out.wav";
    const auto seconds = [&](const std::string &options) {
        const ToolRun run =
            rendertool::Run(folder, "-s '" + fixtures::SoundFont() + "' --midimap '" + midimap +
                                        "' " + options + " '" + song + "' '" + wav + "'");
        EXPECT_EQ(run.exitCode, 0) << run.errors;
        const render::WavData data = render::ReadWav(wav);
        return static_cast<double>(render::MixToMono(data).size()) / data.sampleRate;
    };
    EXPECT_THAT(seconds(""), testing::AllOf(testing::Ge(9.0), testing::Lt(10.0)));
    EXPECT_THAT(seconds("--loops 3"), testing::AllOf(testing::Ge(11.0), testing::Lt(12.0)));
    EXPECT_LT(seconds("--loops 0"), 4.0); // the song of 1 s and its tail
    for (const char *bad : {"--loops 100", "--loops -1", "--loops two", "--loops"})
        EXPECT_EQ(rendertool::Run(folder, std::string(bad) + " a.mid b.wav").exitCode, 2) << bad;
}

} // namespace
