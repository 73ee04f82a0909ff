#include "tools/sonolux-render/devicesettings.h"

#include "platform/files.h"
#include "platform/tempdir.h"
#include "platform/userfolders.h"
#include "support/scopedenv.h"
#include "support/smfbuilder.h"
#include "support/tempfolder.h"

#include "toolrun.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>

using testing_support::ScopedEnv;
using Scratch = testing_support::TempFolder;
using tools_testing::Quoted;
using tools_testing::RunTool;
using tools_testing::Tool;
using tools_testing::ToolRun;

namespace {

std::string MidiMap(const std::string &soundFont)
{
    return "[Output]\nDevice=fluidsynth\nSoundFont=" + soundFont + "\n";
}

// The names in the private temporary folder left by the settings reader.
std::vector<std::string> ReaderLeftovers()
{
    std::vector<std::string> names;
    for (const platform::FolderEntry &entry :
         platform::ListFolder(platform::GetTempPath(), "sonolux-render-*"))
        names.push_back(entry.name);
    return names;
}

// A user whose folders are in home, for an installed program.
class DeviceSettingsTest : public ::testing::Test
{
protected:
    Scratch program;
    Scratch home;
    Scratch runtime;
    const ScopedEnv homeFolder{"HOME", home.Path()};
    const ScopedEnv configHome{"XDG_CONFIG_HOME", ""};
    const ScopedEnv runtimeFolder{"XDG_RUNTIME_DIR", runtime.Path()};
};

} // namespace

// Catches an installed copy reading the device settings beside the program (where the
// player never writes them) instead of in the user's config folder, and a portable copy
// doing the opposite.
TEST_F(DeviceSettingsTest, FoundWhereThePlayerKeepsThem)
{
    program.Write("midimap.ini", MidiMap("/beside.sf2"));
    home.Write(".config/sonolux/midimap.ini", MidiMap("/user.sf2"));
    EXPECT_EQ(render::ReadDeviceSettings(program.Path() + "/", "").soundFont, "/beside.sf2");

    program.Write(platform::InstalledMarkerName, "");
    EXPECT_EQ(render::ReadDeviceSettings(program.Path() + "/", "").soundFont, "/user.sf2");
}

// Catches a named settings file being read only when it is called midimap.ini, read
// relative to the wrong folder, or leaving its private link behind.
TEST_F(DeviceSettingsTest, NamedFileOfAnyNameIsRead)
{
    home.Write(".config/sonolux/midimap.ini", MidiMap("/user.sf2"));
    program.Write(platform::InstalledMarkerName, "");
    const std::string given =
        home.Write("studio/alsa port.ini", "[Output]\nDevice=alsa\nPort=128:0\n");
    const mci::OutputConfig config = render::ReadDeviceSettings(program.Path() + "/", given);
    EXPECT_EQ(config.device, "alsa");
    EXPECT_EQ(config.port, "128:0");
    EXPECT_EQ(config.soundFont, "");
    EXPECT_EQ(ReaderLeftovers(), std::vector<std::string>{});

    const std::string named = home.Write("midimap.ini", MidiMap("/named.sf2"));
    EXPECT_EQ(render::ReadDeviceSettings(program.Path() + "/", named).soundFont, "/named.sf2");
}

// Catches a missing, unreadable or folder settings file silently read as "no settings",
// which would render with another SoundFont than the one asked for.
TEST_F(DeviceSettingsTest, UnreadableNamedFileIsAnError)
{
    const std::string folder = program / "folder.ini";
    ::mkdir(folder.c_str(), 0700);
    EXPECT_THROW(render::ReadDeviceSettings(program.Path() + "/", program / "missing.ini"),
                 std::runtime_error);
    EXPECT_THROW(render::ReadDeviceSettings(program.Path() + "/", folder), std::runtime_error);
    try {
        render::ReadDeviceSettings(program.Path() + "/", program / "missing.ini");
    } catch (const std::runtime_error &error) {
        EXPECT_NE(std::string(error.what()).find("missing.ini"), std::string::npos);
    }
    EXPECT_EQ(ReaderLeftovers(), std::vector<std::string>{});
}

// Catches the tool itself not using the settings found (or --midimap) for its SoundFont, or
// -s not taking precedence. The SoundFonts do not exist, so the error names the one used.
TEST_F(DeviceSettingsTest, InstalledToolRendersWithTheUsersSettings)
{
    const std::string tool = program / "sonolux-render";
    ASSERT_EQ(std::system(("cp " + Tool("sonolux-render") + " " + Quoted(tool)).c_str()), 0);
    program.Write(platform::InstalledMarkerName, "");
    home.Write(".config/sonolux/midimap.ini", MidiMap("/nonexistent/user.sf2"));
    const std::string given = home.Write("given.ini", MidiMap("/nonexistent/given.sf2"));
    const std::string song = home.Write("song.mid", testing_support::MakeSmf(500, "Song"));
    const std::string run = "HOME=" + Quoted(home.Path()) + " XDG_CONFIG_HOME= " + Quoted(tool);
    const std::string files = " " + Quoted(song) + " " + Quoted(home / "out.wav");

    ToolRun result = RunTool(run + files, runtime.Path());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.errors.find("/nonexistent/user.sf2"), std::string::npos) << result.errors;

    result = RunTool(run + " --midimap " + Quoted(given) + files, runtime.Path());
    EXPECT_NE(result.errors.find("/nonexistent/given.sf2"), std::string::npos) << result.errors;

    result = RunTool(run + " --midimap " + Quoted(given) + " -s /nonexistent/option.sf2" + files,
                     runtime.Path());
    EXPECT_NE(result.errors.find("/nonexistent/option.sf2"), std::string::npos) << result.errors;

    result = RunTool(run + " --midimap " + Quoted(home / "none.ini") + files, runtime.Path());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.errors.find("none.ini"), std::string::npos) << result.errors;
    EXPECT_FALSE(platform::FileExists(home / "out.wav"));
}
