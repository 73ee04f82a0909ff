#include "platform/mci/fluidinspect.h"

#include "platform/mci/modulerules.h"
#include "platform/mci/soundshaping.h"

namespace mci {

ChannelReport InspectChannel(fluid_synth_t *synth, int channel)
{
    ChannelReport report;
    fluid_synth_get_program(synth, channel, &report.sfontId, &report.bank, &report.program);
    if (fluid_preset_t *preset = fluid_synth_get_channel_preset(synth, channel))
        report.presetName = fluid_preset_get_name(preset);
    fluid_synth_program_change(synth, channel, report.program);
    int sfont = 0;
    int bank = 0;
    int program = 0;
    fluid_synth_get_program(synth, channel, &sfont, &bank, &program);
    report.drum = bank == kDrumBank;
    fluid_synth_program_select(synth, channel, report.sfontId, report.bank, report.program);
    for (const int generator : ShapingGenerators())
        report.shaping.push_back(fluid_synth_get_gen(synth, channel, generator));
    return report;
}

} // namespace mci
