#include "conversion.h"
#include "song_builder.h"

#include "outside/rcpcv/exclusive.h"

#include <gtest/gtest.h>

using namespace rcpcv_test;

namespace {

using Strings = std::vector<std::string>;

std::string Expand(const std::string &tmpl, uint8_t p1, uint8_t p2, uint8_t channel)
{
    const std::vector<uint8_t> bytes = Hex(tmpl);
    const std::string message =
        rcpcv::ExpandExclusive(rcpcv::ByteView(bytes.data(), bytes.size()), {p1, p2, channel});
    std::string hex;
    char part[4];
    for (const char c : message) {
        std::snprintf(part, sizeof part, hex.empty() ? "%02X" : " %02X", static_cast<uint8_t>(c));
        hex += part;
    }
    return hex;
}

} // namespace

// Catches placeholders put wrongly, a wrong Roland checksum, data read past F7, or a
// template with a stray status byte sent as a broken message.
TEST(Exclusive, TemplatesExpandTheirPlaceholders)
{
    EXPECT_EQ(Expand("41 10 42 12 83 40 00 7F 00 84 F7", 0, 0, 0),
              "F0 41 10 42 12 40 00 7F 00 41 F7");
    EXPECT_EQ(Expand("41 10 42 12 83 40 82 80 81 84 F7 00 11", 0x15, 0x7F, 3),
              "F0 41 10 42 12 40 03 15 7F 29 F7");
    EXPECT_EQ(Expand("41 90 12", 1, 2, 0), "");
    EXPECT_EQ(Expand("F7 41 10", 1, 2, 0), "");
}

// Catches user and track exclusives not sent, sent with the port in the channel, or
// carried wrongly by the continuation events of either layout.
TEST(Exclusive, UserAndTrackExclusives)
{
    for (const Layout layout : {Layout::kRcp, Layout::kG36}) {
        SongBuilder song(layout);
        song.UserExclusive(2, Hex("41 10 42 12 83 40 10 82 80 84 F7"));
        song.Track(0).channel = 0x13; // port B, channel 4
        std::vector<Ev> &events = song.Track(0).events;
        events = {Cmd(0x92, 10, 0x05, 0)};
        for (const Ev &e :
             song.Long(0x98, Hex("41 10 42 12 83 40 1A 80 81 84 F7"), false, 0x11, 0x22))
            events.push_back(e);
        EXPECT_EQ(Lines(MusicTrack(song.Build())),
                  (Strings{"0: F0 41 10 42 12 40 10 03 05 28 F7",
                           "10: F0 41 10 42 12 40 1A 11 22 73 F7"}));
    }
}

// Catches the Roland and Yamaha shortcut commands building wrong messages or forgetting
// the device and address they were given.
TEST(Exclusive, RolandAndYamahaShortcuts)
{
    SongBuilder song;
    song.Track(0).events = {Cmd(0xDE, 0, 0x05, 0x06), Cmd(0xDF, 0, 0x10, 0x42),
                            Cmd(0xDD, 0, 0x40, 0x01), Cmd(0xDE, 0, 0x30, 0x64)};
    song.Track(1).channel = 2;
    song.Track(1).events = {
        Cmd(0xC1, 0, 0x85, 5),    Cmd(0xC6, 0, 0x20, 0x30), Cmd(0xCA, 0, 1, 2),
        Cmd(0xC4, 0, 1, 2),       Cmd(0xD1, 0, 0x10, 0x4C), Cmd(0xD0, 0, 0x08, 0x01),
        Cmd(0xD2, 0, 0x0B, 0x40), Cmd(0xD3, 0, 0x0C, 0x41), Cmd(0xDC, 0, 0x20, 0x30)};
    const MidiFile file = ConvertToMidi(song.Build());
    ASSERT_EQ(file.tracks.size(), 3u);
    EXPECT_EQ(Lines(file.tracks[1]), (Strings{"0: F0 41 10 16 12 00 10 05 06 65 F7",
                                              "0: F0 41 10 42 12 40 01 30 64 2B F7"}));
    EXPECT_EQ(Lines(file.tracks[2]),
              (Strings{"0: F0 43 12 01 05 05 F7", "0: F0 43 75 02 10 20 30 F7",
                       "0: F0 43 12 10 7B 01 02 F7", "0: F0 43 10 4C 08 01 0B 40 F7",
                       "0: F0 43 10 4C 08 01 0C 41 F7", "0: F0 41 32 02 20 30 F7"}));
}

// Catches exclusives sent by a track that has no output channel.
TEST(Exclusive, NoOutputNoExclusives)
{
    SongBuilder song;
    song.UserExclusive(0, Hex("41 10 42 12 83 40 00 7F 00 84 F7"));
    song.Track(0).channel = 0xFF;
    song.Track(0).events = {Cmd(0x90), Cmd(0xDE, 0, 1, 2), Cmd(0xC1, 0, 1, 2)};
    EXPECT_EQ(ConvertToMidi(song.Build()).tracks.size(), 1u);
}
