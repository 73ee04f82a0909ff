#include "platform/mci/outputconfig.h"

#include "platform/files.h"
#include "platform/mci/fluidoutput.h"
#include "platform/mci/loops.h"
#include "platform/mci/mediaplayer.h"
#include "platform/mci/outputlevel.h"
#include "platform/mci/outputtable.h"
#include "platform/mci/silentoutput.h"
#include "platform/mci/soundfonts.h"
#include "platform/profile.h"
#include "support/tempfolder.h"

#include "songs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <unistd.h>

namespace {

using mci::OutputConfig;

// Catches keys written under other names than the ones read, or other lines of the file lost.
TEST(OutputConfig, WritesAndReadsMidimapIni)
{
    testing_support::TempFolder folder;
    EXPECT_EQ(mci::ReadOutputConfig(folder.Path()), OutputConfig());
    folder.Write("midimap.ini", "; the user's note\n[Other]\nKey=1\n");
    const OutputConfig config{"alsa", "128:0", "/x/y.sf2", "jack"};
    mci::WriteOutputConfig(folder.Path(), config);
    EXPECT_EQ(mci::ReadOutputConfig(folder.Path() + "/"), config);
    const std::string text = platform::ReadFile(folder / "midimap.ini");
    EXPECT_THAT(text, testing::HasSubstr("; the user's note"));
    EXPECT_THAT(text, testing::HasSubstr("[Output]"));
    EXPECT_THAT(text, testing::HasSubstr("Device=alsa"));
    EXPECT_THAT(text, testing::HasSubstr("SoundFont=/x/y.sf2"));
}

// Catches Gain or Volume lost when the settings window writes its choice, a Gain change
// taken for another output (which would start the synthesiser afresh between the reset file
// and the song), or a Gain that is not clamped.
TEST(OutputConfig, LevelKeysSurviveAChoiceAndChooseNothing)
{
    testing_support::TempFolder folder;
    folder.Write("midimap.ini", "[Output]\nGain=-4.5\nVolume=30\n");
    mci::WriteOutputConfig(folder.Path(), {"none", "", "", ""});
    const OutputConfig config = mci::ReadOutputConfig(folder.Path());
    EXPECT_DOUBLE_EQ(config.gainDb, -4.5);
    EXPECT_DOUBLE_EQ(mci::ReadVolume(folder.Path()), 0.3);

    OutputConfig louder = config;
    louder.gainDb = 6;
    EXPECT_TRUE(mci::SameOutput(config, louder));
    EXPECT_NE(config, louder);
    louder.port = "128:0";
    EXPECT_FALSE(mci::SameOutput(config, louder));

    folder.Write("midimap.ini", "[Output]\nGain=+60\n");
    EXPECT_DOUBLE_EQ(mci::ReadOutputConfig(folder.Path()).gainDb, mci::kMaxGainDb);
}

// Catches a desktop volume that is not kept across runs, taken out of range or as NaN, or
// half-taken when midimap.ini cannot be written.
TEST(OutputConfig, PlayerKeepsTheVolumeInMidimapIni)
{
    testing_support::TempFolder folder;
    mci::WriteOutputConfig(folder.Path(), {"none", "", "", ""});
    {
        mci::TMediaPlayer player(folder.Path());
        EXPECT_DOUBLE_EQ(player.Volume(), 1.0);
        player.SetVolume(0.625);
        player.SetVolume(-1);
        player.SetVolume(std::nan(""));
        EXPECT_DOUBLE_EQ(player.Volume(), 0.0);
        player.SetVolume(0.625);
    }
    EXPECT_THAT(platform::ReadFile(folder / "midimap.ini"), testing::HasSubstr("Volume=62.5"));
    mci::TMediaPlayer again(folder.Path());
    EXPECT_DOUBLE_EQ(again.Volume(), 0.625);

    mci::TMediaPlayer nowhere("/nonexistent-folder");
    EXPECT_THROW(nowhere.SetVolume(0.5), platform::ProfileError);
    EXPECT_DOUBLE_EQ(nowhere.Volume(), 1.0);
}

// Catches a Loops value read out of range or from junk, lost when an output is chosen, or not
// taken by a device on midimap.ini at its next Open.
TEST(OutputConfig, LoopsAreReadClampedAndKeptApartFromTheOutput)
{
    testing_support::TempFolder folder;
    const auto loopsRead = [&](const std::string &value) {
        folder.Write("midimap.ini", "[Playback]\nLoops=" + value + "\n");
        return mci::ReadOutputConfig(folder.Path()).loops;
    };
    EXPECT_EQ(mci::ReadOutputConfig(folder.Path()).loops, 0);
    EXPECT_EQ(loopsRead(""), 0);
    EXPECT_EQ(loopsRead("two"), 0);
    EXPECT_EQ(loopsRead("2x"), 0);
    EXPECT_EQ(loopsRead("-3"), 0);
    EXPECT_EQ(loopsRead(" 3 "), 3);
    EXPECT_EQ(loopsRead("1000"), mci::kMaxLoops);

    mci::WriteLoops(folder.Path(), 4);
    mci::WriteOutputConfig(folder.Path(), {"none", "", "", ""});
    EXPECT_EQ(mci::ReadOutputConfig(folder.Path()).loops, 4);
    EXPECT_THAT(platform::ReadFile(folder / "midimap.ini"), testing::HasSubstr("Device=none"));

    mci::TMediaPlayer player(folder.Path());
    player.SetLoops(0);
    mci::SmfWriter w(500, 0);
    w.Event(0, songs::Control(0, 111, 0)).EndAt(1000);
    player.SetFileName(folder.Write("loop.mid", w.Bytes()));
    player.Open();
    player.SetTimeFormat(mci::TMPTimeFormats::tfMilliseconds);
    EXPECT_EQ(player.Loops(), 4);
    EXPECT_EQ(player.Length(), 4 * 1000 + 8000);
}

// Catches device names matched with case or unknown ones silently taken as another.
TEST(OutputConfig, CreatesTheOutputNamed)
{
    EXPECT_NE(std::dynamic_pointer_cast<mci::SilentOutput>(mci::CreateOutput({"None", "", "", ""})),
              nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<mci::FluidOutput>(
                  mci::CreateOutput({"", "", "/some/font.sf2", ""})),
              nullptr);
    try {
        mci::CreateOutput({"midiport", "", "", ""});
        ADD_FAILURE() << "unknown device accepted";
    } catch (const mci::EMCIDeviceError &error) {
        EXPECT_THAT(error.what(), testing::HasSubstr("midiport"));
        for (const mci::OutputKind &kind : mci::OutputKinds())
            EXPECT_THAT(error.what(), testing::HasSubstr(kind.name)) << "the text lists them all";
    }
}

// Catches a choice the list offers under a device name the device does not know (choosing
// it would write a midimap.ini that cannot play), and default or unknown names mistaken.
TEST(OutputConfig, EveryOfferedChoiceIsOneTheDeviceKnows)
{
    const std::vector<mci::OutputChoice> choices = mci::ListOutputs();
    for (const mci::OutputChoice &choice : choices) {
        EXPECT_NE(mci::FindOutputKind(choice.config.device), nullptr) << choice.config.device;
        EXPECT_FALSE(choice.description.empty());
    }
    EXPECT_EQ(mci::FindOutputKind(""), mci::FindOutputKind("FLUIDSYNTH"));
    EXPECT_EQ(mci::FindOutputKind("midiport"), nullptr);
    EXPECT_EQ(mci::OutputKindNames(), "fluidsynth, alsa or none");
}

// Catches a SoundFont problem reported as anything but an open error naming the file.
TEST(OutputConfig, MissingOrBadSoundFontIsAnOpenError)
{
    testing_support::TempFolder folder;
    const std::string song = folder.Write("song.mid", songs::TempoChangeSong());
    const std::string missing = folder / "gone.sf2";
    const std::string notSoundFont = folder.Write("fake.sf2", "RIFF\4\0\0\0WAVE");
    for (const auto &[soundFont, reason] : std::vector<std::pair<std::string, std::string>>{
             {missing, "cannot be found"}, {notSoundFont, "is not a SoundFont"}}) {
        mci::WriteOutputConfig(folder.Path(), {"fluidsynth", "", soundFont, ""});
        mci::TMediaPlayer player(folder.Path());
        player.SetFileName(song);
        try {
            player.Open();
            ADD_FAILURE() << "opened with " << soundFont;
        } catch (const mci::EMCIDeviceError &error) {
            EXPECT_THAT(error.what(), testing::HasSubstr(soundFont));
            EXPECT_THAT(error.what(), testing::HasSubstr(reason));
        }
        EXPECT_EQ(player.Mode(), mci::mpNotReady);
    }
}

// Catches the output choice read once only, so that a changed midimap.ini has no effect.
TEST(OutputConfig, PlayerFollowsMidimapIniAtEachOpen)
{
    testing_support::TempFolder folder;
    const std::string song = folder.Write("song.mid", songs::TempoChangeSong());
    mci::WriteOutputConfig(folder.Path(), {"none", "", "", ""});
    mci::TMediaPlayer player(folder.Path());
    player.SetFileName(song);
    player.Open();
    EXPECT_EQ(player.Length(), 3840);
    mci::WriteOutputConfig(folder.Path(), {"nonsense", "", "", ""});
    EXPECT_THROW(player.Open(), mci::EMCIDeviceError);
    mci::WriteOutputConfig(folder.Path(), {"none", "", "", ""});
    player.Open();
    EXPECT_EQ(player.Mode(), mci::mpStopped);
}

// Catches a default SoundFont by folder order rather than GM first, or a file listed twice.
TEST(SoundFonts, ListsGeneralMidiFirstAndEachFileOnce)
{
    testing_support::TempFolder a;
    testing_support::TempFolder b;
    a.Write("Piano.sf2", "x");
    a.Write("TimGM6mb.sf2", "x");
    b.Write("FluidR3_GM.SF2", "x");
    b.Write("readme.txt", "x");
    b.Write("Strings.sf3", "x");
    ASSERT_EQ(::symlink((b / "FluidR3_GM.SF2").c_str(), (a / "default-GM.sf2").c_str()), 0);
    const std::vector<std::string> found = mci::FindSoundFonts({a.Path(), b.Path()});
    EXPECT_THAT(found, testing::ElementsAre(b / "FluidR3_GM.SF2", a / "TimGM6mb.sf2",
                                            a / "Piano.sf2", b / "Strings.sf3"));
}

// Catches a list without the no-sound choice, which is always possible.
TEST(SoundFonts, OutputListEndsWithNoSound)
{
    const std::vector<mci::OutputChoice> choices = mci::ListOutputs();
    ASSERT_FALSE(choices.empty());
    EXPECT_EQ(choices.back().config.device, "none");
    for (const mci::OutputChoice &choice : choices) {
        if (choice.config.device == "fluidsynth") {
            EXPECT_TRUE(platform::FileExists(choice.config.soundFont));
        }
    }
}

} // namespace
