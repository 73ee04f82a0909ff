#include "platform/mci/fluidoutput.h"

#include "platform/files.h"

#include "platform/mci/fluidsynthhost.h"
#include "platform/mci/mediaplayer.h"
#include "platform/mci/smfparser.h"
#include "platform/mci/tempomap.h"
#include "support/tempfolder.h"

#include "fixturepaths.h"
#include "songs.h"
#include "tools/sonolux-render/onsets.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>
#include <unistd.h>

namespace mci {

// Holds the output for as long as it lives, as a transport call does while it runs.
class FluidOutputProbe
{
public:
    explicit FluidOutputProbe(FluidOutput &output)
        : lock_(output.mutex_)
    {
    }

private:
    std::unique_lock<std::mutex> lock_;
};

} // namespace mci

namespace {

using namespace std::chrono_literals;
using namespace songs;

constexpr int kRate = 44100;
constexpr int kBlock = mci::FluidOutput::kBlockFrames;

std::shared_ptr<mci::FluidOutput>
OfflineOutput(const std::string &soundFont = fixtures::SoundFont())
{
    mci::FluidOutput::Options options;
    options.soundFont = soundFont;
    options.sampleRate = kRate;
    options.offline = true;
    options.reverb = false;
    options.chorus = false;
    return std::make_shared<mci::FluidOutput>(options);
}

// Renders until the player stops (and frames more), in whole blocks so that every test
// starts on a block boundary.
std::vector<float> RenderSong(mci::FluidOutput &output, mci::TMediaPlayer &player,
                              int extraFrames = 0)
{
    std::vector<float> mono;
    std::vector<float> left(kBlock * 16), right(kBlock * 16);
    int extra = extraFrames;
    while (player.Mode() == mci::mpPlaying || extra > 0) {
        if (player.Mode() != mci::mpPlaying)
            extra -= static_cast<int>(left.size());
        output.Render(left.data(), right.data(), static_cast<int>(left.size()));
        for (std::size_t i = 0; i < left.size(); ++i)
            mono.push_back(left[i]);
    }
    return mono;
}

// The block start where an event at exact sample e is sent: the nearest one (a tie goes
// to the later).
std::int64_t BlockFor(std::int64_t sample)
{
    return (sample + kBlock / 2) / kBlock * kBlock;
}

class FluidOutputTest : public testing::Test
{
protected:
    void Open(const std::string &bytes)
    {
        player.SetFileName(folder.Write("song.mid", bytes));
        player.Open();
        player.SetTimeFormat(mci::TMPTimeFormats::tfMilliseconds);
    }

