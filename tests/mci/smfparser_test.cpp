#include "platform/mci/smfparser.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using namespace std::string_literals;
using mci::MidiMessage;
using mci::ParseSong;
using mci::Song;
using mci::SongFormatError;

std::string Be(std::uint32_t value, int bytes)
{
    std::string out;
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return out;
}

std::string Header(int format, int tracks, int division, std::uint32_t length = 6)
{
    return "MThd" + Be(length, 4) + Be(static_cast<std::uint32_t>(format), 2) +
           Be(static_cast<std::uint32_t>(tracks), 2) + Be(static_cast<std::uint32_t>(division), 2) +
           std::string(length > 6 ? length - 6 : 0, '\x55');
}

std::string Chunk(const std::string &id, const std::string &body, std::int64_t claimed = -1)
{
    return id + Be(static_cast<std::uint32_t>(claimed < 0 ? body.size() : claimed), 4) + body;
}

std::string Smf(const std::vector<std::string> &tracks, int format = 1, int division = 96)
{
    std::string out = Header(format, static_cast<int>(tracks.size()), division);
    for (const std::string &body : tracks)
        out += Chunk("MTrk", body);
    return out;
}

Song Parse(const std::string &bytes)
{
    return ParseSong(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
}

struct Timed
{
    std::int64_t tick;
    MidiMessage message;
    bool operator==(const Timed &o) const { return tick == o.tick && message == o.message; }
};

std::ostream &operator<<(std::ostream &os, const Timed &t)
{
    os << t.tick << ":";
    for (const auto b : t.message)
        os << " " << std::hex << int(b) << std::dec;
    return os;
}

std::vector<Timed> Events(const Song &song)
{
    std::vector<Timed> out;
    for (const mci::SongEvent &e : song.events) {
        const mci::MessageView m = song.Message(e);
        out.push_back({e.tick, MidiMessage(m.data, m.data + m.size)});
    }
    return out;
}

const std::string kEnd = "\x00\xFF\x2F\x00"s;

// Catches a length taken from the last note instead of the End of Track's delta.
TEST(SmfParser, LengthComesFromEndOfTrack)
{
    const Song song = Parse(Smf({"\x00\x90\x3C\x64\x60\x80\x3C\x40\x81\x00\xFF\x2F\x00"s}, 0));
    EXPECT_THAT(Events(song),
                testing::ElementsAre(Timed{0, {0x90, 0x3C, 0x64}}, Timed{96, {0x80, 0x3C, 0x40}}));
    EXPECT_EQ(song.lengthTicks, 224);
    EXPECT_EQ(song.lengthNs, 224LL * 500000000 / 96);
    EXPECT_EQ(song.tracks, 1);
}

// Catches notes lost after a meta event or SysEx, where strict readers drop running status.
TEST(SmfParser, RunningStatusContinuesAcrossMetaAndSysEx)
{
    const Song song = Parse(Smf({"\x00\x90\x3C\x64"
                                 "\x10\x3C\x00"
                                 "\x00\xFF\x01\x01\x41"
                                 "\x10\x3E\x64"
                                 "\x00\xF0\x05\x7E\x7F\x09\x01\xF7"
                                 "\x10\x3E\x00"s +
                                 kEnd}));
    EXPECT_THAT(Events(song),
                testing::ElementsAre(Timed{0, {0x90, 0x3C, 0x64}}, Timed{16, {0x90, 0x3C, 0x00}},
                                     Timed{32, {0x90, 0x3E, 0x64}},
                                     Timed{32, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}},
                                     Timed{48, {0x90, 0x3E, 0x00}}));
}

// Catches a truncated or corrupt track rejecting the whole file or reading past its end.
TEST(SmfParser, DamagedTracksEndWhereTheyBreak)
{
    // The file ends inside the second event; the chunk claims far more than there is.
    const std::string truncated =
        Header(1, 1, 96) + Chunk("MTrk", "\x00\x90\x3C\x64\x60\x80\x3C"s, 1000000);
    Song song = Parse(truncated);
    EXPECT_THAT(Events(song), testing::ElementsAre(Timed{0, {0x90, 0x3C, 0x64}}));
    EXPECT_EQ(song.lengthTicks, 0);

    // A data byte with no status before it; a five-byte delta time.
    song = Parse(Smf({"\x00\xC0\x05"s + kEnd, "\x00\x3C\x64"s + kEnd,
                      "\x20\xC1\x07\x81\x81\x81\x81\x01\xC1\x08"s}));
    EXPECT_THAT(Events(song),
                testing::ElementsAre(Timed{0, {0xC0, 0x05}}, Timed{32, {0xC1, 0x07}}));
    EXPECT_EQ(song.tracks, 3);
    EXPECT_EQ(song.lengthTicks, 32);
}

