#include "platform/mci/outputconfig.h"

#include "platform/files.h"
#include "platform/mbcs.h"
#include "platform/mci/alsaoutput.h"
#include "platform/mci/alsaports.h"
#include "platform/mci/fluidoutput.h"
#include "platform/mci/loops.h"
#include "platform/mci/mcierror.h"
#include "platform/mci/outputlevel.h"
#include "platform/mci/silentoutput.h"
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

bool Is(const std::string &device, const char *name)
{
    return platform::SameTextAscii(device, name);
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
    const platform::ProfileFile file = MidiMap(configFolder);
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
    if (config.device.empty() || Is(config.device, kDeviceFluidSynth)) {
        FluidOutput::Options options;
        options.soundFont = ResolveSoundFont(config);
        if (options.soundFont.empty())
            throw EMCIDeviceError("No SoundFont is installed. Install one (for example the "
                                  "package fluid-soundfont-gm) or name one under SoundFont in "
                                  "midimap.ini.");
        options.audioDriver = config.audioDriver;
        return std::make_shared<FluidOutput>(options);
    }
    if (Is(config.device, kDeviceAlsa))
        return std::make_shared<AlsaOutput>(config.port);
    if (Is(config.device, kDeviceNone)) {
        SilentOutput::Options options;
        options.keepLog = false;
        return std::make_shared<SilentOutput>(std::make_shared<SteadyClock>(), options);
    }
    throw EMCIDeviceError("midimap.ini names an unknown output device \"" + config.device +
                          "\" (use fluidsynth, alsa or none).");
}

std::vector<OutputChoice> ListOutputs()
{
    std::vector<OutputChoice> choices;
    for (const std::string &soundFont : InstalledSoundFonts()) {
        OutputConfig config;
        config.device = kDeviceFluidSynth;
        config.soundFont = soundFont;
        choices.push_back({config, "FluidSynth: " + platform::ExtractFileName(soundFont)});
    }
    for (const AlsaPort &port : ListAlsaOutputPorts()) {
        OutputConfig config;
        config.device = kDeviceAlsa;
        config.port = port.clientName + ":" + std::to_string(port.port);
        choices.push_back({config, "ALSA: " + port.clientName + " - " + port.portName + " (" +
                                       port.Address() + ")"});
    }
    OutputConfig none;
    none.device = kDeviceNone;
    choices.push_back({none, "No sound"});
    return choices;
}

} // namespace mci
