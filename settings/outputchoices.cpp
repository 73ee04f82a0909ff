#include "outputchoices.h"

#include "platform/mci/outputtable.h"

int FindOutputChoice(const std::vector<mci::OutputChoice> &choices, const mci::OutputConfig &config)
{
    const mci::OutputKind *kind = mci::FindOutputKind(config.device);
    if (kind == nullptr)
        return -1;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const mci::OutputConfig &offered = choices[i].config;
        if (mci::FindOutputKind(offered.device) == kind && kind->chooses(offered, config))
            return static_cast<int>(i);
    }
    return -1;
}

mci::OutputConfig ChosenOutput(const mci::OutputChoice &choice, const mci::OutputConfig &current)
{
    mci::OutputConfig chosen = choice.config;
    chosen.audioDriver = current.audioDriver;
    chosen.gainDb = current.gainDb;
    chosen.loops = current.loops;
    return chosen;
}

std::string DescribeUnavailableOutput(const mci::OutputConfig &config)
{
    const mci::OutputKind *kind = mci::FindOutputKind(config.device);
    const std::string what = kind != nullptr ? kind->describe(config) : "\"" + config.device + "\"";
    return what + " (not available now)";
}
