#include "platform/mci/modulelayer.h"

#include "platform/mci/soundshaping.h"

#include <algorithm>

namespace mci {

namespace {

constexpr int kDrumChannel = 9;
constexpr int kDefaultReverbSend = 40;
constexpr int kXgDrumMsb = 127;
constexpr int kGm2DrumMsb = 120;
constexpr int kGm2MelodicMsb = 121;
constexpr int kMidiTuning = 0x08;
constexpr double kMaxGain = 10.0; // FluidSynth's limit

PresetCatalogue ReadPresets(fluid_synth_t *synth, int sfontId)
{
    PresetCatalogue presets;
    fluid_sfont_t *sfont = fluid_synth_get_sfont_by_id(synth, sfontId);
    if (!sfont)
        return presets;
    fluid_sfont_iteration_start(sfont);
    while (fluid_preset_t *preset = fluid_sfont_iteration_next(sfont))
        presets.Add(fluid_preset_get_banknum(preset), fluid_preset_get_num(preset));
    return presets;
}

// A part's bank select and drum setting right after a reset in mode.
PartSelection ResetSelection(ModuleMode mode, int channel)
{
    PartSelection selection;
    selection.drum = channel % 16 == kDrumChannel;
    if (mode == ModuleMode::xg && selection.drum)
        selection.msb = kXgDrumMsb;
    if (mode == ModuleMode::gm2)
        selection.msb = selection.drum ? kGm2DrumMsb : kGm2MelodicMsb;
    return selection;
}

bool IsMidiTuning(MessageView m)
{
    return m.size >= 5 && (m.data[1] == 0x7E || m.data[1] == 0x7F) && m.data[3] == kMidiTuning;
}

} // namespace

ModuleLayer::ModuleLayer(fluid_synth_t *synth, int sfontId)
    : synth_(synth)
    , sfontId_(sfontId)
    , presets_(ReadPresets(synth, sfontId))
{
    Reset(kPowerOnMode);
}

void ModuleLayer::SetOutputLevel(double gain)
{
    outputLevel_ = std::max(0.0, gain);
    ApplyGain();
}

// Master volume follows the curve of the part volume, as the modules' does: the amplitude
// goes with the square of the level.
void ModuleLayer::ApplyGain()
{
    const double gain = outputLevel_ * masterVolume_ * masterVolume_;
    fluid_synth_set_gain(synth_, static_cast<float>(std::min(gain, kMaxGain)));
}

void ModuleLayer::Reset(ModuleMode mode)
{
    mode_ = mode;
    fluid_synth_system_reset(synth_);
    for (int channel = 0; channel < kChannels; ++channel) {
        Part &part = parts_[static_cast<std::size_t>(channel)];
        part = Part();
        part.selection = ResetSelection(mode, channel);
        fluid_synth_cc(synth_, channel, cc::ReverbSend, kDefaultReverbSend);
        fluid_synth_cc(synth_, channel, cc::ChorusSend, 0);
        Select(channel);
    }
    masterVolume_ = 1.0;
    ApplyGain();
}

void ModuleLayer::Select(int channel)
{
    Part &part = parts_[static_cast<std::size_t>(channel)];
    part.voice = ChooseVoice(mode_, part.selection, presets_);
    fluid_synth_set_channel_type(synth_, channel,
                                 part.voice.drum ? CHANNEL_TYPE_DRUM : CHANNEL_TYPE_MELODIC);
    fluid_synth_program_select(synth_, channel, sfontId_, part.voice.bank, part.voice.program);
}

void ModuleLayer::Send(MessageView m)
{
    if (m.IsSysEx()) {
        SysEx(m);
        return;
    }
    if (!m.IsChannel() || m.size < 2)
        return;
    const int channel = (m.port % kPorts) * 16 + m.Channel();
    const int data1 = m.data[1];
    const int data2 = m.size > 2 ? m.data[2] : 0;
    switch (m.Kind()) {
    case 0x80:
        fluid_synth_noteoff(synth_, channel, data1);
        break;
    case 0x90:
        NoteOn(channel, data1, data2);
        break;
    case 0xA0:
        fluid_synth_key_pressure(synth_, channel, data1, data2);
        break;
    case 0xB0:
        Control(channel, data1, data2);
        break;
    case 0xC0:
        ProgramChange(channel, data1);
        break;
    case 0xD0:
        fluid_synth_channel_pressure(synth_, channel, data1);
        break;
    default:
        fluid_synth_pitch_bend(synth_, channel, data1 | data2 << 7);
        break;
    }
}

void ModuleLayer::SysEx(MessageView m)
{
    const std::vector<ModuleRequest> requests = DecodeModuleSysEx(m);
    for (const ModuleRequest &request : requests)
        Apply(request);
    if (requests.empty() && IsMidiTuning(m))
        fluid_synth_sysex(synth_, reinterpret_cast<const char *>(m.data + 1),
                          static_cast<int>(m.size - 2), nullptr, nullptr, nullptr, 0);
}

void ModuleLayer::Apply(const ModuleRequest &request)
{
    switch (request.kind) {
    case ModuleRequest::Kind::reset:
        Reset(request.mode);
        return;
    case ModuleRequest::Kind::masterVolume:
        masterVolume_ = std::clamp(request.level, 0.0, 1.0);
        ApplyGain();
        return;
    case ModuleRequest::Kind::rhythmPart:
    case ModuleRequest::Kind::xgPartMode:
        break;
    }
    if (request.part < 0 || request.part >= kChannels)
        return;
    parts_[static_cast<std::size_t>(request.part)].selection.drum = request.value != 0;
    Select(request.part);
}

// Bank select waits for the next program change, as on every module; portamento is
// played by the layer (see NoteOn); the rest goes on to FluidSynth.
void ModuleLayer::Control(int channel, int controller, int value)
{
    Part &part = parts_[static_cast<std::size_t>(channel)];
    switch (controller) {
    case cc::BankSelect:
        part.selection.msb = value;
        return;
    case cc::BankSelectLsb:
        part.selection.lsb = value;
        return;
    case cc::PortamentoTime:
        part.portamentoTime = value;
        return;
    case cc::PortamentoTimeLsb:
        return;
    case cc::Portamento:
        part.portamento = value >= 64;
        return;
    case cc::PortamentoControl:
        part.glideFrom = value;
        return;
    case cc::NrpnMsb:
    case cc::NrpnLsb:
        (controller == cc::NrpnMsb ? part.nrpnMsb : part.nrpnLsb) = value;
        part.nrpnSelected = true;
        break;
    case cc::RpnMsb:
    case cc::RpnLsb:
        part.nrpnSelected = false;
        break;
    case cc::DataEntry:
        DataEntry(channel, value);
        break;
    default:
        break;
    }
    fluid_synth_cc(synth_, channel, controller, value);
    if (controller == cc::ResetAllControllers) {
        // FluidSynth clears the NRPN offsets too, which a module keeps.
        part.portamento = false;
        part.glideFrom = -1;
        part.nrpnSelected = false;
        part.nrpnMsb = part.nrpnLsb = 127;
        ApplyShaping(channel);
    }
}

void ModuleLayer::DataEntry(int channel, int value)
{
    Part &part = parts_[static_cast<std::size_t>(channel)];
    if (!part.nrpnSelected || (mode_ != ModuleMode::gs && mode_ != ModuleMode::xg))
        return;
    const auto generators = ShapingGenerators();
    for (const GeneratorOffset &offset : NrpnOffsets(part.nrpnMsb, part.nrpnLsb, value)) {
        const auto it = std::find(generators.begin(), generators.end(), offset.generator);
        if (it == generators.end())
            continue;
        part.shaping[static_cast<std::size_t>(it - generators.begin())] = offset.amount;
        fluid_synth_set_gen(synth_, channel, offset.generator, offset.amount);
    }
}

void ModuleLayer::ApplyShaping(int channel)
{
    const Part &part = parts_[static_cast<std::size_t>(channel)];
    const auto generators = ShapingGenerators();
    for (std::size_t i = 0; i < generators.size(); ++i)
        if (part.shaping[i] != 0)
            fluid_synth_set_gen(synth_, channel, generators[i], part.shaping[i]);
}

void ModuleLayer::ProgramChange(int channel, int program)
{
    Part &part = parts_[static_cast<std::size_t>(channel)];
    part.selection.program = program;
    part.selection.drum = DrumByBank(mode_, part.selection);
    Select(channel);
}

// A glide is handed to FluidSynth as Portamento Control from the key it starts on, with
// the time the module would take over that interval.
void ModuleLayer::NoteOn(int channel, int key, int velocity)
{
    Part &part = parts_[static_cast<std::size_t>(channel)];
    if (velocity > 0 && !part.voice.drum) {
        const int from =
            part.glideFrom >= 0 ? part.glideFrom : (part.portamento ? part.lastKey : -1);
        if (from >= 0 && from != key) {
            const int ms = GlideMs(part.portamentoTime, key - from);
            fluid_synth_cc(synth_, channel, cc::PortamentoTime, ms >> 7);
            fluid_synth_cc(synth_, channel, cc::PortamentoTimeLsb, ms & 0x7F);
            fluid_synth_cc(synth_, channel, cc::PortamentoControl, from);
        }
        part.glideFrom = -1;
        part.lastKey = key;
    }
    fluid_synth_noteon(synth_, channel, key, velocity);
}

} // namespace mci
