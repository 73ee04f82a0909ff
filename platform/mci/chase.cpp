#include "platform/mci/chase.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace mci {

namespace {

constexpr int kUnset = -1;

struct Parameter
{
    bool nrpn = false;
    int msb = 0;
    int lsb = 0;
    int valueMsb = kUnset;
    int valueLsb = kUnset;
};

// One channel's settings as the song has made them so far.
class ChannelState
{
public:
    ChannelState() { controllers_.fill(kUnset); }

    void Apply(MessageView m);
    void Emit(int channel, std::vector<MidiMessage> &out) const;

private:
    void Control(int controller, int value);
    void DataEntry(bool lsb, int value);
    void ResetControllers();
    bool IsRpnController(int controller) const;

    std::array<int, 128> controllers_{};
    int program_ = kUnset;
    int pitchBend_ = kUnset;
    int pressure_ = kUnset;
    // The RPN and NRPN registers, and which of them data entry goes to (0 neither).
    int rpnMsb_ = 127, rpnLsb_ = 127, nrpnMsb_ = 127, nrpnLsb_ = 127;
    int selected_ = 0; // 1 RPN, 2 NRPN
    bool selectionSeen_ = false;
    std::vector<Parameter> parameters_;
};

void ChannelState::Apply(MessageView m)
{
    switch (m.Kind()) {
    case 0xB0:
        Control(m.data[1], m.data[2]);
        break;
    case 0xC0:
        program_ = m.data[1];
        break;
    case 0xD0:
        pressure_ = m.data[1];
        break;
    case 0xE0:
        pitchBend_ = m.data[1] | m.data[2] << 7;
        break;
    default:
        break;
    }
}

void ChannelState::Control(int controller, int value)
{
    switch (controller) {
    case cc::RpnMsb:
        rpnMsb_ = value, selected_ = 1, selectionSeen_ = true;
        break;
    case cc::RpnLsb:
        rpnLsb_ = value, selected_ = 1, selectionSeen_ = true;
        break;
    case cc::NrpnMsb:
        nrpnMsb_ = value, selected_ = 2, selectionSeen_ = true;
        break;
    case cc::NrpnLsb:
        nrpnLsb_ = value, selected_ = 2, selectionSeen_ = true;
        break;
    case cc::DataEntry:
        DataEntry(false, value);
        break;
    case cc::DataEntryLsb:
        DataEntry(true, value);
        break;
    case cc::ResetAllControllers:
        ResetControllers();
        break;
    default:
        // Channel mode messages (120 and up) and data increment and decrement set
        // nothing that can be replayed as a value.
        if (controller < cc::AllSoundOff && controller != cc::DataIncrement &&
            controller != cc::DataDecrement)
            controllers_[static_cast<std::size_t>(controller)] = value;
        break;
    }
}

void ChannelState::DataEntry(bool lsb, int value)
{
    const bool nrpn = selected_ == 2;
    const int msb = nrpn ? nrpnMsb_ : rpnMsb_;
    const int lsbNumber = nrpn ? nrpnLsb_ : rpnLsb_;
    if (selected_ == 0 || (msb == 127 && lsbNumber == 127))
        return; // no parameter selected: data entry does nothing
    auto it = std::find_if(parameters_.begin(), parameters_.end(), [&](const Parameter &p) {
        return p.nrpn == nrpn && p.msb == msb && p.lsb == lsbNumber;
    });
    if (it == parameters_.end())
        it = parameters_.insert(parameters_.end(), Parameter{nrpn, msb, lsbNumber});
    (lsb ? it->valueLsb : it->valueMsb) = value;
}

// Reset All Controllers returns what it resets to the state after a reset, which is
// the state the output reset before the chase leaves, so those need no replay.
void ChannelState::ResetControllers()
{
    for (const int controller : {1, 11, 64, 65, 66, 67})
        controllers_[static_cast<std::size_t>(controller)] = kUnset;
    pitchBend_ = kUnset;
    pressure_ = kUnset;
    rpnMsb_ = rpnLsb_ = nrpnMsb_ = nrpnLsb_ = 127;
    selected_ = 0;
    selectionSeen_ = false;
}

void ChannelState::Emit(int channel, std::vector<MidiMessage> &out) const
{
    const auto status = [channel](int kind) { return static_cast<std::uint8_t>(kind | channel); };
    const auto control = [&](int controller, int value) {
        out.push_back(ControlChange(channel, controller, value));
    };
    if (controllers_[cc::BankSelect] != kUnset)
        control(cc::BankSelect, controllers_[cc::BankSelect]);
    if (controllers_[cc::BankSelectLsb] != kUnset)
        control(cc::BankSelectLsb, controllers_[cc::BankSelectLsb]);
    if (program_ != kUnset)
        out.push_back({status(0xC0), static_cast<std::uint8_t>(program_)});
    for (int controller = 1; controller < cc::AllSoundOff; ++controller) {
        if (controller == cc::BankSelectLsb || controller == cc::DataEntry ||
            controller == cc::DataEntryLsb ||
            (controller >= cc::DataIncrement && controller <= cc::RpnMsb))
            continue;
        if (controllers_[static_cast<std::size_t>(controller)] != kUnset)
            control(controller, controllers_[static_cast<std::size_t>(controller)]);
    }
    for (const Parameter &p : parameters_) {
        control(p.nrpn ? cc::NrpnMsb : cc::RpnMsb, p.msb);
        control(p.nrpn ? cc::NrpnLsb : cc::RpnLsb, p.lsb);
        if (p.valueMsb != kUnset)
            control(cc::DataEntry, p.valueMsb);
        if (p.valueLsb != kUnset)
            control(cc::DataEntryLsb, p.valueLsb);
    }
    if (selectionSeen_ || !parameters_.empty()) {
        if (selected_ == 2) {
            control(cc::NrpnMsb, nrpnMsb_);
            control(cc::NrpnLsb, nrpnLsb_);
        } else {
            control(cc::RpnMsb, rpnMsb_);
            control(cc::RpnLsb, rpnLsb_);
        }
    }
    if (pitchBend_ != kUnset)
        out.push_back({status(0xE0), static_cast<std::uint8_t>(pitchBend_ & 0x7F),
                       static_cast<std::uint8_t>(pitchBend_ >> 7)});
    if (pressure_ != kUnset)
        out.push_back({status(0xD0), static_cast<std::uint8_t>(pressure_)});
}

bool Matches(MessageView m, std::initializer_list<int> pattern)
{
    if (m.size < pattern.size())
        return false;
    std::size_t i = 0;
    for (const int byte : pattern) {
        if (byte >= 0 && m.data[i] != byte)
            return false;
        ++i;
    }
    return true;
}

} // namespace

