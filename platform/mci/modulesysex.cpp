#include "platform/mci/modulesysex.h"

namespace mci {

namespace {

constexpr std::uint8_t kRoland = 0x41;
constexpr std::uint8_t kYamaha = 0x43;
constexpr std::uint8_t kNonRealTime = 0x7E;
constexpr std::uint8_t kRealTime = 0x7F;
constexpr std::uint8_t kGsModel = 0x42;
constexpr std::uint8_t kRolandDataSet = 0x12;
constexpr std::uint8_t kXgModel = 0x4C;

bool IsRolandDevice(std::uint8_t id)
{
    return id <= 0x1F || id == 0x7F;
}

// A three-byte address of seven-bit bytes as one number, and back.
int Address(const std::uint8_t *p)
{
    return p[0] << 14 | p[1] << 7 | p[2];
}
constexpr int Address(int high, int mid, int low)
{
    return high << 14 | mid << 7 | low;
}
int AddressByte(int address, int index)
{
    return (address >> (14 - 7 * index)) & 0x7F;
}

ModuleRequest Reset(ModuleMode mode)
{
    ModuleRequest request;
    request.kind = ModuleRequest::Kind::reset;
    request.mode = mode;
    return request;
}

ModuleRequest Volume(double level)
{
    ModuleRequest request;
    request.kind = ModuleRequest::Kind::masterVolume;
    request.level = level;
    return request;
}

ModuleRequest PartValue(ModuleRequest::Kind kind, int part, int value)
{
    ModuleRequest request;
    request.kind = kind;
    request.part = part;
    request.value = value;
    return request;
}

// GS part numbers in an address: 0 is part 10, 1-9 parts 1-9, 10-15 parts 11-16.
int GsPartChannel(int x)
{
    return x == 0 ? 9 : (x <= 9 ? x - 1 : x);
}

void DecodeGsAddress(int address, int value, int port, std::vector<ModuleRequest> &out)
{
    const int high = AddressByte(address, 0);
    const int mid = AddressByte(address, 1);
    const int low = AddressByte(address, 2);
    if (address == Address(0x40, 0x00, 0x7F) || address == Address(0x00, 0x00, 0x7F)) {
        out.push_back(Reset(ModuleMode::gs));
    } else if (address == Address(0x40, 0x00, 0x04)) {
        out.push_back(Volume(value / 127.0));
    } else if ((high == 0x40 || high == 0x50) && (mid & 0xF0) == 0x10 && low == 0x15) {
        const int partPort = high == 0x50 ? 1 : port;
        out.push_back(PartValue(ModuleRequest::Kind::rhythmPart,
                                partPort * 16 + GsPartChannel(mid & 0x0F), value));
    }
}

void DecodeXgAddress(int address, int value, std::vector<ModuleRequest> &out)
{
    const int high = AddressByte(address, 0);
    const int part = AddressByte(address, 1);
    const int low = AddressByte(address, 2);
    if (address == Address(0x00, 0x00, 0x7E) || address == Address(0x00, 0x00, 0x7F)) {
        out.push_back(Reset(ModuleMode::xg));
    } else if (address == Address(0x00, 0x00, 0x04)) {
        out.push_back(Volume(value / 127.0));
    } else if (high == 0x08 && low == 0x07 && part < kPorts * 16) {
        out.push_back(PartValue(ModuleRequest::Kind::xgPartMode, part, value));
    }
}

// F0 41 dd 42 12 a a a d... sum F7: the address, one or more data bytes, the checksum.
void DecodeRoland(MessageView m, std::vector<ModuleRequest> &out)
{
    if (m.size < 11 || !IsRolandDevice(m.data[2]) || m.data[3] != kGsModel ||
        m.data[4] != kRolandDataSet)
        return;
    int sum = 0;
    for (std::size_t i = 5; i < m.size - 1; ++i)
        sum += m.data[i];
    if ((sum & 0x7F) != 0)
        return;
    const int address = Address(m.data + 5);
    const std::size_t values = m.size - 10;
    for (std::size_t i = 0; i < values; ++i)
        DecodeGsAddress(address + static_cast<int>(i), m.data[8 + i], m.port, out);
}

// F0 43 1n 4C a a a d... F7.
void DecodeYamaha(MessageView m, std::vector<ModuleRequest> &out)
{
    if (m.size < 9 || (m.data[2] & 0xF0) != 0x10 || m.data[3] != kXgModel)
        return;
    const int address = Address(m.data + 4);
    const std::size_t values = m.size - 8;
    for (std::size_t i = 0; i < values; ++i)
        DecodeXgAddress(address + static_cast<int>(i), m.data[7 + i], out);
}

void DecodeUniversal(MessageView m, std::vector<ModuleRequest> &out)
{
    if (m.data[1] == kNonRealTime && m.size >= 6 && m.data[3] == 0x09) {
        switch (m.data[4]) {
        case 0x01:
            out.push_back(Reset(ModuleMode::gm));
            break;
        case 0x02:
            out.push_back(Reset(kPowerOnMode));
            break;
        case 0x03:
            out.push_back(Reset(ModuleMode::gm2));
            break;
        default:
            break;
        }
    } else if (m.data[1] == kRealTime && m.size >= 8 && m.data[3] == 0x04 && m.data[4] == 0x01) {
        out.push_back(Volume((m.data[6] << 7 | m.data[5]) / 16383.0));
    }
}

} // namespace

const char *ModeName(ModuleMode mode)
{
    switch (mode) {
    case ModuleMode::gm:
        return "GM";
    case ModuleMode::gm2:
        return "GM2";
    case ModuleMode::gs:
        return "GS";
    case ModuleMode::xg:
        break;
    }
    return "XG";
}

std::vector<ModuleRequest> DecodeModuleSysEx(MessageView m)
{
    std::vector<ModuleRequest> out;
    if (!m.IsSysEx() || m.size < 4 || m.data[m.size - 1] != 0xF7)
        return out;
    for (std::size_t i = 1; i < m.size - 1; ++i)
        if (m.data[i] & 0x80)
            return out;
    switch (m.data[1]) {
    case kRoland:
        DecodeRoland(m, out);
        break;
    case kYamaha:
        DecodeYamaha(m, out);
        break;
    case kNonRealTime:
    case kRealTime:
        DecodeUniversal(m, out);
        break;
    default:
        break;
    }
    return out;
}

} // namespace mci
