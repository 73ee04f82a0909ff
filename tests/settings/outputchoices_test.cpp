#include "settings/outputchoices.h"

#include <gtest/gtest.h>

namespace {

mci::OutputChoice Choice(const std::string &device, const std::string &port,
                         const std::string &soundFont)
{
    return {{device, port, soundFont, ""}, device + port + soundFont};
}

const std::vector<mci::OutputChoice> Offered = {
    Choice("fluidsynth", "", "/usr/share/sounds/sf2/FluidR3_GM.sf2"),
    Choice("fluidsynth", "", "/usr/share/sounds/sf2/TimGM6mb.sf2"),
    Choice("alsa", "SC-88Pro:0", ""),
    Choice("alsa", "TiMidity:0", ""),
    Choice("none", "", ""),
};

} // namespace

// Catches the current output shown on the wrong row: letter case of the device, the
// default SoundFont, ports and SoundFonts told apart, the hand-set audio driver ignored.
TEST(OutputChoices, FindsTheRowOfTheConfiguredOutput)
{
    EXPECT_EQ(FindOutputChoice(Offered, {}), 0) << "no file: the default SoundFont";
    EXPECT_EQ(FindOutputChoice(Offered, {"FluidSynth", "", "", ""}), 0);
    EXPECT_EQ(FindOutputChoice(Offered, {"", "", "/usr/share/sounds/sf2/TimGM6mb.sf2", ""}), 1);
    EXPECT_EQ(
        FindOutputChoice(Offered, {"fluidsynth", "", "/usr/share/sounds/sf2/TimGM6mb.sf2", "alsa"}),
        1);
    EXPECT_EQ(FindOutputChoice(Offered, {"ALSA", "TiMidity:0", "", ""}), 3);
    EXPECT_EQ(FindOutputChoice(Offered, {"none", "", "", ""}), 4);
}

// Catches an output that is not offered being shown as another one.
TEST(OutputChoices, UnofferedOutputsMatchNoRow)
{
    EXPECT_EQ(FindOutputChoice(Offered, {"alsa", "SC-55:0", "", ""}), -1);
    EXPECT_EQ(FindOutputChoice(Offered, {"alsa", "", "", ""}), -1);
    EXPECT_EQ(FindOutputChoice(Offered, {"fluidsynth", "", "/home/me/piano.sf2", ""}), -1);
    EXPECT_EQ(FindOutputChoice(Offered, {"midi-through", "", "", ""}), -1);
    const std::vector<mci::OutputChoice> noSoundFonts = {Choice("none", "", "")};
    EXPECT_EQ(FindOutputChoice(noSoundFonts, {}), -1);

    const std::string line = DescribeUnavailableOutput({"alsa", "SC-55:0", "", ""});
    EXPECT_NE(line.find("SC-55:0"), std::string::npos) << line;
    EXPECT_NE(line.find("not available"), std::string::npos) << line;
    EXPECT_NE(DescribeUnavailableOutput({"", "", "/home/me/piano.sf2", ""}).find("piano.sf2"),
              std::string::npos);
}

// Catches a choice wiping the audio driver the user set by hand, or keeping the old port.
TEST(OutputChoices, ChoosingKeepsTheAudioDriver)
{
    const mci::OutputConfig current = {"alsa", "SC-88Pro:0", "", "jack"};
    const mci::OutputConfig chosen = ChosenOutput(Offered[1], current);
    EXPECT_EQ(chosen,
              (mci::OutputConfig{"fluidsynth", "", "/usr/share/sounds/sf2/TimGM6mb.sf2", "jack"}));
}
