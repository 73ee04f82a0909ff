#include "platform/files.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// What a sequencer would take from a one-track Standard MIDI File.
struct Smf
{
    int format = -1;
    int tracks = 0;
    int division = 0;
    std::uint32_t tempo = 500000; // microseconds per quarter note until a tempo event
    std::vector<std::pair<std::uint32_t, Bytes>> sysex; // tick, message from F0 to F7
    std::uint32_t endTick = 0;
    bool endedAtTrackEnd = false; // End of Track is the last event and ends the chunk
    int channelEvents = 0;
};

// A strict reader: any structural fault throws std::runtime_error.
class SmfReader
{
public:
    explicit SmfReader(std::string data)
        : data_(std::move(data))
    {
    }

    Smf Read()
    {
        Smf smf;
        Expect("MThd");
        if (U32() != 6)
            throw std::runtime_error("header chunk length is not 6");
        smf.format = static_cast<int>(U16());
        smf.tracks = static_cast<int>(U16());
        smf.division = static_cast<int>(U16());
        Expect("MTrk");
        const std::uint32_t length = U32();
        const std::size_t end = at_ + length;
        if (end != data_.size())
            throw std::runtime_error("track length does not match the file");
        ReadEvents(smf, end);
        return smf;
    }

private:
    void ReadEvents(Smf &smf, std::size_t end)
    {
        std::uint32_t tick = 0;
        while (at_ < end) {
            tick += VarLen();
            const std::uint8_t status = Byte();
            if (status == 0xFF) {
                const std::uint8_t type = Byte();
                const std::string data = Take(VarLen());
                if (type == 0x51 && data.size() == 3)
                    smf.tempo =
                        static_cast<std::uint32_t>(static_cast<std::uint8_t>(data[0]) << 16 |
                                                   static_cast<std::uint8_t>(data[1]) << 8 |
                                                   static_cast<std::uint8_t>(data[2]));
                if (type == 0x2F) {
                    smf.endTick = tick;
                    smf.endedAtTrackEnd = at_ == end && data.empty();
                    return;
                }
            } else if (status == 0xF0) {
                const std::string rest = Take(VarLen());
                Bytes message{0xF0};
                message.insert(message.end(), rest.begin(), rest.end());
                smf.sysex.emplace_back(tick, message);
            } else if (status >= 0x80 && status < 0xF0) {
                Take((status & 0xE0) == 0xC0 ? 1 : 2);
                ++smf.channelEvents;
            } else {
                throw std::runtime_error("unexpected status byte");
            }
        }
        throw std::runtime_error("no End of Track");
    }

    std::uint8_t Byte()
    {
        if (at_ >= data_.size())
            throw std::runtime_error("file ends early");
        return static_cast<std::uint8_t>(data_[at_++]);
    }
    std::uint32_t U16()
    {
        const std::uint32_t high = Byte();
        return high << 8 | Byte();
    }
    std::uint32_t U32()
    {
        const std::uint32_t high = U16();
        return high << 16 | U16();
    }
    std::uint32_t VarLen()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const std::uint8_t b = Byte();
            value = value << 7 | (b & 0x7F);
            if ((b & 0x80) == 0)
                return value;
        }
        throw std::runtime_error("variable-length number longer than four bytes");
    }
    std::string Take(std::size_t count)
    {
        if (data_.size() - at_ < count)
            throw std::runtime_error("file ends early");
        at_ += count;
        return data_.substr(at_ - count, count);
    }
    void Expect(const std::string &tag)
    {
        if (Take(tag.size()) != tag)
            throw std::runtime_error("missing " + tag);
    }

    std::string data_;
    std::size_t at_ = 0;
};

struct ExpectedReset
{
    const char *fileName;
    Bytes message;
};

// Each reset file runs on this long after its message, for the module to settle.
constexpr double SettleMs = 100.0;

} // namespace

// Catches a reset file a sequencer would reject, a wrong or misplaced reset message, or a
// settling time other than the one chosen (the player waits exactly that long per song).
TEST(ResetFiles, EachSendsItsResetThenSettles)
{
    const ExpectedReset resets[] = {
        {"GM.MID", {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}},
        {"GS.MID", {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7}},
        {"XG.MID", {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7}},
    };
    for (const ExpectedReset &reset : resets) {
        SCOPED_TRACE(reset.fileName);
        const Smf smf =
            SmfReader(platform::ReadFile(SONOLUX_DIST_DIR "/format/" + std::string(reset.fileName)))
                .Read();
        EXPECT_EQ(smf.format, 0);
        EXPECT_EQ(smf.tracks, 1);
        ASSERT_GT(smf.division, 0) << "ticks per quarter note, not SMPTE time";
        ASSERT_EQ(smf.sysex.size(), 1u);
        EXPECT_EQ(smf.sysex[0].first, 0u);
        EXPECT_EQ(smf.sysex[0].second, reset.message);
        EXPECT_EQ(smf.channelEvents, 0);
        EXPECT_TRUE(smf.endedAtTrackEnd);
        const double lengthMs = double(smf.endTick) * smf.tempo / smf.division / 1000.0;
        EXPECT_DOUBLE_EQ(lengthMs, SettleMs);
    }
}

// Catches a GS Reset whose Roland checksum is wrong, which a GS module ignores.
TEST(ResetFiles, GsResetChecksumIsValid)
{
    const Smf smf = SmfReader(platform::ReadFile(SONOLUX_DIST_DIR "/format/GS.MID")).Read();
    ASSERT_EQ(smf.sysex.size(), 1u);
    const Bytes &m = smf.sysex[0].second;
    ASSERT_EQ(m.size(), 11u);
    unsigned sum = 0;
    for (std::size_t i = 5; i <= 9; ++i) // address, data and checksum
        sum += m[i];
    EXPECT_EQ(sum % 128, 0u);
}
