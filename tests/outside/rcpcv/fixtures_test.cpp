// The public test songs in the shared fixtures (see their README): the C-major scale of
// track 1 at time base 48 and 120 BPM, in RCP, R36-in-RCP and G36 files.

#include "conversion.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace rcpcv_test;

namespace {

using NoteList = std::vector<PlayedNote>;

std::string Fixture(const std::string &name)
{
    std::ifstream in(std::string(SONOLUX_FIXTURES_DIR) + "/rcp/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The notes of the song as the fixture bytes give them: keys at steps of 48 ticks, the
// same gate and velocity throughout unless listed.
NoteList Scale(const std::vector<uint8_t> &keys, uint32_t gate, uint8_t velocity)
{
    NoteList notes;
    for (size_t i = 0; i < keys.size(); ++i)
        notes.push_back({static_cast<uint32_t>(48 * i), 0, keys[i], velocity, gate});
    return notes;
}

void ExpectSong(const std::string &name, const std::string &title, const NoteList &notes)
{
    const std::string song = Fixture(name);
    ASSERT_FALSE(song.empty()) << name << " is missing";
    const std::string smf = ConvertToSmf(song);
    const MidiFile file = ParseSmf(smf);
    EXPECT_EQ(file.division, 48u);
    ASSERT_EQ(file.tracks.size(), 2u) << name;
    EXPECT_EQ(SmfProbeTitle(smf), title);
    EXPECT_EQ(MetaTexts(file.tracks[0], 0x51), std::vector<std::string>{"\x07\xA1\x20"});
    EXPECT_EQ(Notes(file.tracks[1]), notes) << name;
}

} // namespace

// Catches RCP songs whose notes, ticks or title differ from the source file.
TEST(Fixtures, EighteenTrackRcp)
{
    NoteList notes = Scale({60, 62, 64, 65, 67, 69, 71, 72}, 40, 100);
    notes[2].length = notes[3].length = 48;
    const std::vector<uint8_t> down = {72, 71, 69, 67, 65, 64, 62, 60};
    for (size_t i = 0; i < down.size(); ++i)
        notes.push_back({static_cast<uint32_t>(384 + 24 * i), 0, down[i], 100, 20});
    ExpectSong("test_18trk_v2.rcp", "Test song", notes);
    EXPECT_EQ(RcpProbeTitle(Fixture("test_18trk_v2.rcp")), "Test song");
}

// Catches a repeated note whose gate equals its step cut short or tied into one.
TEST(Fixtures, OlderRcpWithARepeatedNote)
{
    NoteList notes = Scale({60, 62, 64, 65, 67, 69, 69, 72}, 48, 100);
    notes[0].length = notes[1].length = 40;
    ExpectSong("test_18trk_v2_older.rcp", "Test song", notes);
}

// Catches a 36-track song in an .rcp file read as 18 tracks.
TEST(Fixtures, ThirtySixTrackRcp)
{
    ExpectSong("test_36trk_v2.rcp", "TEST SONG", Scale({60, 62, 64, 65, 67, 69, 71, 72}, 45, 64));
    EXPECT_EQ(RcpProbeTitle(Fixture("test_36trk_v2.rcp")), "TEST SONG");
}

// Catches a G36 read with RCP fields, or its footer read as a track.
TEST(Fixtures, G36WithAFooter)
{
    ExpectSong("test_song.g36", "Test song", Scale({60, 62, 64, 65, 67, 69, 71, 72}, 36, 100));
}
