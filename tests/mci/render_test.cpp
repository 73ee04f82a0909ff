#include "platform/files.h"
#include "platform/mci/mediaplayer.h"
#include "platform/mci/silentoutput.h"
#include "platform/mci/smfparser.h"
#include "support/tempfolder.h"

#include "fixturepaths.h"
#include "onsets.h"
#include "rendertool.h"
#include "songs.h"
#include "wavfile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

} // namespace
