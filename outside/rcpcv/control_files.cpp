#include "outside/rcpcv/control_files.h"

#include "outside/rcpcv/exclusive.h"

namespace rcpcv {

namespace {

constexpr char kMaker[] = "COME ON MUSIC";
constexpr uint8_t kDevice = 0x10;

// MT-32 family.
constexpr size_t kCm6Size = 0x5843;
constexpr uint8_t kMt32Model = 0x16;
constexpr uint32_t kMt32ResetUsec = 420'000; // early MT-32 firmware needs this long
constexpr uint32_t kMt32MessageUsec = 40'000;

// One memory area of the dump: where it lies in the file, where it goes in the module,
// and the record size it is sent in (0: the whole area in one message).
struct Area
{
    size_t offset;
    size_t size;
    uint8_t address[3];
    size_t record;
};

// Timbres go before the patches and rhythm keys that use them.
constexpr Area kLaAreas[] = {
    {0x0080, 0x17, {0x10, 0x00, 0x00}, 0},       // system
    {0x0E34, 0x4000, {0x08, 0x00, 0x00}, 0x100}, // timbre memory, 64 timbres
    {0x0130, 0x154, {0x03, 0x01, 0x10}, 0x100},  // rhythm setup, keys 24-108
    {0x00A0, 0x90, {0x03, 0x00, 0x00}, 0},       // patch temporary area, 9 parts
    {0x0284, 0x7B0, {0x04, 0x00, 0x00}, 0xF6},   // timbre temporary area, 8 parts
    {0x0A34, 0x400, {0x05, 0x00, 0x00}, 0x80},   // patch memory, 128 patches
};
constexpr Area kPcmAreas[] = {
    {0x4E34, 0x7E, {0x50, 0x00, 0x00}, 0},     // CM-32P patch temporary area
    {0x4EB2, 0x980, {0x51, 0x00, 0x00}, 0x98}, // CM-32P patch memory
    {0x5832, 0x11, {0x52, 0x00, 0x00}, 0},     // CM-32P system
};

// GS.
constexpr size_t kGsdSize = 0xA71;
constexpr uint8_t kGsModel = 0x42;
constexpr uint32_t kGsResetUsec = 50'000;
constexpr uint32_t kGsMessageUsec = 20'000;
constexpr size_t kParts = 16;
constexpr size_t kPartOffset = 0x36;
constexpr size_t kPartSize = 0x7A;
constexpr size_t kVoiceReserve = 0x79;
constexpr size_t kDrumOffset = 0x7D6;
constexpr size_t kDrumSetSize = 0x148;
constexpr size_t kDrumKeys = 82;
constexpr uint8_t kFirstDrumKey = 27;

// A span of the part record and the GS address (40 bb ll) it loads.
struct PartSpan
{
    size_t offset;
    size_t size;
    uint8_t blockBase; // 0x10 or 0x20, plus the block number
    uint8_t low;
};
constexpr PartSpan kPartSpans[] = {
    {0x00, 0x23, 0x10, 0x00}, // tone number to reverb send
    {0x23, 0x08, 0x10, 0x30}, // tone modify 1-8
    {0x2B, 0x0C, 0x10, 0x40}, // scale tuning C to B
    {0x37, 0x0B, 0x20, 0x00}, // modulation controller
    {0x42, 0x0B, 0x20, 0x10}, // bend
    {0x4D, 0x0B, 0x20, 0x20}, // channel pressure
    {0x58, 0x0B, 0x20, 0x30}, // polyphonic pressure
    {0x63, 0x0B, 0x20, 0x40}, // CC1
    {0x6E, 0x0B, 0x20, 0x50}, // CC2
};
// Level, pan, reverb and chorus of each drum key: their GS addresses 41 m? rr.
constexpr uint8_t kDrumParameters[] = {0x02, 0x04, 0x05, 0x06};

void AddDataSet(std::vector<SetupMessage> &out, uint8_t model, uint32_t address, ByteView data,
                uint32_t settle, int port)
{
    out.push_back({RolandDataSet(kDevice, model, address, data), settle, port});
}

void AddArea(std::vector<SetupMessage> &out, ByteView file, const Area &area, int port)
{
    const size_t record = area.record == 0 ? area.size : area.record;
    const uint32_t start = RolandAddress(area.address[0], area.address[1], area.address[2]);
    for (size_t done = 0; done < area.size; done += record) {
        const size_t length = record < area.size - done ? record : area.size - done;
        AddDataSet(out, kMt32Model, AdvanceRolandAddress(start, done),
                   file.Sub(area.offset + done, length), kMt32MessageUsec, port);
    }
}

// GS numbers its parts from the drum part: block 0 is channel 10, blocks 1-9 channels
// 1-9, blocks 10-15 channels 11-16.
uint8_t BlockOfChannel(size_t channel)
{
    if (channel == 9)
        return 0;
    return static_cast<uint8_t>(channel < 9 ? channel + 1 : channel);
}

size_t ChannelOfBlock(size_t block)
{
    if (block == 0)
        return 9;
    return block <= 9 ? block - 1 : block;
}

void AddGsSystem(std::vector<SetupMessage> &out, ByteView file, int port)
{
    const auto add = [&](uint32_t address, size_t offset, size_t size) {
        AddDataSet(out, kGsModel, address, file.Sub(offset, size), kGsMessageUsec, port);
    };
    add(RolandAddress(0x40, 0x00, 0x00), 0x20, 7); // master tune, volume, key shift, pan
    add(RolandAddress(0x40, 0x01, 0x30), 0x27, 7); // reverb
    add(RolandAddress(0x40, 0x01, 0x38), 0x2E, 8); // chorus
    uint8_t reserve[kParts];
    for (size_t block = 0; block < kParts; ++block)
        reserve[block] = file.U8(kPartOffset + ChannelOfBlock(block) * kPartSize + kVoiceReserve);
    AddDataSet(out, kGsModel, RolandAddress(0x40, 0x01, 0x10), ByteView(reserve, kParts),
               kGsMessageUsec, port);
}

void AddGsParts(std::vector<SetupMessage> &out, ByteView file, int port)
{
    for (size_t channel = 0; channel < kParts; ++channel) {
        const size_t part = kPartOffset + channel * kPartSize;
        const uint8_t block = BlockOfChannel(channel);
        for (const PartSpan &span : kPartSpans)
            AddDataSet(out, kGsModel,
                       RolandAddress(0x40, static_cast<uint8_t>(span.blockBase | block), span.low),
                       file.Sub(part + span.offset, span.size), kGsMessageUsec, port);
    }
}

void AddGsDrums(std::vector<SetupMessage> &out, ByteView file, int port)
{
    for (uint8_t map = 0; map < 2; ++map) {
        const size_t set = kDrumOffset + map * kDrumSetSize;
        for (size_t parameter = 0; parameter < sizeof kDrumParameters; ++parameter) {
            uint8_t values[kDrumKeys];
            for (size_t key = 0; key < kDrumKeys; ++key)
                values[key] = file.U8(set + key * 4 + parameter);
            const auto middle = static_cast<uint8_t>(map << 4 | kDrumParameters[parameter]);
            AddDataSet(out, kGsModel, RolandAddress(0x41, middle, kFirstDrumKey),
                       ByteView(values, kDrumKeys), kGsMessageUsec, port);
        }
    }
}

} // namespace

std::vector<SetupMessage> Cm6Messages(ByteView file, int port)
{
    if (file.Size() < kCm6Size || !file.StartsWith(kMaker, sizeof kMaker - 1))
        return {};
    const ByteView model = file.Sub(0x10, 7);
    const bool cm64 = model.StartsWith("R CM-64", 7);
    if (!cm64 && !model.StartsWith("R MT-32", 7))
        return {};
    std::vector<SetupMessage> out;
    const uint8_t reset = 0;
    AddDataSet(out, kMt32Model, RolandAddress(0x7F, 0x00, 0x00), ByteView(&reset, 1),
               kMt32ResetUsec, port);
    for (const Area &area : kLaAreas)
        AddArea(out, file, area, port);
    if (cm64) {
        for (const Area &area : kPcmAreas)
            AddArea(out, file, area, port);
    }
    return out;
}

std::vector<SetupMessage> GsdMessages(ByteView file, int port)
{
    if (file.Size() < kGsdSize || !file.StartsWith(kMaker, sizeof kMaker - 1) ||
        !file.Sub(0x0E, 14).StartsWith("GS CONTROL 1.0", 14))
        return {};
    std::vector<SetupMessage> out;
    const uint8_t reset = 0;
    AddDataSet(out, kGsModel, RolandAddress(0x40, 0x00, 0x7F), ByteView(&reset, 1), kGsResetUsec,
               port);
    AddGsSystem(out, file, port);
    AddGsParts(out, file, port);
    AddGsDrums(out, file, port);
    return out;
}

} // namespace rcpcv