// Catches a song cut short at a data byte of 80H or more (a 1993 sequencer wrote B0 00 FF),
// or such a byte read as the next status: it is a value, clamped to 7FH.
TEST(SmfParser, DataBytesAreTakenByCountAndClamped)
{
    const Song song = Parse(Smf({"\x00\xB0\x00\xFF"
                                 "\x00\xC0\x90"
                                 "\x10\x90\x3C\x80"
                                 "\x10\x3C\x00"
                                 "\x83\x60\xFF\x2F\x00"s}));
    EXPECT_THAT(Events(song),
                testing::ElementsAre(Timed{0, {0xB0, 0x00, 0x7F}}, Timed{0, {0xC0, 0x7F}},
                                     Timed{16, {0x90, 0x3C, 0x7F}}, Timed{32, {0x90, 0x3C, 0x00}}));
    EXPECT_EQ(song.lengthTicks, 32 + 480);
}

// Catches the port prefix ignored (port B's parts merged onto port A), kept beyond its
// track, or a port the device lacks used as an index.
TEST(SmfParser, PortPrefixPutsTheTracksEventsOnItsPort)
{
    const Song song = Parse(Smf({"\x00\xC0\x01"
                                 "\x00\xFF\x21\x01\x01"
                                 "\x00\xC0\x02"
                                 "\x00\xF0\x03\x7E\x7F\xF7"s +
                                     kEnd,
                                 "\x00\xC0\x03"
                                 "\x00\xFF\x21\x01\x06"
                                 "\x00\xC0\x04"s +
                                     kEnd}));
    std::vector<std::pair<int, int>> ports; // (first byte after status or F0, port)
    for (const mci::SongEvent &e : song.events)
        ports.emplace_back(song.Message(e).data[1], song.Message(e).port);
    EXPECT_THAT(ports, testing::ElementsAre(std::pair(1, 0), std::pair(2, 1), std::pair(0x7E, 1),
                                            std::pair(3, 0), std::pair(4, 2)));
    EXPECT_EQ(song.ports, 0b111u);
    EXPECT_EQ(Parse(Smf({"\x00\xC0\x01"s + kEnd})).ports, 1u);
}

// Catches divided, escaped and unterminated SysEx sent as garbage or lost.
TEST(SmfParser, SysExPacketsBecomeWholeMessages)
{
    const Song song = Parse(Smf({"\x00\xF0\x03\x43\x10\x4C"
                                 "\x10\xF7\x03\x00\x00\x7E"
                                 "\x10\xF7\x02\x00\xF7"
                                 "\x00\xF7\x03\x90\x40\x7F"
                                 "\x00\xF0\x08\x7E\x7F\x09\x01\xF7\xF0\x41\xF7"
                                 "\x00\xF0\x02\x41\x10"s +
                                 kEnd}));
    EXPECT_THAT(Events(song),
                testing::ElementsAre(
                    Timed{0, {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7}},
                    Timed{32, {0x90, 0x40, 0x7F}}, Timed{32, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}},
                    Timed{32, {0xF0, 0x41, 0xF7}}));
}

// Catches system common and real-time bytes inside a track derailing the reader.
TEST(SmfParser, SystemBytesInsideATrackAreSkipped)
{
    const Song song = Parse(Smf({"\x00\xF1\x7F\x00\xF2\x7F\x7F\x00\xF3\x01\x00\xF6\x00\xF8\x00\xFE"
                                 "\x00\x90\x3C\x64"s +
                                 kEnd}));
    EXPECT_THAT(Events(song), testing::ElementsAre(Timed{0, {0x90, 0x3C, 0x64}}));
}

