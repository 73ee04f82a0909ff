#include "platform/mci/chase.h"
#include "platform/mci/silence.h"
#include "platform/mci/smfparser.h"

#include "songs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using mci::MidiMessage;
using namespace songs;

mci::Song ParseBytes(const std::string &bytes)
{
    return mci::ParseSong(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
}

std::vector<MidiMessage> ChaseAtTick(const mci::Song &song, std::int64_t tick)
{
    return mci::ChaseMessages(song, song.FirstEventAtOrAfter(song.tempo.TickToNs(tick)));
}

// The messages after the output reset (16 x all sound off + reset all controllers).
std::vector<MidiMessage> AfterReset(const std::vector<MidiMessage> &chase)
{
    EXPECT_GE(chase.size(), 32u);
    for (int channel = 0; channel < 16; ++channel) {
        EXPECT_EQ(chase[static_cast<std::size_t>(2 * channel)], Control(channel, 120, 0));
        EXPECT_EQ(chase[static_cast<std::size_t>(2 * channel + 1)], Control(channel, 121, 0));
    }
    return std::vector<MidiMessage>(chase.begin() + 32, chase.end());
}

const MidiMessage kGmOn = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
const MidiMessage kGsReverb = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x01, 0x30, 0x01, 0x0E, 0xF7};

// Catches a chase of values from after the point, of first values, or of a program before its bank.
TEST(Chase, ReplaysTheLastValuesBeforeThePoint)
{
    mci::SmfWriter w;
    w.Event(0, Control(2, 0, 1)).Event(0, Control(2, 32, 3)).Event(0, Program(2, 40));
    w.Event(0, Control(2, 7, 100)).Event(10, Control(2, 7, 80)).Event(10, Control(2, 10, 20));
    w.Event(20, {0xE2, 0x00, 0x50}).Event(20, {0xD2, 0x33});
    w.Event(30, NoteOn(2, 60)).Event(40, Program(2, 41)).Event(40, Control(2, 7, 10));
    const mci::Song song = ParseBytes(w.Bytes());

    EXPECT_THAT(AfterReset(ChaseAtTick(song, 40)),
                testing::ElementsAre(Control(2, 0, 1), Control(2, 32, 3), MidiMessage{0xC2, 40},
                                     Control(2, 7, 80), Control(2, 10, 20),
                                     MidiMessage{0xE2, 0x00, 0x50}, MidiMessage{0xD2, 0x33}));
    // At tick 10 the controllers set on tick 10 are still to come.
    EXPECT_THAT(AfterReset(ChaseAtTick(song, 10)),
                testing::ElementsAre(Control(2, 0, 1), Control(2, 32, 3), MidiMessage{0xC2, 40},
                                     Control(2, 7, 100)));
    EXPECT_TRUE(AfterReset(ChaseAtTick(song, 0)).empty());
}

// Catches RPN/NRPN values lost (a chased pitch bend range) or sent to the wrong parameter.
TEST(Chase, ReplaysRpnAndNrpnValuesAndTheLastSelection)
{
    mci::SmfWriter w;
    w.Event(0, Control(0, 101, 0)).Event(0, Control(0, 100, 0)).Event(0, Control(0, 6, 12));
    w.Event(0, Control(0, 99, 1)).Event(0, Control(0, 98, 8)).Event(0, Control(0, 6, 70));
    w.Event(0, Control(0, 38, 5)).Event(0, Control(0, 101, 127)).Event(0, Control(0, 100, 127));
    w.Event(0, Control(0, 6, 99)); // to the null parameter: does nothing
    w.Event(5, NoteOn(0, 60));
    const mci::Song song = ParseBytes(w.Bytes());

    EXPECT_THAT(AfterReset(ChaseAtTick(song, 5)),
                testing::ElementsAre(Control(0, 101, 0), Control(0, 100, 0), Control(0, 6, 12),
                                     Control(0, 99, 1), Control(0, 98, 8), Control(0, 6, 70),
                                     Control(0, 38, 5), Control(0, 101, 127),
                                     Control(0, 100, 127)));
}

// Catches settings from before a module reset replayed after it, or SysEx left out.
TEST(Chase, AResetMessageForgetsWhatCameBefore)
{
    mci::SmfWriter w;
    w.Event(0, kGsReverb).Event(0, Program(0, 5)).Event(0, Control(1, 7, 50));
    w.Event(10, kGmOn).Event(10, Control(1, 10, 0)).Event(20, kGsReverb);
    w.Event(30, Control(1, 1, 90)).Event(40, Control(1, 121, 0)).Event(50, NoteOn(0, 60));
    const mci::Song song = ParseBytes(w.Bytes());

    EXPECT_THAT(AfterReset(ChaseAtTick(song, 35)),
                testing::ElementsAre(kGmOn, kGsReverb, Control(1, 1, 90), Control(1, 10, 0)));
    // Reset All Controllers in the song takes the modulation back with it.
    EXPECT_THAT(AfterReset(ChaseAtTick(song, 50)),
                testing::ElementsAre(kGmOn, kGsReverb, Control(1, 10, 0)));
}

