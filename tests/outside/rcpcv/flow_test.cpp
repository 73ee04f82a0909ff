#include "conversion.h"
#include "song_builder.h"

#include "outside/rcpcv/limits.h"

#include <gtest/gtest.h>

using namespace rcpcv_test;

namespace {

using Played = std::vector<std::pair<uint32_t, int>>;

// (tick, key) of every note the single music track plays.
Played Play(const SongBuilder &song)
{
    Played played;
    for (const PlayedNote &note : Notes(MusicTrack(song.Build())))
        played.emplace_back(note.tick, note.key);
    return played;
}

SongBuilder WithEvents(std::vector<Ev> events, Layout layout = Layout::kRcp)
{
    SongBuilder song(layout);
    song.Track(0).events = std::move(events);
    return song;
}

constexpr Ev kLoopStart = Cmd(0xF9);
constexpr Ev kBarEnd = Cmd(0xFD);
Ev LoopEnd(uint8_t passes)
{
    return Cmd(0xF8, passes);
}
Ev N(uint8_t key)
{
    return Note(key, 10, 5, 100);
}

} // namespace

// Catches loops played the wrong number of times or nested loops tangled.
TEST(Loops, LoopsRepeatByTheirCount)
{
    EXPECT_EQ(Play(WithEvents({kLoopStart, N(60), LoopEnd(3), N(62)})),
              (Played{{0, 60}, {10, 60}, {20, 60}, {30, 62}}));
    EXPECT_EQ(Play(WithEvents({kLoopStart, N(60), kLoopStart, N(62), LoopEnd(2), LoopEnd(2)})),
              (Played{{0, 60}, {10, 62}, {20, 62}, {30, 60}, {40, 62}, {50, 62}}));
}

// Catches an endless loop that never ends, or loop ends without a start honoured.
TEST(Loops, EndlessAndUnmatchedLoops)
{
    EXPECT_EQ(Play(WithEvents({kLoopStart, N(60), LoopEnd(0), N(62)})),
              (Played{{0, 60}, {10, 60}, {20, 62}}));
    EXPECT_EQ(Play(WithEvents({LoopEnd(3), N(60), kLoopStart, N(62)})),
              (Played{{0, 60}, {10, 62}}));
}

// Catches same-measure bars not played, chains not followed, or playing not resumed after
// the reference; in both layouts.
TEST(SameMeasure, ReferencedBarsPlayAgain)
{
    for (const Layout layout : {Layout::kRcp, Layout::kG36}) {
        SongBuilder song(layout);
        song.Track(0).events = {
            N(60), N(62), kBarEnd, song.SameMeasure(0, 0), N(64), kBarEnd, song.SameMeasure(1, 3)};
        EXPECT_EQ(Play(song),
                  (Played{{0, 60}, {10, 62}, {20, 60}, {30, 62}, {40, 64}, {50, 60}, {60, 62}}));
    }
}

// Catches a same-measure event inside a referenced bar not taken as that bar's end.
TEST(SameMeasure, AReferenceInsideAReferencedBarEndsIt)
{
    SongBuilder song;
    song.Track(0).events = {N(60),   song.SameMeasure(1, 4), N(62), kBarEnd, N(64),
                            kBarEnd, song.SameMeasure(0, 0), N(65)};
    EXPECT_EQ(Play(song), (Played{{0, 60}, {10, 64}, {20, 62}, {30, 64}, {40, 60}, {50, 65}}));
}

// Catches cycles of references followed for ever, or references outside the track read.
TEST(SameMeasure, CyclesAndStrayReferencesAreSkipped)
{
    SongBuilder song;
    song.Track(0).events = {song.SameMeasure(0, 1), song.SameMeasure(0, 0), song.SameMeasure(0, 2),
                            song.SameMeasure(0, 500), N(60)};
    EXPECT_EQ(Play(song), (Played{{0, 60}}));
}

// Catches loop bombs (nested loops of huge counts) that run for ever or fill memory.
TEST(Loops, LoopBombsStayBounded)
{
    std::vector<Ev> events(8, kLoopStart);
    events.push_back(N(60));
    events.insert(events.end(), 8, LoopEnd(255));
    const MidiFile file = ConvertToMidi(WithEvents(events).Build());
    ASSERT_EQ(file.tracks.size(), 2u);
    EXPECT_GT(file.tracks[1].events.size(), 1000u);
    EXPECT_LE(file.tracks[1].events.size(), rcpcv::limits::kMaxSongEvents);
}