// Catches unknown chunks, long headers and trailing bytes taken for track data.
TEST(SmfParser, SkipsWhatItDoesNotKnow)
{
    const std::string bytes = Header(1, 2, 96, 10) + Chunk("MTrk", "\x00\xC0\x01"s + kEnd) +
                              Chunk("Junk", "\x00\x90\x3C\x64"s) +
                              Chunk("MTrk", "\x00\xC1\x02"s + kEnd) + "\x00"s;
    const Song song = Parse(bytes);
    EXPECT_THAT(Events(song), testing::ElementsAre(Timed{0, {0xC0, 0x01}}, Timed{0, {0xC1, 0x02}}));
}

// Catches tracks merged out of order, and tempo changes outside the first track ignored.
TEST(SmfParser, FormatOneMergesTracksInTimeThenTrackOrder)
{
    const Song song = Parse(Smf({"\x0A\xB0\x07\x64"s + kEnd,
                                 "\x00\xFF\x51\x03\x03\xD0\x90\x05\xC1\x01\x05\xC1\x02"s + kEnd}));
    EXPECT_THAT(Events(song),
                testing::ElementsAre(Timed{5, {0xC1, 0x01}}, Timed{10, {0xB0, 0x07, 0x64}},
                                     Timed{10, {0xC1, 0x02}}));
    EXPECT_EQ(song.tempo.TickToNs(96), 250000000);
}

// Catches format 2 patterns played on top of each other, or one's tempo carried to the next.
TEST(SmfParser, FormatTwoPlaysTracksOneAfterAnother)
{
    const Song song = Parse(Smf({"\x00\xFF\x51\x03\x03\xD0\x90\x00\xC0\x01\x83\x60\xFF\x2F\x00"s,
                                 "\x83\x60\xC0\x02"s + kEnd},
                                2, 480));
    ASSERT_EQ(song.events.size(), 2u);
    EXPECT_EQ(song.events[1].tick, 960);
    EXPECT_EQ(song.EventNs(1), 750000000); // 480 ticks at 0.25 s, then 480 at 0.5 s
    EXPECT_EQ(song.lengthTicks, 960);
}

// Catches broken headers accepted (or crashing) instead of reported with a reason.
TEST(SmfParser, RejectsWhatIsNoMidiFile)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "is not a MIDI file"},
        {"This is a text file.\n", "is not a MIDI file"},
        {"MThd\x00\x00\x00\x04\x00\x00\x00\x01"s, "header is too short"},
        {"MThd\x00\x00\x00\x06\x00\x00"s, "truncated"},
        {Header(3, 1, 96) + Chunk("MTrk", kEnd), "unknown MIDI file format (3)"},
        {Header(1, 1, 0) + Chunk("MTrk", kEnd), "time division is 0"},
        {Header(0, 1, 0xF060) + Chunk("MTrk", kEnd), "SMPTE time division"},
        {Header(0, 1, 0xE700) + Chunk("MTrk", kEnd), "SMPTE time division"},
        {Header(1, 1, 96), "holds no track"},
        {Header(1, 1, 96) + Chunk("mTrk", kEnd), "holds no track"},
        {"RIFF\x04\x00\x00\x00WAVE"s, "not a RIFF MIDI"},
        {"RIFF\x10\x00\x00\x00RMIDLIST\x02\x00\x00\x00xx"s, "without MIDI data"},
    };
    for (const auto &[bytes, reason] : cases) {
        try {
            Parse(bytes);
            ADD_FAILURE() << "accepted: " << reason;
        } catch (const SongFormatError &error) {
            EXPECT_THAT(error.what(), testing::HasSubstr(reason));
        }
    }
    const std::string huge(mci::kMaxSongBytes + 1, '\0');
    EXPECT_THROW(Parse(huge), SongFormatError);
}

// Catches a RIFF reader that misses the data chunk behind odd-sized chunks or a wrong size.
TEST(SmfParser, ReadsTheDataChunkOfRiffMidi)
{
    const std::string smf = Smf({"\x00\x90\x3C\x64"s + kEnd}, 0);
    const std::string le = {static_cast<char>(smf.size()), static_cast<char>(smf.size() >> 8), 0,
                            0};
    const std::string riff = "RIFF\xFF\xFF\x00\x00RMID"s + "DISP\x05\x00\x00\x00\x01xxxx\x00"s +
                             "data" + le + smf + "LIST\x04\x00\x00\x00INFO"s;
    Song song = Parse(riff);
    EXPECT_EQ(song.events.size(), 1u);
    // A data chunk that claims more than the file has is read to the end of the file.
    song = Parse("RIFF\x00\x01\x00\x00RMIDdata\x00\x10\x00\x00"s + smf);
    EXPECT_EQ(song.events.size(), 1u);
}