// Catches reset messages of the common modules not recognised (or other SysEx taken for one).
TEST(Chase, RecognisesModuleResets)
{
    const std::vector<MidiMessage> resets = {
        kGmOn,
        {0xF0, 0x7E, 0x10, 0x09, 0x03, 0xF7},
        {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7},
        {0xF0, 0x41, 0x10, 0x42, 0x12, 0x00, 0x00, 0x7F, 0x00, 0x01, 0xF7},
        {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7}};
    for (const MidiMessage &m : resets)
        EXPECT_TRUE(mci::IsResetSysEx(mci::View(m)));
    EXPECT_FALSE(mci::IsResetSysEx(mci::View(kGsReverb)));
    EXPECT_FALSE(mci::IsResetSysEx(mci::View(Control(0, 121, 0))));
}

// Catches stuck notes: a note-off per sounding note-on, then both "off" controllers everywhere.
TEST(Silence, SwitchesOffEverySoundingNote)
{
    mci::NoteTracker sounding;
    for (const MidiMessage &m : {NoteOn(0, 60), NoteOn(0, 60), NoteOn(9, 36), NoteOn(3, 50),
                                 MidiMessage{0x93, 50, 0}, NoteOn(3, 51, 0)})
        sounding.Apply(mci::View(m));
    const std::vector<MidiMessage> silence = mci::SilenceMessages(sounding);
    ASSERT_EQ(silence.size(), 3u + 32u);
    EXPECT_EQ(silence[0], mci::NoteOff(0, 60));
    EXPECT_EQ(silence[1], mci::NoteOff(0, 60));
    EXPECT_EQ(silence[2], mci::NoteOff(9, 36));
    for (int channel = 0; channel < 16; ++channel) {
        EXPECT_EQ(silence[3 + 2 * static_cast<std::size_t>(channel)], Control(channel, 123, 0));
        EXPECT_EQ(silence[4 + 2 * static_cast<std::size_t>(channel)], Control(channel, 120, 0));
    }
    EXPECT_EQ(mci::NoteOffMessages(sounding).size(), 3u);
}

} // namespace

namespace {

// The messages of a device list with the port each goes to, port selects left out.
std::vector<std::pair<int, MidiMessage>> OnPorts(const std::vector<MidiMessage> &list)
{
    std::vector<std::pair<int, MidiMessage>> out;
    mci::ForEachOnPort(list, [&](mci::MessageView m) {
        out.emplace_back(m.port, MidiMessage(m.data, m.data + m.size));
    });
    return out;
}

const MidiMessage kPartB = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x50, 0x11, 0x15, 0x01, 0x09, 0xF7};

// Catches a two-port song chased onto port A only: port B's programs and SysEx would land
// on port A's parts, and port B would keep what it had before the seek.
TEST(Chase, ReplaysEachPortOnItsOwnPort)
{
    mci::SmfWriter w;
    w.Event(0, Program(0, 10));
    w.Track().Meta(0, 0x21, std::string(1, '\x01'));
    w.Event(0, kPartB).Event(0, Program(0, 20)).Event(0, Control(0, 7, 90));
    w.Event(10, NoteOn(0, 60));
    const mci::Song song = ParseBytes(w.Bytes());

    const auto chase = OnPorts(ChaseAtTick(song, 10));
    ASSERT_EQ(chase.size(), 64u + 4u);
    for (std::size_t i = 0; i < 64; ++i)
        EXPECT_EQ(chase[i].first, i < 32 ? 0 : 1) << i;
    EXPECT_EQ(chase[32].second, Control(0, 120, 0));
    EXPECT_EQ(chase[64], std::make_pair(1, kPartB));
    EXPECT_EQ(chase[65], std::make_pair(0, MidiMessage{0xC0, 10}));
    EXPECT_EQ(chase[66], std::make_pair(1, MidiMessage{0xC0, 20}));
    EXPECT_EQ(chase[67], std::make_pair(1, Control(0, 7, 90)));
}

// Catches notes of port B left sounding at a stop, or switched off on port A instead.
TEST(Silence, SwitchesOffNotesOnEveryPortThatHadThem)
{
    mci::NoteTracker sounding;
    const MidiMessage a = NoteOn(2, 60);
    const MidiMessage b = NoteOn(2, 61);
    sounding.Apply(mci::View(a));
    sounding.Apply(mci::View(b, 3));
    EXPECT_EQ(sounding.Count(2, 61, 3), 1);
    EXPECT_EQ(sounding.Count(2, 61, 0), 0);

    const auto silence = OnPorts(mci::SilenceMessages(sounding));
    ASSERT_EQ(silence.size(), 2u + 64u);
    EXPECT_EQ(silence[0], std::make_pair(0, mci::NoteOff(2, 60)));
    EXPECT_EQ(silence[1], std::make_pair(3, mci::NoteOff(2, 61)));
    EXPECT_EQ(silence[2], std::make_pair(0, Control(0, 123, 0)));
    EXPECT_EQ(silence[34], std::make_pair(3, Control(0, 123, 0)));
    EXPECT_EQ(silence.back(), std::make_pair(3, Control(15, 120, 0)));
}

} // namespace
