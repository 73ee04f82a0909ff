#include "app/settingsfile.h"
#include "platform/files.h"
#include "platform/mci/outputconfig.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

struct IniKey
{
    std::string section;
    std::string key;
};

// The section and key of every value line of an INI file's text.
std::vector<IniKey> KeysOf(const std::string &text)
{
    std::vector<IniKey> keys;
    std::istringstream lines(text);
    std::string line;
    std::string section;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > 2 && line.front() == '[' && line.back() == ']')
            section = line.substr(1, line.size() - 2);
        else if (const std::size_t equals = line.find('='); equals != std::string::npos)
            keys.push_back({section, line.substr(0, equals)});
    }
    return keys;
}

// The lines of the player's manual page source that start an entry (one tab, then bold).
std::vector<std::string> PlayerPageEntries()
{
    std::vector<std::string> entries;
    std::istringstream lines(platform::ReadFile(SONOLUX_SOURCE_DIR "/docs/man/sonolux.1.scd"));
    std::string line;
    while (std::getline(lines, line))
        if (line.rfind("\t*", 0) == 0)
            entries.push_back(line);
    return entries;
}

bool HasEntry(const std::vector<std::string> &entries, const std::string &start,
              const std::string &key)
{
    for (const std::string &entry : entries)
        if (entry.rfind(start, 0) == 0 && entry.find(key + "=") != std::string::npos)
            return true;
    return false;
}

} // namespace

// Catches a device setting the player writes to, or reads from, midimap.ini that the manual
// page does not describe (each key is one entry "*Key=*" under midimap.ini).
TEST(ManualPages, DescribeEveryKeyOfMidimapIni)
{
    const testing_support::TempFolder folder;
    mci::OutputConfig config;
    config.device = config.port = config.soundFont = config.audioDriver = "x";
    mci::WriteOutputConfig(folder.Path(), config);
    mci::WriteVolume(folder.Path(), 50);
    mci::WriteLoops(folder.Path(), 2);
    std::vector<IniKey> keys = KeysOf(platform::ReadFile(folder / mci::kMidiMapFileName));
    ASSERT_FALSE(keys.empty());
    keys.push_back({"Output", "Gain"}); // read by the device, written only by hand
    const std::vector<std::string> entries = PlayerPageEntries();
    for (const IniKey &key : keys)
        EXPECT_TRUE(HasEntry(entries, "\t*" + key.key + "=", key.key))
            << "[" << key.section << "] " << key.key;
}

// Catches a setting the player saves in Sonolux.ini that the manual page does not describe
// (each entry names its section: "*[Section] Key=*").
TEST(ManualPages, DescribeEveryKeyOfTheSettingsFile)
{
    const testing_support::TempFolder folder;
    WriteSettingsFile(folder / "Sonolux.ini", StoredSettings());
    const std::vector<IniKey> keys = KeysOf(platform::ReadFile(folder / "Sonolux.ini"));
    ASSERT_FALSE(keys.empty());
    const std::vector<std::string> entries = PlayerPageEntries();
    for (const IniKey &key : keys)
        EXPECT_TRUE(HasEntry(entries, "\t*[" + key.section + "] ", key.key))
            << "[" << key.section << "] " << key.key;
}