    testing_support::TempFolder folder;
    std::shared_ptr<mci::FluidOutput> output = OfflineOutput();
    mci::TMediaPlayer player{output};
};

// Catches events sent at a block other than the one nearest their exact time, or drifting.
TEST_F(FluidOutputTest, EveryOnsetLandsOnTheNearestBlockStart)
{
    // At 441 ticks per quarter and 10 ms per quarter a tick is one sample. The first note
    // warms the channel up (a channel's very first note starts more softly); the second,
    // on block 200 exactly, shows how far into a note its sound crosses the threshold.
    mci::SmfWriter w(441, 1);
    w.Tempo(0, 10000);
    w.Event(0, NoteOn(9, 37, 120)).Event(900, NoteOffMsg(9, 37));
    w.Event(12800, NoteOn(9, 37, 120)).Event(13700, NoteOffMsg(9, 37));
    std::int64_t tick = 25600;
    std::vector<std::int64_t> ticks;
    for (int i = 0; i < 40; ++i) {
        w.Tempo(tick, 400000 + (i * 15013) % 200000);
        ticks.push_back(tick);
        w.Event(tick, NoteOn(9, 37, 120)).Event(tick + 20, NoteOffMsg(9, 37));
        tick += 300 + (i * 37) % 67;
    }
    w.EndAt(tick);
    const std::string bytes = w.Bytes();
    const mci::Song song =
        mci::ParseSong(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
    Open(bytes);
    player.Play();
    const std::vector<float> audio = RenderSong(*output, player);
    const float threshold = 0.1f * render::Peak(audio);
    const std::vector<std::int64_t> onsets = render::DetectOnsets(audio, threshold, kRate / 20);
    ASSERT_EQ(onsets.size(), ticks.size() + 2);
    const std::int64_t attack = onsets[1] - 12800;
    // A reused FluidSynth voice keeps a trace of its last note (filter smoothing), which
    // can move the threshold crossing by a sample or two; a wrong block is 64 away.
    constexpr std::int64_t kJitter = 3;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const std::int64_t onset = onsets[i + 2] - attack;
        const std::int64_t exact = song.tempo.TickToSample(ticks[i], kRate);
        EXPECT_NEAR(onset, BlockFor(exact), kJitter) << "note " << i;
        EXPECT_LE(std::llabs(onset - exact), kBlock / 2 + kJitter) << "note " << i;
    }
}

// Catches a position that runs ahead of or behind the audio, or never reaches the length.
TEST_F(FluidOutputTest, PositionIsTheAudioRenderedAndEndsAtTheLength)
{
    Open(TempoChangeSong());
    player.Play();
    std::vector<float> left(690 * kBlock), right(690 * kBlock); // 1.00136 s
    output->Render(left.data(), right.data(), static_cast<int>(left.size()));
    // The song starts at the first block start of the render: up to one block later.
    EXPECT_GE(player.Position(), 1000);
    EXPECT_LE(player.Position(), 1001);
    EXPECT_EQ(player.Mode(), mci::mpPlaying);
    RenderSong(*output, player, kBlock * 16);
    EXPECT_EQ(player.Mode(), mci::mpStopped);
    EXPECT_EQ(player.Position(), player.Length());
    EXPECT_EQ(player.Length(), 3000);
}

// Catches a pause that leaves notes sounding on the synthesiser.
TEST_F(FluidOutputTest, PauseSilencesTheSynthesiser)
{
    mci::SmfWriter w(480, 0);
    w.Event(0, Program(0, 120)).Event(0, NoteOn(0, 72, 120)).EndAt(9600);
    Open(w.Bytes());
    player.Play();
    std::vector<float> left(kBlock * 64), right(kBlock * 64);
    output->Render(left.data(), right.data(), static_cast<int>(left.size()));
    ASSERT_GT(render::Peak(left), 0.01f);
    player.Pause();
    output->Render(left.data(), right.data(), static_cast<int>(left.size()));
    const std::vector<float> after(left.begin() + kBlock * 2, left.end());
    EXPECT_LT(render::Peak(after), 1e-4f);
    EXPECT_EQ(player.Mode(), mci::mpPaused);
}

// Catches an audio thread that waits while the transport holds the output, or that moves
// the song's clock over the silence it rendered instead.
TEST_F(FluidOutputTest, AHeldOutputRendersSilenceInsteadOfWaiting)
{
    mci::SmfWriter w(480, 0);
    w.Event(0, Program(0, 120)).Event(0, NoteOn(0, 72, 120)).EndAt(9600);
    Open(w.Bytes());
    player.Play();
    std::vector<float> left(512, 1.0f), right(512, 1.0f);
    bool rendered = true;
    {
        const mci::FluidOutputProbe transport(*output);
        std::thread audio([&] { rendered = output->RenderPeriod(left.data(), right.data(), 512); });
        audio.join(); // waiting for the held output would never end
    }
    EXPECT_FALSE(rendered);
    EXPECT_EQ(render::Peak(left), 0.0f);
    EXPECT_EQ(render::Peak(right), 0.0f);
    EXPECT_EQ(output->PositionNs(), 0);

    // The song starts with the first period rendered, not with the silent one.
    ASSERT_TRUE(output->RenderPeriod(left.data(), right.data(), 512));
    EXPECT_GT(output->PositionNs(), 0);
    EXPECT_LE(output->PositionNs(), mci::SampleToNs(512, kRate));
    for (int period = 0; period < 8; ++period)
        ASSERT_TRUE(output->RenderPeriod(left.data(), right.data(), 512));
    EXPECT_GT(render::Peak(left), 0.01f);
}

// Catches WaitForEnd sleeping past the end it waits for, or waiting on after a halt.
TEST_F(FluidOutputTest, WaitForEndWakesAtTheEndOrAtAHalt)
{
    Open(TempoChangeSong());
    player.Play();
    bool ended = false;
    std::thread waiter([&] { ended = output->WaitForEnd(std::chrono::milliseconds::max()); });
    std::vector<float> left(kBlock * 64), right(kBlock * 64);
    while (!output->Ended())
        output->Render(left.data(), right.data(), static_cast<int>(left.size()));
    waiter.join();
    EXPECT_TRUE(ended);

    player.Stop();
    player.Play();
    ended = true;
    std::thread halted([&] { ended = output->WaitForEnd(std::chrono::milliseconds::max()); });
    output->Render(left.data(), right.data(), static_cast<int>(left.size()));
    output->Halt();
    halted.join();
    EXPECT_FALSE(ended);
}

// Catches one synthesiser driven by two outputs at once, and one never given back.
TEST(FluidSynthHost, LendsTheSynthesiserToOneOutputAtATime)
{
    auto first = OfflineOutput();
    first->Prepare();
    auto second = OfflineOutput();
    try {
        second->Prepare();
        ADD_FAILURE() << "two outputs share the synthesiser";
    } catch (const mci::EMCIDeviceError &error) {
        EXPECT_THAT(error.what(), testing::HasSubstr("in use"));
    }
    first.reset();
    EXPECT_NO_THROW(second->Prepare());
}

// Catches a failed SoundFont load kept for good, so that installing it later would not help.
TEST(FluidSynthHost, AFailedLoadIsTriedAgain)
{
    testing_support::TempFolder folder;
    const std::string path = folder / "late.sf2";
    mci::fluidhost::Preload(path, kRate);
    EXPECT_THROW(mci::fluidhost::Acquire(path, kRate), mci::EMCIDeviceError);
    folder.Write("late.sf2", platform::ReadFile(fixtures::SoundFont()));
    EXPECT_NE(mci::fluidhost::Acquire(path, kRate), nullptr);
}

// Catches a missing audio device reported as anything but a clear open error.
TEST(FluidOutputDriver, NoAudioDeviceIsAClearOpenError)
{
    for (const std::string driver : {"nosuchdriver", "alsa"}) {
        if (driver == "alsa" && ::access("/dev/snd", F_OK) == 0)
            continue;
        mci::FluidOutput::Options options;
        options.soundFont = fixtures::SoundFont();
        options.audioDriver = driver;
        mci::FluidOutput output(options);
        try {
            output.Prepare();
            ADD_FAILURE() << "opened " << driver;
        } catch (const mci::EMCIDeviceError &error) {
            EXPECT_THAT(error.what(), testing::HasSubstr("No audio output"));
            EXPECT_THAT(error.what(), testing::HasSubstr(driver));
        }
    }
}

// Catches a live audio thread that does not play the song to its end or does not report it.
TEST(FluidOutputDriver, AudioThreadPlaysTheSongToItsEnd)
{
    testing_support::TempFolder folder;
    mci::SmfWriter w(480, 0);
    w.Event(0, NoteOn(9, 37)).Event(240, NoteOn(9, 38)).EndAt(480);
    // ALSA's "null" device takes the audio as fast as it comes, with no sound card.
    mci::FluidOutput::Options options;
    options.soundFont = fixtures::SoundFont();
    options.audioDriver = "alsa";
    options.audioDevice = "null";
    auto output = std::make_shared<mci::FluidOutput>(options);
    mci::TMediaPlayer player(output);
    player.SetFileName(folder.Write("song.mid", w.Bytes()));
    try {
        player.Open();
    } catch (const mci::EMCIDeviceError &error) {
        GTEST_SKIP() << "ALSA's null device cannot be opened here: " << error.what();
    }
    EXPECT_EQ(output->AudioDriver(), "alsa");
    player.Play();
    EXPECT_TRUE(player.WaitForEnd(10000ms));
    EXPECT_EQ(player.Mode(), mci::mpStopped);
    EXPECT_EQ(player.Position(), player.Length());
}

// Catches unguarded state shared by the audio thread and the transport (races under TSan).
TEST_F(FluidOutputTest, TransportIsSafeWhileAnotherThreadRenders)
{
    Open(TempoChangeSong());
    player.Play();
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        std::vector<float> left(300), right(300); // periods off the block grid
        while (!stop.load())
            output->Render(left.data(), right.data(), static_cast<int>(left.size()));
    });
    const std::int64_t length = player.Length();
    for (int i = 0; i < 3000; ++i) {
        switch (i % 5) {
        case 0:
            player.Pause();
            break;
        case 1:
            player.Play();
            break;
        case 2:
            player.Seek((i * 37) % length);
            break;
        case 3:
            player.Play();
            break;
        default:
            player.Stop();
            player.Play();
            break;
        }
        const std::int64_t position = player.Position();
        ASSERT_GE(position, 0);
        ASSERT_LE(position, length);
        const mci::TMPModes mode = player.Mode();
        ASSERT_TRUE(mode == mci::mpPlaying || mode == mci::mpPaused || mode == mci::mpStopped);
    }
    stop.store(true);
    audio.join();
    player.Stop();
    EXPECT_EQ(player.Mode(), mci::mpStopped);
}

} // namespace
