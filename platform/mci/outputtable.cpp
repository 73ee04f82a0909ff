#include "platform/mci/outputtable.h"

#include "platform/files.h"
#include "platform/mbcs.h"
#include "platform/mci/alsaoutput.h"
#include "platform/mci/alsaports.h"
#include "platform/mci/fluidoutput.h"
#include "platform/mci/fluidsynthhost.h"
#include "platform/mci/mcierror.h"
#include "platform/mci/silentoutput.h"
#include "platform/mci/soundfonts.h"

namespace mci {

namespace {

std::string FluidSynthLine(const std::string &soundFontName)
{
    return "FluidSynth: " + soundFontName;
}

std::shared_ptr<MidiOutput> CreateFluidSynth(const OutputConfig &config)
{
    FluidOutput::Options options;
    options.soundFont = ResolveSoundFont(config);
    if (options.soundFont.empty())
        throw EMCIDeviceError("No SoundFont is installed. Install one (for example the "
                              "package fluid-soundfont-gm) or name one under SoundFont in " +
                              std::string(kMidiMapFileName) + ".");
    options.audioDriver = config.audioDriver;
    return std::make_shared<FluidOutput>(options);
}

void ListFluidSynth(std::vector<OutputChoice> &choices)
{
    for (const std::string &soundFont : InstalledSoundFonts()) {
        OutputConfig config;
        config.device = kDeviceFluidSynth;
        config.soundFont = soundFont;
        choices.push_back({config, FluidSynthLine(platform::ExtractFileName(soundFont))});
    }
}

// No SoundFont stands for the default one, the first offered.
bool ChoosesFluidSynth(const OutputConfig &offered, const OutputConfig &wanted)
{
    return wanted.soundFont.empty() || offered.soundFont == wanted.soundFont;
}

std::string DescribeFluidSynth(const OutputConfig &config)
{
    return FluidSynthLine(config.soundFont.empty() ? "the default SoundFont"
                                                   : platform::ExtractFileName(config.soundFont));
}

// The SoundFont loads while the program starts, so the first song need not wait for it.
void PreloadFluidSynth(const OutputConfig &config)
{
    const std::string soundFont = ResolveSoundFont(config);
    if (!soundFont.empty())
        fluidhost::Preload(soundFont, kLiveSampleRate);
}

std::shared_ptr<MidiOutput> CreateAlsa(const OutputConfig &config)
{
    return std::make_shared<AlsaOutput>(config.port);
}

void ListAlsa(std::vector<OutputChoice> &choices)
{
    for (const AlsaPort &port : ListAlsaOutputPorts()) {
        OutputConfig config;
        config.device = kDeviceAlsa;
        config.port = port.clientName + ":" + std::to_string(port.port);
        choices.push_back({config, "ALSA: " + port.clientName + " - " + port.portName + " (" +
                                       port.Address() + ")"});
    }
}

bool ChoosesAlsa(const OutputConfig &offered, const OutputConfig &wanted)
{
    return offered.port == wanted.port;
}

std::string DescribeAlsa(const OutputConfig &config)
{
    return "ALSA: " + config.port;
}

std::shared_ptr<MidiOutput> CreateSilent(const OutputConfig &)
{
    SilentOutput::Options options;
    options.keepLog = false;
    return std::make_shared<SilentOutput>(std::make_shared<SteadyClock>(), options);
}

void ListSilent(std::vector<OutputChoice> &choices)
{
    OutputConfig none;
    none.device = kDeviceNone;
    choices.push_back({none, "No sound"});
}

bool ChoosesSilent(const OutputConfig &, const OutputConfig &)
{
    return true;
}

std::string DescribeSilent(const OutputConfig &)
{
    return "No sound";
}

void PreloadNothing(const OutputConfig &) {}

} // namespace

const std::vector<OutputKind> &OutputKinds()
{
    static const std::vector<OutputKind> kinds = {
        {kDeviceFluidSynth, CreateFluidSynth, ListFluidSynth, ChoosesFluidSynth, DescribeFluidSynth,
         PreloadFluidSynth},
        {kDeviceAlsa, CreateAlsa, ListAlsa, ChoosesAlsa, DescribeAlsa, PreloadNothing},
        {kDeviceNone, CreateSilent, ListSilent, ChoosesSilent, DescribeSilent, PreloadNothing},
    };
    return kinds;
}

const OutputKind *FindOutputKind(const std::string &device)
{
    const std::vector<OutputKind> &kinds = OutputKinds();
    if (device.empty())
        return &kinds.front();
    for (const OutputKind &kind : kinds) {
        if (platform::SameTextAscii(device, kind.name))
            return &kind;
    }
    return nullptr;
}

std::string OutputKindNames()
{
    const std::vector<OutputKind> &kinds = OutputKinds();
    std::string names;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        if (i > 0)
            names += i + 1 == kinds.size() ? " or " : ", ";
        names += kinds[i].name;
    }
    return names;
}

} // namespace mci
