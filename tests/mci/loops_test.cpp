#include "platform/mci/loops.h"
#include "platform/mci/mediaplayer.h"
#include "platform/mci/silentoutput.h"
#include "platform/mci/smfparser.h"
#include "support/tempfolder.h"

#include "songs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

using namespace std::chrono_literals;
using mci::LoggedEvent;
using mci::MidiMessage;
using namespace songs;

constexpr std::int64_t kMs = 1000000;

mci::Song Parse(const std::string &bytes)
{
    return mci::ParseSong(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
}

// A tick is a millisecond. Program 5, then the loop mark at 1 s; in the loop a note at
// 1.5 s, the volume set to 80 at 1.2 s, program 10 and pan 20 at 2 s, and a note from
// 2.9 s that sounds over the end at 3 s.
std::string GameSong()
{
    mci::SmfWriter w(500, 0);
    w.Event(0, Program(0, 5)).Event(0, NoteOn(0, 60)).Event(500, NoteOffMsg(0, 60));
    w.Event(1000, Control(0, 111, 0)).Event(1200, Control(0, 7, 80));
    w.Event(1500, NoteOn(0, 62)).Event(1600, NoteOffMsg(0, 62));
    w.Event(2000, Program(0, 10)).Event(2000, Control(0, 10, 20));
    w.Event(2900, NoteOn(0, 64)).EndAt(3000);
    return w.Bytes();
}

// A RIFF RMID file around a Standard MIDI File.
std::string Rmid(const std::string &smf)
{
    const auto le32 = [](std::size_t n) {
        std::string bytes;
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
        return bytes;
    };
    const std::string data = "data" + le32(smf.size()) + smf;
    return "RIFF" + le32(4 + data.size()) + "RMID" + data;
}

class LoopTest : public testing::Test
{
protected:
    void Open(const std::string &bytes, int loops, const std::string &name = "song.mid")
    {
        player.SetLoops(loops);
        player.SetFileName(folder.Write(name, bytes));
        player.Open();
        player.SetTimeFormat(mci::TMPTimeFormats::tfMilliseconds);
    }
    // Song times of the song events (the device's own messages left out) with message m.
    std::vector<std::int64_t> TimesOf(const MidiMessage &m)
    {
        std::vector<std::int64_t> times;
        for (const LoggedEvent &e : output->Log())
            if (e.tick >= 0 && e.message == m)
                times.push_back(e.songNs / kMs);
        return times;
    }
    std::vector<LoggedEvent> Volumes()
    {
        std::vector<LoggedEvent> volumes;
        for (const LoggedEvent &e : output->Log())
            if (e.tick >= 0 && e.message.size() == 3 && e.message[0] == 0xB0 && e.message[1] == 7)
                volumes.push_back(e);
        return volumes;
    }
    std::vector<MidiMessage> Chase()
    {
        std::vector<MidiMessage> chase;
        for (const LoggedEvent &e : output->Log())
            if (e.tick < 0)
                chase.push_back(e.message);
        return chase;
    }

    testing_support::TempFolder folder;
    std::shared_ptr<mci::VirtualClock> clock = std::make_shared<mci::VirtualClock>();
    std::shared_ptr<mci::SilentOutput> output = std::make_shared<mci::SilentOutput>(clock);
    mci::TMediaPlayer player{output};
};

// Catches a loop that plays the wrong number of times, a length or position off the longer
// time line, or a song that never ends after its fade.
TEST_F(LoopTest, ALoopMarkedByController111PlaysAsOftenAsAsked)
{
    Open(GameSong(), 2);
    // 1 s before the loop, two passes of 2 s, the fade of 8 s.
    EXPECT_EQ(player.Length(), 13000);
    player.Play();
    clock->Advance(5000ms);
    EXPECT_EQ(player.Position(), 5000);
    EXPECT_EQ(player.Mode(), mci::mpPlaying);
    EXPECT_TRUE(player.WaitForEnd(60s));
    EXPECT_EQ(clock->Now(), 13s);
    EXPECT_EQ(player.Position(), player.Length());
    EXPECT_EQ(player.Mode(), mci::mpStopped);
    // The section goes on during the fade, which the song's end cuts.
    EXPECT_THAT(TimesOf(NoteOn(0, 62)), testing::ElementsAre(1500, 3500, 5500, 7500, 9500, 11500));
    EXPECT_THAT(TimesOf(NoteOn(0, 60)), testing::ElementsAre(0));
    // The note sounding over the loop end is ended at each jump back.
    EXPECT_THAT(TimesOf(mci::NoteOff(0, 64)),
                testing::ElementsAre(3000, 5000, 7000, 9000, 11000, 13000));
}

// Catches a chase into a later pass that finds the state before the loop instead of what
// the passes before left.
TEST_F(LoopTest, SeekingIntoTheSecondPassChasesThatPass)
{
    Open(GameSong(), 2);
    player.Seek(3500); // the second pass, 0.5 s in: after the first pass set program 10
    player.Play();
    std::vector<MidiMessage> chase = Chase();
    EXPECT_THAT(chase, testing::Contains(Program(0, 10)));
    EXPECT_THAT(chase, testing::Not(testing::Contains(Program(0, 5))));
    EXPECT_THAT(chase, testing::Contains(Control(0, 10, 20)));
    EXPECT_THAT(chase, testing::Contains(Control(0, 7, 80)));
    clock->Advance(500ms);
    EXPECT_THAT(TimesOf(Program(0, 10)), testing::ElementsAre(4000));

    player.Stop();
    output->ClearLog();
    player.Seek(1500); // the first pass, before its program change
    player.Play();
    chase = Chase();
    EXPECT_THAT(chase, testing::Contains(Program(0, 5)));
    EXPECT_THAT(chase, testing::Not(testing::Contains(Program(0, 10))));
}

// Catches a fade that does not reach silence at the end, does not scale the song's own
// volume, or starts before the last pass is over.
TEST_F(LoopTest, TheFadeBringsEveryVolumeDownToNothingAtTheEnd)
{
    Open(GameSong(), 2);
    player.Play();
    player.WaitForEnd(60s);
    const std::vector<LoggedEvent> volumes = Volumes();
    ASSERT_GE(volumes.size(), 80u);
    EXPECT_EQ(volumes.front().message[2], 100); // a reset's volume at the start
    EXPECT_EQ(volumes.front().songNs, 0);
    int last = 128;
    for (const LoggedEvent &e : volumes) {
        if (e.songNs < 5000 * kMs) {
            EXPECT_THAT(e.message[2], testing::AnyOf(100, 80)) << e.songNs;
            continue;
        }
        // The song's own volume message of the pass at 7.2 s, scaled to where the fade is.
        if (e.songNs == 7200 * kMs) {
            EXPECT_EQ(e.message[2], 58);
        }
        EXPECT_LE(e.message[2], last) << e.songNs;
        last = e.message[2];
    }
    EXPECT_EQ(volumes.back().message[2], 0);
    EXPECT_GT(volumes.back().songNs, 12500 * kMs); // silent only at the very end
    EXPECT_LE(volumes.back().songNs, 13000 * kMs);
}

// Catches passes that keep the tempo the section ended with instead of the one it starts with.
TEST_F(LoopTest, EveryPassTakesTheSameTime)
{
    mci::SmfWriter w(500, 0);
    w.Tempo(0, 500000).Event(1000, Control(0, 111, 0)).Tempo(1500, 250000);
    w.Event(1200, NoteOn(0, 60)).Event(1210, NoteOffMsg(0, 60)).EndAt(2500);
    Open(w.Bytes(), 1);
    // The section is 500 ticks of 1 ms and 1000 of 0.5 ms.
    EXPECT_EQ(player.Length(), 1000 + 1000 + 8000);
    player.Play();
    player.WaitForEnd(60s);
    EXPECT_THAT(TimesOf(NoteOn(0, 60)),
                testing::ElementsAre(200 + 1000, 2200, 3200, 4200, 5200, 6200, 7200, 8200, 9200));
}

// Catches loop markers missed in an RMI file, spelled otherwise, or a tail after the loop
// end that is played.
TEST_F(LoopTest, LoopMarkersInAnRmiFile)
{
    mci::SmfWriter w(500, 0);
    w.Meta(1000, 0x06, "Loop Start").Meta(2000, 0x06, "LOOPEND");
    w.Event(1500, NoteOn(0, 70)).Event(1600, NoteOffMsg(0, 70));
    w.Event(3000, NoteOn(0, 72)).Event(3100, NoteOffMsg(0, 72)).EndAt(4000);
    Open(Rmid(w.Bytes()), 2, "song.rmi");
    EXPECT_EQ(player.Length(), 1000 + 2 * 1000 + 8000);
    player.Play();
    player.WaitForEnd(60s);
    EXPECT_EQ(TimesOf(NoteOn(0, 70)).size(), 10u);
    EXPECT_THAT(TimesOf(NoteOn(0, 72)), testing::IsEmpty());
}

// Catches songs changed by the loop setting when they mark no loop, or when loops are off.
TEST_F(LoopTest, SongsWithoutMarksAndLoopsOffPlayAsWritten)
{
    const auto playedLog = [&](const std::string &bytes, int loops) {
        output->ClearLog();
        Open(bytes, loops);
        const std::int64_t length = player.Length();
        player.Play();
        player.WaitForEnd(60s);
        std::vector<std::pair<std::int64_t, MidiMessage>> log;
        for (const LoggedEvent &e : output->Log())
            log.emplace_back(e.songNs, e.message);
        return std::make_pair(length, log);
    };
    const auto plain = playedLog(TempoChangeSong(), 0);
    EXPECT_EQ(plain.first, 3000);
    EXPECT_EQ(playedLog(TempoChangeSong(), 2), plain);
    EXPECT_EQ(playedLog(GameSong(), 0).first, 3000);
}

// Catches loop sections read where a song marks none that can be played, and too many passes.
TEST(Loops, WhatCountsAsALoopSection)
{
    const auto section = [](const std::function<void(mci::SmfWriter &)> &marks) {
        mci::SmfWriter w(500, 0);
        w.Event(0, NoteOn(0, 60));
        marks(w);
        w.EndAt(3000);
        return mci::FindLoopSection(Parse(w.Bytes()));
    };
    const auto is = [](std::optional<mci::LoopSection> s, std::int64_t start, std::int64_t end) {
        return s && s->startTick == start && s->endTick == end;
    };
    EXPECT_FALSE(section([](mci::SmfWriter &) {}));
    EXPECT_TRUE(is(section([](mci::SmfWriter &w) { w.Meta(500, 6, "loopStart"); }), 500, 3000));
    EXPECT_TRUE(is(section([](mci::SmfWriter &w) {
                       w.Event(200, Control(3, 111, 0)).Meta(500, 6, "loop start");
                       w.Meta(400, 6, "loopEnd").Meta(900, 6, "Loop End");
                   }),
                   500, 900)); // markers first; an end before the start is no end
    EXPECT_TRUE(
        is(section([](mci::SmfWriter &w) { w.Event(700, Control(9, 111, 0)); }), 700, 3000));
    EXPECT_FALSE(section([](mci::SmfWriter &w) { w.Event(3000, Control(0, 111, 0)); }));

    mci::SmfWriter shortLoop(500, 0);
    shortLoop.Event(2950, Control(0, 111, 0)).EndAt(3000);
    const mci::Song song = Parse(shortLoop.Bytes());
    EXPECT_EQ(mci::ApplyLoops(song, 5).lengthNs, song.lengthNs); // 50 ms: no loop

    mci::SmfWriter many(500, 0);
    many.Event(0, Control(0, 111, 0)).EndAt(1000);
    EXPECT_EQ(mci::ApplyLoops(Parse(many.Bytes()), 1000).lengthNs, (99 + 8) * 1000 * kMs);
}

} // namespace
