#include "outside/rcpcv/exclusive.h"

namespace rcpcv {

namespace {

constexpr uint8_t kPutP1 = 0x80;
constexpr uint8_t kPutP2 = 0x81;
constexpr uint8_t kPutChannel = 0x82;
constexpr uint8_t kStartChecksum = 0x83;
constexpr uint8_t kPutChecksum = 0x84;
constexpr uint8_t kEnd = 0xF7;
constexpr char kSysExStart = static_cast<char>(0xF0);
constexpr char kSysExEnd = static_cast<char>(0xF7);
constexpr uint8_t kRoland = 0x41;
constexpr uint8_t kYamaha = 0x43;
constexpr uint8_t kDataSet1 = 0x12;

// Collects data bytes and the running Roland checksum.
class ExclusiveWriter
{
public:
    void Put(uint8_t value)
    {
        const uint8_t data = value & 0x7F;
        data_.push_back(static_cast<char>(data));
        sum_ = (sum_ + data) & 0x7F;
    }
    void StartChecksum() { sum_ = 0; }
    void PutChecksum() { Put(static_cast<uint8_t>((0x80 - sum_) & 0x7F)); }
    std::string Message() const
    {
        return data_.empty() ? std::string() : kSysExStart + data_ + kSysExEnd;
    }

private:
    std::string data_;
    unsigned sum_ = 0;
};

// Shortcuts of the form F0 43 (10 + channel) <prefix...> p1 p2 F7; 0 marks the end of a
// prefix, and kNone a command without a shortcut.
constexpr uint8_t kNone = 0xFF;
struct YamahaForm
{
    uint8_t prefix[2];
    bool hasGroup; // bit 7 of p1 goes into the first prefix byte
};
constexpr YamahaForm kYamahaForms[16] = {
    {{0x08, 0}, true},     // C0 DX7 function
    {{0x00, 0}, true},     // C1 DX voice parameter
    {{0x04, 0}, true},     // C2 DX performance
    {{0x11, 0}, false},    // C3 TX function
    {{kNone, 0}, false},   // C4 none
    {{0x15, 0}, false},    // C5 FB-01 parameter
    {{kNone, 0}, false},   // C6 FB-01 system: a form of its own
    {{0x12, 0}, false},    // C7 TX81Z VCED
    {{0x13, 0}, false},    // C8 TX81Z ACED
    {{0x10, 0}, false},    // C9 TX81Z PCED
    {{0x10, 0x7B}, false}, // CA TX81Z system
    {{0x10, 0x7C}, false}, // CB TX81Z effect
    {{0x1B, 0}, false},    // CC DX7II remote switch
    {{0x18, 0}, false},    // CD DX7II ACED
    {{0x19, 0}, false},    // CE DX7II PCED
    {{0x1A, 0}, false},    // CF TX802 PCED
};
constexpr uint8_t kFb01System = 0xC6;

} // namespace

std::string ExpandExclusive(ByteView tmpl, const ExclusiveParams &params)
{
    ExclusiveWriter writer;
    for (size_t i = 0; i < tmpl.Size(); ++i) {
        const uint8_t byte = tmpl.U8(i);
        if (byte == kEnd)
            break;
        switch (byte) {
        case kPutP1:
            writer.Put(params.p1);
            break;
        case kPutP2:
            writer.Put(params.p2);
            break;
        case kPutChannel:
            writer.Put(params.channel & 0x0F);
            break;
        case kStartChecksum:
            writer.StartChecksum();
            break;
        case kPutChecksum:
            writer.PutChecksum();
            break;
        default:
            if (byte >= 0x80)
                return {};
            writer.Put(byte);
        }
    }
    return writer.Message();
}

std::string RolandDataSet(uint8_t device, uint8_t model, uint32_t address, ByteView data)
{
    ExclusiveWriter writer;
    writer.Put(kRoland);
    writer.Put(device);
    writer.Put(model);
    writer.Put(kDataSet1);
    writer.StartChecksum();
    writer.Put(static_cast<uint8_t>(address >> 14));
    writer.Put(static_cast<uint8_t>(address >> 7));
    writer.Put(static_cast<uint8_t>(address));
    for (size_t i = 0; i < data.Size(); ++i)
        writer.Put(data.U8(i));
    writer.PutChecksum();
    return writer.Message();
}

std::string YamahaShortcut(uint8_t command, uint8_t channel, uint16_t p1, uint8_t p2)
{
    if (command < 0xC0 || command > 0xCF)
        return {};
    ExclusiveWriter writer;
    writer.Put(kYamaha);
    if (command == kFb01System) {
        writer.Put(0x75);
        writer.Put(channel);
        writer.Put(0x10);
    } else {
        const YamahaForm &form = kYamahaForms[command - 0xC0];
        if (form.prefix[0] == kNone)
            return {};
        writer.Put(static_cast<uint8_t>(0x10 | (channel & 0x0F)));
        const uint8_t group = form.hasGroup ? static_cast<uint8_t>((p1 >> 7) & 1) : 0;
        writer.Put(static_cast<uint8_t>(form.prefix[0] | group));
        if (form.prefix[1] != 0)
            writer.Put(form.prefix[1]);
    }
    writer.Put(static_cast<uint8_t>(p1));
    writer.Put(p2);
    return writer.Message();
}

uint32_t RolandAddress(uint8_t high, uint8_t middle, uint8_t low)
{
    return static_cast<uint32_t>(high & 0x7F) << 14 | static_cast<uint32_t>(middle & 0x7F) << 7 |
           (low & 0x7Fu);
}

uint32_t AdvanceRolandAddress(uint32_t address, size_t bytes)
{
    return static_cast<uint32_t>((address + bytes) & 0x1FFFFF);
}

} // namespace rcpcv
