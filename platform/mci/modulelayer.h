#pragma once
// The module layer: what sits between the device and FluidSynth and does what a GS or XG
// module does with what a song sends. Every message the FluidSynth output sends goes
// through Send, which keeps each part's state and tells FluidSynth what to play:
//  - resets (GM System On, GM2 On, GS Reset, System Mode Set, XG System On and All
//    Parameter Reset, whatever their device ID) reset every part as the module does and
//    set the bank rules from then on; FluidSynth's own SysEx handling and bank-select mode
//    decide nothing, since neither SysEx nor bank select reaches FluidSynth;
//  - program changes select a preset by the mode's rules (see ChooseVoice) through
//    FluidSynth's program-select and channel-type calls, and GS "use for rhythm part" and
//    XG part mode switch parts between drums and voices;
//  - master volume (GM, GS, XG) scales the output level;
//  - parts of ports B to D are FluidSynth channels 17-32, 33-48 and 49-64;
//  - portamento time glides at the module's rate (see GlideMs), each glide started from
//    the last note with Portamento Control, and the part NRPNs FluidSynth can express
//    become generator offsets (see NrpnOffsets);
//  - everything else (notes, the other controllers, RPNs, MIDI tuning SysEx) goes to
//    FluidSynth as it is.
// Used under the output's lock, from whichever thread renders.

#include "platform/mci/midimessage.h"
#include "platform/mci/modulerules.h"
#include "platform/mci/modulesysex.h"
#include "platform/mci/soundshaping.h"

#include <fluidsynth.h>

#include <array>
#include <tuple>

namespace mci {

class ModuleLayer
{
public:
    static constexpr int kChannels = kPorts * 16;

    // synth must have kChannels MIDI channels and the SoundFont sfontId loaded; the layer
    // starts as a module that has just been switched on (kPowerOnMode).
    ModuleLayer(fluid_synth_t *synth, int sfontId);

    void Send(MessageView message);

    // The level master volume scales: FluidSynth's gain at full master volume.
    void SetOutputLevel(double gain);

    ModuleMode Mode() const { return mode_; }
    double MasterVolume() const { return masterVolume_; }
    // What the layer asked FluidSynth to play on part (port * 16 + channel).
    Voice PartVoice(int part) const { return parts_[static_cast<std::size_t>(part)].voice; }

private:
    struct Part
    {
        PartSelection selection;
        Voice voice;
        bool nrpnSelected = false; // data entry goes to the NRPN (else to an RPN)
        int nrpnMsb = 127;
        int nrpnLsb = 127;
        // The offsets the NRPNs set, by generator as ShapingGenerators lists them.
        std::array<float, std::tuple_size<decltype(ShapingGenerators())>::value> shaping{};
        int portamentoTime = 0;
        bool portamento = false;
        int lastKey = -1;   // the last note played, where the next glide starts
        int glideFrom = -1; // Portamento Control: the key the next note glides from
    };

    void Reset(ModuleMode mode);
    void Apply(const ModuleRequest &request);
    void SysEx(MessageView message);
    void Control(int channel, int controller, int value);
    void DataEntry(int channel, int value);
    void ProgramChange(int channel, int program);
    void NoteOn(int channel, int key, int velocity);
    void Select(int channel);
    void ApplyShaping(int channel);
    void ApplyGain();

    fluid_synth_t *synth_;
    int sfontId_;
    PresetCatalogue presets_;
    ModuleMode mode_ = kPowerOnMode;
    std::array<Part, kChannels> parts_;
    double outputLevel_ = 1.0;
    double masterVolume_ = 1.0;
};

} // namespace mci
