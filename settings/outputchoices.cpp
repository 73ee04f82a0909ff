#include "outputchoices.h"

#include "platform/files.h"
#include "platform/mbcs.h"

namespace {

bool IsDevice(const std::string &device, const char *name)
{
    return platform::SameTextAscii(device, name);
}

// The device name with no device read as FluidSynth.
std::string DeviceOf(const mci::OutputConfig &config)
{
    return config.device.empty() ? mci::kDeviceFluidSynth : config.device;
}

int FirstFluidSynthChoice(const std::vector<mci::OutputChoice> &choices)
{
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (IsDevice(DeviceOf(choices[i].config), mci::kDeviceFluidSynth))
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace

int FindOutputChoice(const std::vector<mci::OutputChoice> &choices, const mci::OutputConfig &config)
{
    const std::string device = DeviceOf(config);
    const bool fluidSynth = IsDevice(device, mci::kDeviceFluidSynth);
    if (fluidSynth && config.soundFont.empty())
        return FirstFluidSynthChoice(choices);
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const mci::OutputConfig &offered = choices[i].config;
        if (!platform::SameTextAscii(DeviceOf(offered), device))
            continue;
        if (fluidSynth && offered.soundFont != config.soundFont)
            continue;
        if (IsDevice(device, mci::kDeviceAlsa) && offered.port != config.port)
            continue;
        return static_cast<int>(i);
    }
    return -1;
}

mci::OutputConfig ChosenOutput(const mci::OutputChoice &choice, const mci::OutputConfig &current)
{
    mci::OutputConfig chosen = choice.config;
    chosen.audioDriver = current.audioDriver;
    return chosen;
}

std::string DescribeUnavailableOutput(const mci::OutputConfig &config)
{
    const std::string device = DeviceOf(config);
    std::string what;
    if (IsDevice(device, mci::kDeviceFluidSynth))
        what = "FluidSynth: " + (config.soundFont.empty()
                                     ? std::string("the default SoundFont")
                                     : platform::ExtractFileName(config.soundFont));
    else if (IsDevice(device, mci::kDeviceAlsa))
        what = "ALSA: " + config.port;
    else
        what = "\"" + device + "\"";
    return what + " (not available now)";
}
