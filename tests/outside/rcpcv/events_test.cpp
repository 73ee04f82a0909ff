#include "conversion.h"
#include "song_builder.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace rcpcv_test;

namespace {

using Strings = std::vector<std::string>;
using NoteList = std::vector<PlayedNote>;

size_t IndexOf(const Strings &lines, const std::string &line)
{
    return static_cast<size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

} // namespace

// Catches wrong note lengths, notes played without gate or velocity, or a note-off of a
// note that ends where the same key starts again landing after the new note-on.
TEST(Notes, NotesSoundForTheirGateTime)
{
    SongBuilder song;
    song.Track(0).channel = 2;
    song.Track(0).events = {Note(60, 48, 40, 100), Note(62, 48, 96, 90), Note(64, 24, 0, 100),
                            Note(65, 24, 30, 0),   Note(67, 48, 48, 80), Note(67, 48, 20, 70)};
    const MidiTrack track = MusicTrack(song.Build());
    EXPECT_EQ(
        Notes(track),
        (NoteList{
            {0, 2, 60, 100, 40}, {48, 2, 62, 90, 96}, {144, 2, 67, 80, 48}, {192, 2, 67, 70, 20}}));
    const Strings lines = Lines(track);
    EXPECT_LT(IndexOf(lines, "192: 82 43 40"), IndexOf(lines, "192: 92 43 46"));
}

// Catches a tie struck as a new note, or a track ending before its last note does.
TEST(Notes, StrikingASoundingKeyTiesOn)
{
    SongBuilder song;
    song.Track(0).events = {Note(70, 24, 48, 100), Note(70, 24, 30, 90), Note(70, 10, 5, 80),
                            Note(72, 10, 200, 100)};
    const MidiTrack track = MusicTrack(song.Build());
    EXPECT_EQ(Notes(track), (NoteList{{0, 0, 70, 100, 53}, {58, 0, 72, 100, 200}}));
    EXPECT_EQ(track.endTick, 258u);
}

// Catches key shift or play bias applied wrongly, rhythm tracks transposed, or notes
// shifted out of range wrapped into other keys.
TEST(Notes, KeyShiftPlayBiasAndRhythmTracks)
{
    SongBuilder song;
    song.PlayBias(2);
    song.Track(0).keyShift = 0x74; // -12
    song.Track(0).events = {Note(60, 10, 5, 100), Cmd(0xED, 0, 60, 30)};
    song.Track(1).channel = 1;
    song.Track(1).keyShift = 0x80; // rhythm
    song.Track(1).events = {Note(60, 10, 5, 100)};
    song.Track(2).channel = 2;
    song.Track(2).keyShift = 0x3F; // +63
    song.Track(2).events = {Note(70, 10, 5, 100), Note(10, 10, 5, 100)};
    const MidiFile file = ConvertToMidi(song.Build());
    ASSERT_EQ(file.tracks.size(), 4u);
    EXPECT_EQ(Notes(file.tracks[1]), (NoteList{{0, 0, 50, 100, 5}}));
    EXPECT_EQ(Lines(file.tracks[1]).back(), "10: A0 32 1E");
    EXPECT_EQ(Notes(file.tracks[2]), (NoteList{{0, 1, 60, 100, 5}}));
    EXPECT_EQ(Notes(file.tracks[3]), (NoteList{{10, 2, 75, 100, 5}}));
}

// Catches channel messages with wrong status, data order or ticks, or data bytes of
// 0x80 and more written into the SMF.
TEST(ChannelMessages, EachCommandSendsItsMessage)
{
    SongBuilder song;
    song.Track(0).channel = 3;
    song.Track(0).events = {
        Cmd(0xEB, 0, 7, 100),  Cmd(0xEC, 10, 5),       Cmd(0xE2, 10, 10, 3),
        Cmd(0xE1, 10, 11, 2),  Cmd(0xEE, 10, 0, 0x50), Cmd(0xEA, 10, 64),
        Cmd(0xED, 10, 60, 30), Cmd(0xE5, 10, 1),       Cmd(0xEB, 0, 0x8A, 0x90)};
    EXPECT_EQ(Lines(MusicTrack(song.Build())),
              (Strings{"0: B3 07 64", "0: C3 05", "10: B3 00 03", "10: C3 0A", "20: B3 20 02",
                       "20: C3 0B", "30: E3 00 50", "40: D3 40", "50: A3 3C 1E", "70: B3 0A 10"}));
}

// Catches notes released on the channel a track changed to, or output after the channel
// was switched off.
TEST(ChannelMessages, ChannelChangesKeepNotesOnTheirChannel)
{
    SongBuilder song;
    song.Track(0).events = {Note(60, 10, 40, 100), Cmd(0xE6, 0, 5),      Note(62, 10, 5, 100),
                            Cmd(0xE6, 0, 0),       Note(64, 10, 5, 100), Cmd(0xE6, 0, 33),
                            Note(65, 10, 5, 100),  Cmd(0xE6, 0, 3),      Note(67, 10, 5, 100)};
    EXPECT_EQ(Notes(MusicTrack(song.Build())),
              (NoteList{{0, 0, 60, 100, 40}, {10, 4, 62, 100, 5}, {40, 2, 67, 100, 5}}));
}

// Catches a missing or wrong port meta event, or one track carrying two ports.
TEST(ChannelMessages, PortsBecomePortMetaEvents)
{
    SongBuilder both;
    both.Track(0).events = {Note(60, 10, 5, 100)};
    both.Track(1).channel = 0x10;
    both.Track(1).events = {Note(60, 10, 5, 100)};
    const MidiFile two = ConvertToMidi(both.Build());
    ASSERT_EQ(two.tracks.size(), 3u);
    EXPECT_EQ(Lines(two.tracks[1])[0], "0: FF 21 00");
    EXPECT_EQ(Lines(two.tracks[2])[0], "0: FF 21 01");

    SongBuilder onlyB;
    onlyB.Track(0).channel = 0x1F;
    onlyB.Track(0).name = "Bass";
    onlyB.Track(0).events = {Note(40, 10, 5, 100)};
    EXPECT_EQ(Lines(MusicTrack(onlyB.Build())),
              (Strings{"0: FF 03 42 61 73 73", "0: 9F 28 64", "5: 8F 28 40"}));

    SongBuilder split;
    split.Track(0).events = {Note(60, 10, 5, 100), Cmd(0xE6, 0, 17), Note(62, 10, 5, 100)};
    const MidiFile parts = ConvertToMidi(split.Build());
    ASSERT_EQ(parts.tracks.size(), 3u);
    EXPECT_EQ(Notes(parts.tracks[1]), (NoteList{{0, 0, 60, 100, 5}}));
    EXPECT_EQ(Notes(parts.tracks[2]), (NoteList{{10, 0, 62, 100, 5}}));
    EXPECT_EQ(Lines(parts.tracks[2])[0], "0: FF 21 01");
}

// Catches muted tracks played, or output from a track whose channel is none.
TEST(TrackSettings, MutedAndSilentTracks)
{
    SongBuilder song;
    song.Track(0).mode = 1;
    song.Track(0).events = {Note(60, 10, 5, 100)};
    song.Track(1).channel = 0xFF;
    song.Track(1).events = song.Long(0xF6, Hex("4E 6F"), true);
    song.Track(1).events.push_back(Note(60, 10, 5, 100));
    song.Track(2).channel = 2;
    song.Track(2).events = {Note(62, 10, 5, 100)};
    const MidiFile file = ConvertToMidi(song.Build());
    ASSERT_EQ(file.tracks.size(), 3u);
    EXPECT_EQ(Lines(file.tracks[1]), Strings{"0: FF 01 4E 6F"});
    EXPECT_EQ(Notes(file.tracks[2]), (NoteList{{0, 2, 62, 100, 5}}));
}

// Catches a start shift not applied, events moved before tick 0, or notes wholly
// before the start kept as stuck notes.
TEST(TrackSettings, StartShiftMovesTheTrack)
{
    SongBuilder song;
    song.Track(0).stShift = 10;
    song.Track(0).events = {Note(60, 10, 5, 100)};
    song.Track(1).channel = 1;
    song.Track(1).stShift = 0xF6; // -10
    song.Track(1).events = {Note(61, 0, 5, 100), Note(62, 20, 20, 100), Note(63, 10, 5, 100)};
    const MidiFile file = ConvertToMidi(song.Build());
    ASSERT_EQ(file.tracks.size(), 3u);
    EXPECT_EQ(Notes(file.tracks[1]), (NoteList{{10, 0, 60, 100, 5}}));
    EXPECT_EQ(Notes(file.tracks[2]), (NoteList{{0, 1, 62, 100, 10}, {10, 1, 63, 100, 5}}));
}

// Catches comments, external commands or key changes lost, cut or put in the wrong track.
TEST(TrackSettings, CommentsExternalCommandsAndKeyChanges)
{
    for (const Layout layout : {Layout::kRcp, Layout::kG36}) {
        SongBuilder song(layout);
        std::vector<Ev> &events = song.Track(0).events;
        events = song.Long(0xF6, Hex("48 65 6C 6C 6F 21"), true);
        events.push_back(Note(60, 10, 5, 100));
        for (const Ev &e : song.Long(0x99, Hex("50 4C 41 59"), false, 1))
            events.push_back(e);
        events.push_back(Cmd(0xF5, 0x0B));
        const MidiFile file = ConvertToMidi(song.Build());
        ASSERT_EQ(file.tracks.size(), 2u);
        EXPECT_EQ(Lines(file.tracks[1]), (Strings{"0: FF 01 48 65 6C 6C 6F 21", "0: 90 3C 64",
                                                  "5: 80 3C 40", "10: FF 07 50 4C 41 59"}));
        EXPECT_EQ(Lines(file.tracks[0]).back(), "10: FF 59 FD 00");
    }
}

// Catches G36 events read with RCP field positions or with 8-bit steps and gates.
TEST(TrackSettings, G36EventsCarrySixteenBitTimes)
{
    SongBuilder song(Layout::kG36);
    song.Track(0).events = {Note(60, 300, 500, 99), Note(62, 10, 10, 99)};
    EXPECT_EQ(Notes(MusicTrack(song.Build())),
              (NoteList{{0, 0, 60, 99, 500}, {300, 0, 62, 99, 10}}));
}
