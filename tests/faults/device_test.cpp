// The sequencer device failing under the player: a reset file that is missing or never
// ends, no audio device for FluidSynth, a SoundFont that is not one. Each stops the song
// start with its message, and the player plays again once the cause is gone.
#include "faultfixture.h"

#include "platform/mci/outputconfig.h"
#include "platform/mci/soundfonts.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>

using testing_support::ErrorOf;
using testing_support::FaultTest;

namespace {

// An output that plays on the silent output but, while stuck, never reaches the end of
// what it plays: its waits run out on the virtual clock.
class StuckOutput final : public mci::MidiOutput
{
public:
    explicit StuckOutput(std::shared_ptr<mci::VirtualClock> clock)
        : clock_(clock)
        , inner_(std::make_shared<mci::SilentOutput>(clock))
    {
    }

    void Prepare() override {}
    void Start(mci::PlayRequest request) override
    {
        lengthNs_ = request.song->lengthNs;
        inner_->Start(std::move(request));
    }
    std::int64_t Halt() override { return inner_->Halt(); }
    std::int64_t PositionNs() const override
    {
        return stuck ? std::min(inner_->PositionNs(), lengthNs_ - 1) : inner_->PositionNs();
    }
    bool Ended() const override { return !stuck && inner_->Ended(); }
    bool WaitForEnd(std::chrono::milliseconds timeout) override
    {
        if (!stuck)
            return inner_->WaitForEnd(timeout);
        clock_->Advance(timeout);
        return false;
    }

