#include "conversion.h"
#include "song_builder.h"

#include "outside/rcpcv/converter.h"
#include "outside/rcpcv/song_file.h"

#include <gtest/gtest.h>

using namespace rcpcv_test;

namespace {

using Strings = std::vector<std::string>;

rcpcv::ConvertStatus Status(const std::string &bytes)
{
    rcpcv::Song song;
    const rcpcv::ByteView view(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
    return rcpcv::ConvertSong(view, {}, song);
}

std::optional<rcpcv::Variant> Variant(const std::string &bytes)
{
    return rcpcv::DetectVariant(
        rcpcv::ByteView(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size()));
}

} // namespace

// Catches a variant decided by anything but the magic, or another file taken for a song.
TEST(SongHeader, TheMagicDecidesTheVariant)
{
    const std::string rcp = SongBuilder(Layout::kRcp).Build();
    const std::string g36 = SongBuilder(Layout::kG36).Build();
    EXPECT_EQ(Variant(rcp), rcpcv::Variant::kRcp);
    EXPECT_EQ(Variant(g36), rcpcv::Variant::kG36);

    std::string misspelt = rcp;
    misspelt[5] = 'x';
    std::string unterminated = g36;
    unterminated[31] = ' ';
    for (const std::string &other :
         {misspelt, unterminated, std::string("MThd\0\0\0\6", 8), std::string()})
        EXPECT_EQ(Status(other), rcpcv::ConvertStatus::kNotASong);
}

// Catches reading a header the file does not hold in full, or refusing a song without tracks.
TEST(SongHeader, AHeaderCutShortIsDamaged)
{
    for (const Layout layout : {Layout::kRcp, Layout::kG36}) {
        const std::string song = SongBuilder(layout).Build();
        const size_t header = layout == Layout::kRcp ? 0x586 : 0xC98;
        EXPECT_EQ(Status(song.substr(0, 31)), rcpcv::ConvertStatus::kNotASong);
        EXPECT_EQ(Status(song.substr(0, 32)), rcpcv::ConvertStatus::kDamaged);
        EXPECT_EQ(Status(song.substr(0, header - 1)), rcpcv::ConvertStatus::kDamaged);
        EXPECT_EQ(ConvertToMidi(song.substr(0, header)).tracks.size(), 1u);
    }
    // A time base no SMF can carry.
    EXPECT_EQ(Status(SongBuilder(Layout::kG36).Timebase(0x8000).Build()),
              rcpcv::ConvertStatus::kDamaged);
}

// Catches header fields read from the wrong offsets or written into the wrong events.
TEST(SongHeader, HeaderFieldsMakeTheConductorTrack)
{
    for (const Layout layout : {Layout::kRcp, Layout::kG36}) {
        SongBuilder song(layout);
        song.Title("  Song \x8B\xC8  ")
            .Memo(0, "First line")
            .Memo(2, "  indented")
            .Timebase(480)
            .Tempo(150)
            .Beat(3, 8)
            .Key(0x1A);
        const MidiFile file = ConvertToMidi(song.Build());
        EXPECT_EQ(file.format, 1u);
        EXPECT_EQ(file.division, 480u);
        ASSERT_EQ(file.tracks.size(), 1u);
        const MidiTrack &conductor = file.tracks[0];
        EXPECT_EQ(Lines(conductor)[0].substr(0, 8), "0: FF 03"); // the title comes first
        EXPECT_EQ(MetaTexts(conductor, 0x03), Strings{"Song \x8B\xC8"});
        EXPECT_EQ(MetaTexts(conductor, 0x01), (Strings{"First line", "  indented"}));
        EXPECT_EQ(Lines(conductor, {0x01, 0x03}),
                  (Strings{"0: FF 58 03 03 18 08", "0: FF 59 FE 01", "0: FF 51 06 1A 80"}));
    }
}

// Catches a time signature no SMF can express passed on instead of 4/4.
TEST(SongHeader, UnusableTimeSignaturesBecomeFourFour)
{
    for (const auto &[numerator, denominator] : {std::pair{0, 4}, {3, 6}, {4, 0}}) {
        SongBuilder song;
        song.Beat(static_cast<uint8_t>(numerator), static_cast<uint8_t>(denominator));
        EXPECT_EQ(Lines(ConvertToMidi(song.Build()).tracks[0], {0x03})[0], "0: FF 58 04 02 18 08");
    }
}

// Catches a title in the SMF that the player's title probe reads differently from the
// song file's own title field.
TEST(SongHeader, TheTitleProbeReadsTheSameTitleFromBothFiles)
{
    const Strings fields = {std::string(64, 'X'), "  Word", std::string("AB\0CD", 5), "\t Title \r",
                            "\x83\x65\x83\x58\x83\x67 \x8B\xC8"};
    for (const std::string &field : fields) {
        const std::string song = SongBuilder().Title(field).Build();
        EXPECT_EQ(SmfProbeTitle(ConvertToSmf(song)), RcpProbeTitle(song)) << field;
    }
}

// Catches the second half of the 128-byte G36 title lost, or a double-byte character
// split where the title must be cut.
TEST(SongHeader, G36KeepsItsWholeTitleField)
{
    const std::string longTitle = std::string(70, 'A') + "B";
    EXPECT_EQ(MetaTexts(ConvertToMidi(SongBuilder(Layout::kG36).Title(longTitle).Build()).tracks[0],
                        0x03),
              Strings{longTitle});
    const std::string full = std::string(126, 'A') + "\x8B\xC8";
    EXPECT_EQ(
        MetaTexts(ConvertToMidi(SongBuilder(Layout::kG36).Title(full).Build()).tracks[0], 0x03),
        Strings{std::string(126, 'A')});
}

// Catches an R36 read as 18 tracks, or an early file (count 0) read as none.
TEST(TrackTable, TrackCountFollowsTheHeader)
{
    SongBuilder r36(Layout::kRcp, 36);
    r36.Track(35).channel = 5;
    r36.Track(35).events = {Note(60, 48, 24, 100)};
    EXPECT_EQ(Notes(ConvertToMidi(r36.Build()).tracks.at(1)),
              (std::vector<PlayedNote>{{0, 5, 60, 100, 24}}));

    SongBuilder early(Layout::kRcp, 18);
    early.StoredTrackCount(0);
    early.Track(17).events = {Note(62, 48, 24, 100)};
    EXPECT_EQ(ConvertToMidi(early.Build()).tracks.size(), 2u);
}

// Catches the high bits of a long RCP track's length dropped, which starts the next
// track inside this one.
TEST(TrackTable, LongRcpTracksKeepTheHighBitsOfTheirLength)
{
    SongBuilder song;
    std::vector<Ev> &events = song.Track(0).events;
    events.assign(16, Note(60, 1, 1, 100));
    events.push_back(Cmd(0xFE));
    // Filler that would read as a track on channel 6 if the next track started inside it.
    events.insert(events.end(), 16383, Note(5, 1, 1, 100));
    events.push_back(Cmd(0xFE));
    const uint32_t length = 44 + static_cast<uint32_t>(events.size()) * 4; // 0x10070
    song.Track(0).statedLength = (length & 0xFFFC) | (length >> 16);
    song.Track(1).channel = 1;
    song.Track(1).events = {Note(62, 10, 5, 100)};

    const MidiFile file = ConvertToMidi(song.Build());
    ASSERT_EQ(file.tracks.size(), 3u);
    EXPECT_EQ(Notes(file.tracks[1]).size(), 16u);
    EXPECT_EQ(Notes(file.tracks[2]), (std::vector<PlayedNote>{{0, 1, 62, 100, 5}}));
}

// Catches a wrong length field trusted, a footer read as a track, or the whole events
// before a cut lost.
TEST(TrackTable, TracksAreFoundWhateverTheirLengthFieldsSay)
{
    SongBuilder wrongLength;
    wrongLength.Track(0).events = {Note(60, 10, 5, 100), Note(62, 10, 5, 100),
                                   Note(64, 10, 5, 100)};
    wrongLength.Track(0).statedLength = 44 + 4;
    wrongLength.Track(1).channel = 1;
    wrongLength.Track(1).events = {Note(65, 10, 5, 100)};
    const MidiFile measured = ConvertToMidi(wrongLength.Build());
    ASSERT_EQ(measured.tracks.size(), 3u);
    EXPECT_EQ(Notes(measured.tracks[1]).size(), 3u);

    SongBuilder footer(Layout::kG36, 1);
    footer.StoredTrackCount(36).Footer("RCFWVer2.0-000 Serial:" + std::string(12, '\0'));
    footer.Track(0).events = {Note(60, 10, 5, 100)};
    EXPECT_EQ(ConvertToMidi(footer.Build()).tracks.size(), 2u);

    SongBuilder cut;
    cut.Track(0).events = {Note(60, 10, 5, 100), Note(62, 10, 5, 100), Note(64, 10, 5, 100),
                           Note(65, 10, 5, 100)};
    const std::string whole = cut.Build();
    EXPECT_EQ(Notes(MusicTrack(whole.substr(0, 0x586 + 44 + 3 * 4 + 2))).size(), 3u);
}

// Catches the start shift of early files read signed when the file stores it unsigned.
TEST(TrackTable, EarlyFilesMayStoreTheStartShiftUnsigned)
{
    for (const unsigned count : {0u, 18u}) {
        SongBuilder song(Layout::kRcp, 18);
        song.StoredTrackCount(count);
        song.Track(0).stShift = 150; // as a signed byte -106, which no editor writes
        song.Track(0).events = {Note(60, 10, 200, 100)};
        // Unsigned in an early file; signed otherwise, the note then starting before tick 0.
        const uint32_t expected = count == 0 ? 150 : 0;
        EXPECT_EQ(Notes(MusicTrack(song.Build())).at(0).tick, expected);
    }
}
