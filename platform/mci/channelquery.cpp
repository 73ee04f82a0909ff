#include "platform/mci/channelquery.h"

#include "platform/mci/modulerules.h"
#include "platform/mci/soundshaping.h"

namespace mci {

ChannelReport QueryChannel(fluid_synth_t *synth, int channel)
{
    ChannelReport report;
    int selectedBank = 0;
    int selectedProgram = 0;
    fluid_synth_get_program(synth, channel, &report.sfontId, &selectedBank, &selectedProgram);
    report.bank = selectedBank;
    report.program = selectedProgram;
    if (fluid_preset_t *preset = fluid_synth_get_channel_preset(synth, channel)) {
        report.presetName = fluid_preset_get_name(preset);
        report.bank = fluid_preset_get_banknum(preset);
        report.program = fluid_preset_get_num(preset);
    }
    fluid_synth_program_change(synth, channel, selectedProgram);
    int sfont = 0;
    int bank = 0;
    int program = 0;
    fluid_synth_get_program(synth, channel, &sfont, &bank, &program);
    report.drum = bank == kDrumBank;
    fluid_synth_program_select(synth, channel, report.sfontId, selectedBank, selectedProgram);
    for (const int generator : ShapingGenerators())
        report.shaping.push_back(fluid_synth_get_gen(synth, channel, generator));
    return report;
}

} // namespace mci