// Catches empty files of no tracks refused, although they are valid (if silent).
TEST(SmfParser, NoTracksMakesAnEmptySong)
{
    const Song song = Parse(Header(0, 0, 96));
    EXPECT_TRUE(song.events.empty());
    EXPECT_EQ(song.lengthNs, 0);
}

// Catches crashes, hangs and broken invariants on damaged input of every kind.
TEST(SmfParser, MutatedFilesParseOrFailCleanly)
{
    const std::string base = Smf(
        {"\x00\xFF\x51\x03\x07\xA1\x20\x00\xF0\x05\x7E\x7F\x09\x01\xF7\x00\xC0\x05\x00\x90"
         "\x3C\x64\x60\x3C\x00\x00\xF0\x03\x43\x10\x4C\x10\xF7\x02\x00\xF7\x81\x00\xE0\x00\x40"s +
             kEnd,
         "\x00\xB1\x07\x64\x8F\xFF\xFF\x7F\x91\x40\x40\x00\xF7\x03\x90\x41\x7F"s + kEnd});
    std::mt19937 random(12345);
    int parsed = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = base;
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < edits; ++i) {
            const std::size_t at = random() % bytes.size();
            switch (random() % 4) {
            case 0:
                bytes[at] = static_cast<char>(random());
                break;
            case 1:
                bytes.resize(at + 1);
                break;
            case 2:
                bytes.insert(at, 1, static_cast<char>(random()));
                break;
            default:
                bytes[at] = static_cast<char>(0x80 | random());
                break;
            }
        }
        try {
            const Song song = Parse(bytes);
            ++parsed;
            for (std::size_t i = 0; i < song.events.size(); ++i) {
                const mci::SongEvent &e = song.events[i];
                ASSERT_LE(e.tick, song.lengthTicks);
                ASSERT_TRUE(i == 0 || song.events[i - 1].tick <= e.tick);
                const mci::MessageView m = song.Message(e);
                if (m.IsSysEx()) {
                    ASSERT_EQ(m.data[m.size - 1], 0xF7);
                    for (std::size_t k = 1; k + 1 < m.size; ++k)
                        ASSERT_LT(m.data[k], 0x80);
                } else {
                    ASSERT_TRUE(m.IsChannel());
                    for (std::size_t k = 1; k < m.size; ++k)
                        ASSERT_LT(m.data[k], 0x80);
                }
            }
        } catch (const SongFormatError &) {
        }
    }
    EXPECT_GT(parsed, 100);
}

// Catches texts lost, put on the wrong track or tick, or kept without bound.
TEST(SmfParser, KeepsTextLyricAndMarkerEventsWithinBounds)
{
    const std::string first = "\x00\xFF\x01\x03one"s + "\x10\xFF\x03\x04name"s +
                              "\x10\xFF\x05\x03two"s + "\x00\xFF\x2F\x00"s;
    const std::string second = "\x08\xFF\x06\x09loopStart"s + "\x01\xFF\x01\x82\x00"s +
                               std::string(256, 'x') + "\x00\xFF\x2F\x00"s;
    const Song song = Parse(Smf({first, second}));
    ASSERT_EQ(song.texts.size(), 4u);
    EXPECT_EQ(song.texts[0].bytes, "one");
    EXPECT_EQ(song.texts[1].tick, 8);
    EXPECT_EQ(song.texts[1].type, 0x06);
    EXPECT_EQ(song.texts[1].track, 1);
    EXPECT_EQ(song.texts[2].bytes.size(), 256u);
    EXPECT_EQ(song.texts[3].tick, 32);
    EXPECT_EQ(song.texts[3].type, 0x05);

    std::string many;
    for (std::size_t i = 0; i < mci::kMaxSongTexts + 10; ++i)
        many += "\x00\xFF\x05\x01"s + "a";
    EXPECT_EQ(Parse(Smf({many + "\x00\xFF\x2F\x00"s})).texts.size(), mci::kMaxSongTexts);
}

} // namespace
