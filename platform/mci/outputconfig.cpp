#include "platform/mci/outputconfig.h"

#include "platform/files.h"
#include "platform/mbcs.h"
#include "platform/mci/loops.h"
#include "platform/mci/mcierror.h"
#include "platform/mci/outputlevel.h"
#include "platform/mci/outputtable.h"
#include "platform/mci/soundfonts.h"
#include "platform/profile.h"

#include <algorithm>

namespace mci {

namespace {

constexpr const char *kSection = "Output";
constexpr const char *kPlaybackSection = "Playback";

platform::ProfileFile MidiMap(const std::string &configFolder)
{
    return platform::ProfileFile(platform::IncludeTrailingDelimiter(configFolder) +
                                 kMidiMapFileName);
}

} // namespace

bool OutputConfig::operator==(const OutputConfig &other) const
{
    return SameOutput(*this, other) && gainDb == other.gainDb && loops == other.loops;
}

bool SameOutput(const OutputConfig &a, const OutputConfig &b)
{
    return a.device == b.device && a.port == b.port && a.soundFont == b.soundFont &&
           a.audioDriver == b.audioDriver;
}

OutputConfig ReadOutputConfig(const std::string &configFolder)
{
    return ReadOutputConfigFile(platform::IncludeTrailingDelimiter(configFolder) +
                                kMidiMapFileName);
}

OutputConfig ReadOutputConfigFile(const std::string &path)
{
    const platform::ProfileFile file(path);
    OutputConfig config;
    config.device = file.ReadString(kSection, "Device", "");
    config.port = file.ReadString(kSection, "Port", "");
    config.soundFont = file.ReadString(kSection, "SoundFont", "");
    config.audioDriver = file.ReadString(kSection, "AudioDriver", "");
    config.gainDb = ParseGainDb(file.ReadString(kSection, "Gain", ""));
    config.loops = ParseLoops(file.ReadString(kPlaybackSection, "Loops", ""));
    return config;
}

void WriteOutputConfig(const std::string &configFolder, const OutputConfig &config)
{
    platform::ProfileFile file = MidiMap(configFolder);
    file.WriteString(kSection, "Device", config.device);
    file.WriteString(kSection, "Port", config.port);
    file.WriteString(kSection, "SoundFont", config.soundFont);
    file.WriteString(kSection, "AudioDriver", config.audioDriver);
}

void WriteLoops(const std::string &configFolder, int loops)
{
    platform::ProfileFile file = MidiMap(configFolder);
    file.WriteString(kPlaybackSection, "Loops", std::to_string(std::clamp(loops, 0, kMaxLoops)));
}

double ReadVolume(const std::string &configFolder)
{
    return ParseVolume(MidiMap(configFolder).ReadString(kSection, "Volume", ""));
}

void WriteVolume(const std::string &configFolder, double volume)
{
    platform::ProfileFile file = MidiMap(configFolder);
    file.WriteString(kSection, "Volume", FormatVolume(volume));
}

std::string ResolveSoundFont(const OutputConfig &config)
{
    return config.soundFont.empty() ? DefaultSoundFont() : config.soundFont;
}

std::shared_ptr<MidiOutput> CreateOutput(const OutputConfig &config)
{
    if (const OutputKind *kind = FindOutputKind(config.device))
        return kind->create(config);
    throw EMCIDeviceError(std::string(kMidiMapFileName) + " names an unknown output device \"" +
                          config.device + "\" (use " + OutputKindNames() + ").");
}

std::vector<OutputChoice> ListOutputs()
{
    std::vector<OutputChoice> choices;
    for (const OutputKind &kind : OutputKinds())
        kind.list(choices);
    return choices;
}

} // namespace mci