bool IsResetSysEx(MessageView m)
{
    if (!m.IsSysEx())
        return false;
    constexpr int any = -1;
    return Matches(m, {0xF0, 0x7E, any, 0x09, 0x01}) ||                   // GM System On
           Matches(m, {0xF0, 0x7E, any, 0x09, 0x02}) ||                   // GM System Off
           Matches(m, {0xF0, 0x7E, any, 0x09, 0x03}) ||                   // GM2 System On
           Matches(m, {0xF0, 0x41, any, 0x42, 0x12, 0x40, 0x00, 0x7F}) || // GS Reset
           Matches(m, {0xF0, 0x41, any, 0x42, 0x12, 0x00, 0x00, 0x7F}) || // GS System Mode Set
           Matches(m, {0xF0, 0x43, any, 0x4C, 0x00, 0x00, 0x7E}) ||       // XG System On
           Matches(m, {0xF0, 0x43, any, 0x4C, 0x00, 0x00, 0x7F});         // XG All Parameter Reset
}

namespace {

// Builds a device list, adding a port select wherever the port changes.
class PortedList
{
public:
    void Add(int port, MidiMessage message)
    {
        if (port != port_)
            out_.push_back(PortSelect(port));
        port_ = port;
        out_.push_back(std::move(message));
    }
    std::vector<MidiMessage> Take() { return std::move(out_); }

private:
    std::vector<MidiMessage> out_;
    int port_ = 0;
};

} // namespace

std::vector<MidiMessage> ChaseMessages(const Song &song, std::size_t firstEvent)
{
    std::array<ChannelState, kPorts * 16> channels;
    std::vector<std::size_t> sysex; // event indices
    const std::size_t end = std::min(firstEvent, song.events.size());
    for (std::size_t i = 0; i < end; ++i) {
        const MessageView m = song.Message(song.events[i]);
        if (m.IsSysEx()) {
            if (IsResetSysEx(m)) {
                sysex.clear();
                channels.fill(ChannelState());
            }
            sysex.push_back(i);
        } else {
            channels[static_cast<std::size_t>(m.port * 16 + m.Channel())].Apply(m);
        }
    }

    PortedList out;
    for (int port = 0; port < kPorts; ++port) {
        if ((song.ports & (1u << port)) == 0)
            continue;
        for (int channel = 0; channel < 16; ++channel) {
            out.Add(port, ControlChange(channel, cc::AllSoundOff, 0));
            out.Add(port, ControlChange(channel, cc::ResetAllControllers, 0));
        }
    }
    for (const std::size_t i : sysex) {
        const MessageView m = song.Message(song.events[i]);
        out.Add(m.port, MidiMessage(m.data, m.data + m.size));
    }
    for (int port = 0; port < kPorts; ++port) {
        for (int channel = 0; channel < 16; ++channel) {
            std::vector<MidiMessage> messages;
            channels[static_cast<std::size_t>(port * 16 + channel)].Emit(channel, messages);
            for (MidiMessage &message : messages)
                out.Add(port, std::move(message));
        }
    }
    return out.Take();
}

} // namespace mci
