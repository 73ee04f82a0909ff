#pragma once
// Builds Recomposer song files byte by byte for the tests: an RCP (or R36) or G36 header
// with the fields a test sets, then the tracks with their events.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rcpcv_test {

enum class Layout { kRcp, kG36 };

// One event before encoding; the layout decides where each field goes.
struct Ev
{
    uint8_t cmd = 0;
    uint16_t step = 0;
    uint16_t p1 = 0;
    uint8_t p2 = 0;
};

constexpr Ev Note(uint8_t key, uint16_t step, uint16_t gate, uint8_t velocity)
{
    return {key, step, gate, velocity};
}
constexpr Ev Cmd(uint8_t cmd, uint16_t step = 0, uint16_t p1 = 0, uint8_t p2 = 0)
{
    return {cmd, step, p1, p2};
}

struct TrackSpec
{
    uint8_t channel = 0;
    uint8_t keyShift = 0;
    uint8_t stShift = 0;
    uint8_t mode = 0;
    std::string name;
    std::vector<Ev> events;
    // A length field to write instead of the true length.
    std::optional<uint32_t> statedLength;
};

class SongBuilder
{
public:
    explicit SongBuilder(Layout layout = Layout::kRcp, unsigned tracks = 18);

    SongBuilder &Title(const std::string &title);
    SongBuilder &Memo(size_t line, const std::string &text);
    SongBuilder &Timebase(unsigned ticks);
    SongBuilder &Tempo(unsigned bpm);
    SongBuilder &Beat(uint8_t numerator, uint8_t denominator);
    SongBuilder &Key(uint8_t key);
    SongBuilder &PlayBias(int8_t bias);
    // The stored track count (RCP 0 means an early 18-track file).
    SongBuilder &StoredTrackCount(unsigned count);
    // Control file names: CM6, GSD (port A) and, G36 only, GSD for port B.
    SongBuilder &Cm6(const std::string &name);
    SongBuilder &Gsd(const std::string &name, int port = 0);
    SongBuilder &UserExclusive(size_t index, const std::vector<uint8_t> &data);
    // Bytes appended after the last track.
    SongBuilder &Footer(const std::string &bytes);

    TrackSpec &Track(size_t index) { return tracks_.at(index); }
    Layout GetLayout() const { return layout_; }
    std::string Build() const;

    // A same-measure event referring to the event at targetIndex of its track.
    Ev SameMeasure(uint16_t bar, size_t targetIndex) const;
    // A long command (98 track exclusive, F6 comment, 99 external) and the continuation
    // events carrying data; withOwn: the command's own parameter bytes hold data too
    // (comments), else p1/p2 are its parameters.
    std::vector<Ev> Long(uint8_t cmd, const std::vector<uint8_t> &data, bool withOwn,
                         uint8_t p1 = 0, uint8_t p2 = 0) const;

private:
    void Put(size_t offset, const std::string &bytes);
    void PutU16(size_t offset, unsigned value);
    std::string EncodeTrack(const TrackSpec &track) const;

    Layout layout_;
    std::string header_;
    std::vector<TrackSpec> tracks_;
    std::string footer_;
};

// Bytes from a hex text such as "F0 41 10 F7".
std::vector<uint8_t> Hex(const std::string &text);

} // namespace rcpcv_test
