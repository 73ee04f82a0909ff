#include "conversion.h"
#include "song_builder.h"

#include <gtest/gtest.h>

using namespace rcpcv_test;

namespace {

using Strings = std::vector<std::string>;

struct Tempo
{
    uint32_t tick;
    uint32_t usec;
};

std::vector<Tempo> TempoMap(const SongBuilder &song)
{
    std::vector<Tempo> tempo;
    const MidiFile file = ConvertToMidi(song.Build());
    for (const MidiEvent &event : file.tracks[0].events) {
        if (event.bytes[0] == 0xFF && event.bytes[1] == 0x51)
            tempo.push_back({event.tick, uint32_t{event.bytes[2]} << 16 | event.bytes[3] << 8 |
                                             event.bytes[4]});
    }
    return tempo;
}

} // namespace

// Catches tempo changes taken as absolute, out of tick order across tracks, or outside
// the range an SMF can hold.
TEST(Tempo, RelativeTempoChangesFromAllTracks)
{
    SongBuilder song;
    song.Tempo(120);
    song.Track(0).events = {Note(60, 100, 5, 100), Cmd(0xE7, 20, 128, 0), Cmd(0xE7, 0, 1, 0)};
    song.Track(1).channel = 0xFF; // a conductor-like track without output
    song.Track(1).events = {Note(60, 50, 5, 100), Cmd(0xE7, 0, 32, 0)};
    const Strings expected = {"0: FF 51 07 A1 20", "50: FF 51 0F 42 40", "100: FF 51 03 D0 90",
                              "120: FF 51 FF FF FF"};
    EXPECT_EQ(Lines(ConvertToMidi(song.Build()).tracks[0], {0x03, 0x58, 0x59}), expected);
}

// Catches a gradual tempo change that jumps, runs backwards, misses its target or its
// end, or goes on after a later change.
TEST(Tempo, GradualTempoChangesGlide)
{
    SongBuilder song;
    song.Tempo(120);
    song.Track(0).events = {Cmd(0xE7, 0, 128, 16), Note(60, 192, 5, 100)};
    const std::vector<Tempo> glide = TempoMap(song);
    ASSERT_GT(glide.size(), 10u);
    // Rate 16 lasts 135 48ths of a quarter note.
    EXPECT_EQ(glide.back().tick, 135u);
    EXPECT_EQ(glide.back().usec, 250000u);
    for (size_t i = 1; i < glide.size(); ++i) {
        EXPECT_GT(glide[i].tick, glide[i - 1].tick);
        EXPECT_LT(glide[i].usec, glide[i - 1].usec);
    }

    song.Track(1).channel = 0xFF;
    song.Track(1).events = {Note(60, 20, 5, 100), Cmd(0xE7, 0, 64, 0)};
    const std::vector<Tempo> cut = TempoMap(song);
    EXPECT_EQ(cut.back().tick, 20u);
    EXPECT_EQ(cut.back().usec, 500000u);
}