    bool stuck = true;

private:
    std::shared_ptr<mci::VirtualClock> clock_;
    std::shared_ptr<mci::SilentOutput> inner_;
    std::int64_t lengthNs_ = 0;
};

class DeviceFaultTest : public FaultTest
{
protected:
    bool MarkedAny() const
    {
        for (int i = 0; i < view_->Queue().Count(); ++i)
            if (!view_->Queue().Entry(i).Marker.empty())
                return true;
        return false;
    }
    void WriteMidiMap(const std::string &text) { program_.Write(mci::kMidiMapFileName, text); }
    // The smallest SoundFont at hand: the shared fixtures' test font, else an installed one.
    static std::string SmallSoundFont()
    {
        const std::string fixture =
            std::string(SONOLUX_FIXTURES_DIR) + "/soundfonts/VintageDreamsWaves-v2.sf2";
        if (std::filesystem::exists(fixture))
            return fixture;
        std::string smallest;
        for (const std::string &font : mci::InstalledSoundFonts())
            if (smallest.empty() ||
                std::filesystem::file_size(font) < std::filesystem::file_size(smallest))
                smallest = font;
        return smallest;
    }
    // After a device failure the song start is stopped, and with midimap.ini choosing no
    // sound the same entry plays.
    void ExpectPlaysWithoutSound()
    {
        EXPECT_FALSE(bar_->Timer1.isActive());
        WriteMidiMap("[Output]\nDevice=none\n");
        bar_->StartCurrentSong();
        EXPECT_EQ(bar_->MediaPlayer1().Mode(), mci::mpPlaying);
    }
};

// Catches a missing reset file that lets the song start unreset, or is not named.
TEST_F(DeviceFaultTest, MissingResetFileStopsTheStartWithTheDevicesMessage)
{
    Enqueue(Song("a.mid", 1000, "A"));
    FormatName = "XG.MID";
    EXPECT_EQ(ErrorOf([this] { bar_->StartCurrentSong(); }),
              "\"" + program_ / "format/XG.MID" + "\" cannot be found.");
    EXPECT_FALSE(MarkedAny());
    EXPECT_FALSE(bar_->Timer1.isActive());

    FormatName = "GM.MID";
    bar_->StartCurrentSong();
    EXPECT_EQ(bar_->MediaPlayer1().Mode(), mci::mpPlaying);
}

// Catches a wait for a reset file that never ends which hangs, gives up at another time
// than its length plus five seconds, or gives up silently.
TEST_F(DeviceFaultTest, ResetFileThatNeverEndsIsGivenUpAfterItsLengthAndFiveSeconds)
{
    auto output = std::make_shared<StuckOutput>(clock_);
    UseDevice(std::make_unique<mci::TMediaPlayer>(output));
    Enqueue(Song("a.mid", 1000, "A"));

    const std::int64_t before = clock_->Now().count();
    const std::string message = ErrorOf([this] { bar_->StartCurrentSong(); });
    EXPECT_EQ(message, "The reset file " + program_ / "format/GM.MID" +
                           " did not finish playing within its length plus five seconds.");
    EXPECT_EQ(clock_->Now().count() - before, (ResetFileLengthMs() + 5000) * 1000000);
    EXPECT_FALSE(bar_->Timer1.isActive());
    EXPECT_NE(bar_->MediaPlayer1().Mode(), mci::mpPlaying);

    output->stuck = false;
    bar_->StartCurrentSong();
    EXPECT_EQ(bar_->MediaPlayer1().Mode(), mci::mpPlaying);
    EXPECT_EQ(bar_->MediaPlayer1().FileName(), program_ / "a.mid");
}

// Catches a FluidSynth output without an audio device that crashes, hangs or fails
// without saying what is missing.
TEST_F(DeviceFaultTest, NoAudioDeviceIsReported)
{
    const std::string soundFont = SmallSoundFont();
    ASSERT_FALSE(soundFont.empty()) << "no SoundFont: scripts/install-deps.sh installs one";
    // ALSA's default device is a sound card that does not exist, whatever this machine has.
    const std::string alsaConfig =
        program_.Write("asound.conf", "pcm.!default { type hw card 99 }\n"
                                      "ctl.!default { type hw card 99 }\n");
    setenv("ALSA_CONFIG_PATH", alsaConfig.c_str(), 1);
    WriteMidiMap("[Output]\nDevice=fluidsynth\nSoundFont=" + soundFont + "\nAudioDriver=alsa\n");
    UseDevice(std::make_unique<mci::TMediaPlayer>(program_.Path()));
    Enqueue(Song("a.mid", 1000, "A"));

    const std::string message = ErrorOf([this] { bar_->StartCurrentSong(); });
    unsetenv("ALSA_CONFIG_PATH");
    EXPECT_EQ(message.rfind("No audio output can be opened (alsa", 0), 0u) << message;
    ExpectPlaysWithoutSound();
}

// Catches a damaged or foreign file named as the SoundFont that crashes the synthesiser or
// is reported as something else.
TEST_F(DeviceFaultTest, SoundFontThatIsNotASoundFontIsReported)
{
    const std::string text = program_.Write("notes.sf2", "These are not the samples you want.\n");
    WriteMidiMap("[Output]\nDevice=fluidsynth\nSoundFont=" + text + "\n");
    UseDevice(std::make_unique<mci::TMediaPlayer>(program_.Path()));
    Enqueue(Song("a.mid", 1000, "A"));
    EXPECT_EQ(ErrorOf([this] { bar_->StartCurrentSong(); }),
              "\"" + text + "\" is not a SoundFont.");
    ExpectPlaysWithoutSound();
}

// Catches a SoundFont cut short (a broken download) that crashes the synthesiser's loader.
TEST_F(DeviceFaultTest, TruncatedSoundFontIsReported)
{
    const std::string soundFont = SmallSoundFont();
    ASSERT_FALSE(soundFont.empty()) << "no SoundFont: scripts/install-deps.sh installs one";
    std::string head(4096, '\0');
    {
        std::FILE *in = std::fopen(soundFont.c_str(), "rb");
        ASSERT_NE(in, nullptr);
        head.resize(std::fread(head.data(), 1, head.size(), in));
        std::fclose(in);
    }
    const std::string cut = program_.Write("cut.sf2", head);
    WriteMidiMap("[Output]\nDevice=fluidsynth\nSoundFont=" + cut + "\n");
    UseDevice(std::make_unique<mci::TMediaPlayer>(program_.Path()));
    Enqueue(Song("a.mid", 1000, "A"));
    const std::string message = ErrorOf([this] { bar_->StartCurrentSong(); });
    EXPECT_EQ(message.rfind("The SoundFont \"" + cut + "\" cannot be loaded", 0), 0u) << message;
    ExpectPlaysWithoutSound();
}

} // namespace
