#include "conversion.h"
#include "song_builder.h"

#include "outside/rcpcv/converter.h"
#include "outside/rcpcv/limits.h"
#include "outside/rcpcv/smf_writer.h"

#include <gtest/gtest.h>

#include <random>

using namespace rcpcv_test;

namespace {

// A song that uses every kind of event, loops and same-measure references.
std::string RichSong(Layout layout)
{
    SongBuilder song(layout, 4);
    song.Title("Damaged").UserExclusive(0, Hex("41 10 42 12 83 40 00 7F 00 84 F7"));
    std::vector<Ev> &events = song.Track(0).events;
    events = {Cmd(0xF9),
              Note(60, 10, 20, 100),
              Cmd(0xEB, 0, 7, 90),
              Cmd(0xE7, 0, 80, 10),
              Cmd(0x90, 5, 1, 2),
              Cmd(0xFD),
              song.SameMeasure(1, 1),
              Cmd(0xF8, 3),
              Cmd(0xDE, 0, 1, 2),
              Cmd(0xC1, 0, 1, 2),
              Cmd(0xE6, 0, 18),
              Note(62, 10, 30, 80),
              Cmd(0xF5, 3)};
    for (const Ev &e : song.Long(0x98, Hex("41 10 42 12 83 40 80 81 84 F7"), false, 1, 2))
        events.push_back(e);
    for (const Ev &e : song.Long(0xF6, Hex("41 42 43 44 45 46 47"), true))
        events.push_back(e);
    song.Track(1).channel = 9;
    song.Track(1).keyShift = 0x80;
    song.Track(1).events = {Cmd(0xF9), Note(36, 12, 6, 100), Cmd(0xF8, 0)};
    return song.Build();
}

// Converts and writes whatever the bytes hold; the SMF must read back cleanly.
rcpcv::ConvertStatus ConvertAnything(const std::string &bytes)
{
    rcpcv::Song song;
    const rcpcv::ByteView view(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
    const rcpcv::ConvertStatus status = rcpcv::ConvertSong(view, {}, song);
    if (status == rcpcv::ConvertStatus::kOk) {
        const MidiFile file = ParseSmf(rcpcv::WriteSmf(song));
        size_t events = 0;
        for (const MidiTrack &track : file.tracks) {
            Notes(track);
            events += track.events.size();
        }
        EXPECT_LE(events, rcpcv::limits::kMaxSongEvents + 2 * file.tracks.size() + 200);
    }
    return status;
}

} // namespace

// Catches a crash, hang or malformed SMF on a file cut off anywhere.
TEST(DamagedInput, EveryTruncationConvertsOrIsRefused)
{
    for (const Layout layout : {Layout::kRcp, Layout::kG36}) {
        const std::string song = RichSong(layout);
        const size_t header = layout == Layout::kRcp ? 0x586 : 0xC98;
        for (size_t length = 0; length <= song.size(); ++length) {
            const rcpcv::ConvertStatus status = ConvertAnything(song.substr(0, length));
            const rcpcv::ConvertStatus expected = length < 32 ? rcpcv::ConvertStatus::kNotASong
                                                  : length < header ? rcpcv::ConvertStatus::kDamaged
                                                                    : rcpcv::ConvertStatus::kOk;
            ASSERT_EQ(status, expected) << "cut at " << length;
        }
    }
}

// Catches a crash, hang or unbounded output on corrupted header fields and events.
TEST(DamagedInput, CorruptedBytesStayBounded)
{
    std::mt19937 random(20240601);
    for (const Layout layout : {Layout::kRcp, Layout::kG36}) {
        const std::string song = RichSong(layout);
        const size_t header = layout == Layout::kRcp ? 0x586 : 0xC98;
        for (int round = 0; round < 400; ++round) {
            std::string damaged = song;
            for (int hit = 0; hit < 1 + round % 8; ++hit) {
                // Mostly the tracks, sometimes the fields of the header.
                const size_t from = round % 4 == 0 ? 0x20 : header;
                damaged[from + random() % (damaged.size() - from)] = static_cast<char>(random());
            }
            const rcpcv::ConvertStatus status = ConvertAnything(damaged);
            ASSERT_NE(status, rcpcv::ConvertStatus::kNotASong) << "round " << round;
        }
    }
}

// Catches length and count fields taken at their word: huge counts, huge lengths.
TEST(DamagedInput, HugeFieldsAreNotTrusted)
{
    SongBuilder song(Layout::kG36, 2);
    song.StoredTrackCount(0xFFFF);
    song.Track(0).statedLength = 0xFFFFFFF0u;
    song.Track(0).events = {Cmd(0xF9), Note(60, 0xFFFF, 0xFFFF, 100), Cmd(0xF8, 0xFFFF)};
    song.Track(1).events = {Cmd(0xE7, 0, 0xFFFF, 255)};
    EXPECT_EQ(ConvertAnything(song.Build()), rcpcv::ConvertStatus::kOk);
}
