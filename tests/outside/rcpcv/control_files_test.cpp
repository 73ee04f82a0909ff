#include "conversion.h"
#include "song_builder.h"

#include "support/tempfolder.h"

#include <gtest/gtest.h>

using namespace rcpcv_test;

namespace {

using Strings = std::vector<std::string>;

// A control file of the given size and header, its data bytes counting up.
std::string ControlFile(size_t size, const std::string &header)
{
    std::string data(size, '\0');
    for (size_t i = 0; i < size; ++i)
        data[i] = static_cast<char>(i * 7 & 0x7F);
    data.replace(0, header.size(), header);
    return data;
}

std::string Cm6(const std::string &model)
{
    return ControlFile(0x5849, std::string("COME ON MUSIC\0\0\0", 16) + "R " + model + "   ");
}

std::string Gsd()
{
    return ControlFile(0xA71, std::string("COME ON MUSIC\0GS CONTROL 1.0\0\0\0\0", 32));
}

// The Roland data set expected for address and a span of a control file.
std::vector<uint8_t> DataSet(uint8_t model, std::vector<uint8_t> address, const std::string &file,
                             size_t offset, size_t size)
{
    std::vector<uint8_t> bytes = {0xF0, 0x41, 0x10, model, 0x12};
    unsigned sum = 0;
    for (size_t i = 0; i < address.size() + size; ++i) {
        const uint8_t value =
            i < address.size() ? address[i] : static_cast<uint8_t>(file[offset + i - 3]);
        bytes.push_back(value);
        sum += value;
    }
    bytes.push_back(static_cast<uint8_t>((0x80 - (sum & 0x7F)) & 0x7F));
    bytes.push_back(0xF7);
    return bytes;
}

std::vector<std::vector<uint8_t>> SysExOf(const MidiTrack &track)
{
    std::vector<std::vector<uint8_t>> messages;
    for (const MidiEvent &event : track.events) {
        if (event.bytes[0] == 0xF0)
            messages.push_back(event.bytes);
    }
    return messages;
}

bool Contains(const std::vector<std::vector<uint8_t>> &messages, const std::vector<uint8_t> &m)
{
    return std::find(messages.begin(), messages.end(), m) != messages.end();
}

SongBuilder SongNaming(const std::string &cm6, const std::string &gsd)
{
    SongBuilder song;
    song.Cm6(cm6).Gsd(gsd);
    song.Track(0).events = {Note(60, 10, 5, 100)};
    return song;
}

} // namespace

// Catches control files missed because of the letter case of their names, data sent to
// the wrong addresses, wrong checksums, or a setup that overlaps the music.
TEST(ControlFiles, FilesBesideTheSongAreSentBeforeTheMusic)
{
    testing_support::TempFolder folder;
    const std::string cm6 = Cm6("CM-64");
    const std::string gsd = Gsd();
    folder.Write("Song.cm6", cm6);
    folder.Write("SONG.GSD", gsd);
    const MidiFile file = ConvertToMidi(SongNaming("SONG.CM6", "song.gsd").Build(), folder.Path());
    ASSERT_EQ(file.tracks.size(), 3u);
    const MidiTrack &setup = file.tracks[1];
    EXPECT_EQ(MetaTexts(setup, 0x03), Strings{"Song.cm6, SONG.GSD"});

    const auto messages = SysExOf(setup);
    ASSERT_EQ(messages.size(), 103u + 157u);
    EXPECT_EQ(messages[0], Hex("F0 41 10 16 12 7F 00 00 00 01 F7")); // MT-32 reset
    EXPECT_TRUE(Contains(messages, DataSet(0x16, {0x10, 0x00, 0x00}, cm6, 0x80, 0x17)));
    EXPECT_TRUE(Contains(messages, DataSet(0x16, {0x03, 0x03, 0x10}, cm6, 0x230, 0x54)));
    EXPECT_TRUE(Contains(messages, DataSet(0x16, {0x08, 0x7E, 0x00}, cm6, 0x4D34, 0x100)));
    EXPECT_TRUE(Contains(messages, DataSet(0x16, {0x52, 0x00, 0x00}, cm6, 0x5832, 0x11)));
    EXPECT_EQ(messages[103], Hex("F0 41 10 42 12 40 00 7F 00 41 F7")); // GS reset
    // Channel 10 is GS block 0, channel 1 block 1.
    EXPECT_TRUE(Contains(messages, DataSet(0x42, {0x40, 0x10, 0x00}, gsd, 0x36 + 9 * 0x7A, 0x23)));
    EXPECT_TRUE(Contains(messages, DataSet(0x42, {0x40, 0x11, 0x00}, gsd, 0x36, 0x23)));
    EXPECT_TRUE(
        Contains(messages, DataSet(0x42, {0x40, 0x2F, 0x50}, gsd, 0x36 + 15 * 0x7A + 0x6E, 11)));

    // Every message at its own time, all before the first note, which starts a measure.
    uint32_t last = 0;
    for (const MidiEvent &event : setup.events) {
        EXPECT_GE(event.tick, last);
        last = event.tick;
    }
    const std::vector<PlayedNote> notes = Notes(file.tracks[2]);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_GT(notes[0].tick, last);
    EXPECT_EQ(notes[0].tick % 192, 0u);
    EXPECT_GT(last, 1000u); // some 30 KB take seconds at MIDI speed
}

// Catches missing, foreign or misnamed control files breaking the song, or names with a
// DOS folder or without extension not found.
TEST(ControlFiles, NamesAndContentAreCheckedCarefully)
{
    testing_support::TempFolder folder;
    folder.Write("OTHER.GSD", "not a control file");
    folder.Write("PLAIN.GSD", Gsd());
    folder.Write("mt32.cm6", Cm6("MT-32"));

    const MidiFile none =
        ConvertToMidi(SongNaming("MISSING.CM6", "OTHER.GSD").Build(), folder.Path());
    ASSERT_EQ(none.tracks.size(), 2u);
    EXPECT_EQ(Notes(none.tracks[1]).at(0).tick, 0u);

    const MidiFile found =
        ConvertToMidi(SongNaming("A:\\DATA\\MT32.CM6", "PLAIN").Build(), folder.Path());
    ASSERT_EQ(found.tracks.size(), 3u);
    // An MT-32 dump has no CM-32P part.
    EXPECT_EQ(SysExOf(found.tracks[1]).size(), 85u + 157u);
}

// Catches a port-B control file sent to port A, or no port meta events for it.
TEST(ControlFiles, G36SetupForPortB)
{
    testing_support::TempFolder folder;
    folder.Write("B.GSD", Gsd());
    SongBuilder song(Layout::kG36);
    song.Gsd("B.GSD", 1);
    song.Track(0).events = {Note(60, 10, 5, 100)};
    const MidiFile file = ConvertToMidi(song.Build(), folder.Path());
    ASSERT_EQ(file.tracks.size(), 3u);
    EXPECT_EQ(Lines(file.tracks[1])[1], "0: FF 21 01");
    EXPECT_EQ(Lines(file.tracks[2])[0], "0: FF 21 00");
}
