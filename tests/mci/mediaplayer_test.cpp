#include "platform/mci/mediaplayer.h"

#include "platform/mci/silentoutput.h"
#include "platform/mci/smfparser.h"
#include "support/tempfolder.h"

#include "songs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using namespace std::chrono_literals;
using mci::LoggedEvent;
using mci::MidiMessage;
using mci::TMPTimeFormats;
using namespace songs;

class PlayerTest : public testing::Test
{
protected:
    void OpenSong(const std::string &bytes, const std::string &name = "song.mid")
    {
        player.SetFileName(folder.Write(name, bytes));
        player.Open();
    }
    void OpenSongInMs(const std::string &bytes)
    {
        OpenSong(bytes);
        player.SetTimeFormat(TMPTimeFormats::tfMilliseconds);
    }
    std::vector<LoggedEvent> SongEvents()
    {
        std::vector<LoggedEvent> out;
        for (const LoggedEvent &e : output->Log())
            if (e.tick >= 0)
                out.push_back(e);
        return out;
    }
    std::vector<LoggedEvent> DeviceMessages()
    {
        std::vector<LoggedEvent> out;
        for (const LoggedEvent &e : output->Log())
            if (e.tick < 0)
                out.push_back(e);
        return out;
    }
    static bool IsSilence(const std::vector<LoggedEvent> &events, std::size_t from)
    {
        if (events.size() < from + 32)
            return false;
        for (int channel = 0; channel < 16; ++channel) {
            const std::size_t i = from + 2 * static_cast<std::size_t>(channel);
            if (events[i].message != Control(channel, 123, 0) ||
                events[i + 1].message != Control(channel, 120, 0))
                return false;
        }
        return true;
    }

    testing_support::TempFolder folder;
    std::shared_ptr<mci::VirtualClock> clock = std::make_shared<mci::VirtualClock>();
    std::shared_ptr<mci::SilentOutput> output = std::make_shared<mci::SilentOutput>(clock);
    mci::TMediaPlayer player{output};
};

// Catches failed opens that leave an element open, lose the file name or give no reason.
TEST_F(PlayerTest, OpenFailuresSayWhyAndLeaveNothingOpen)
{
    const std::string missing = folder / "missing.mid";
    const std::string fifo = folder / "pipe.mid";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {missing, "cannot be found"},
        {folder.Write("text.mid", "hello"), "is not a MIDI file"},
        {folder.Write("cut.mid", std::string("MThd\0\0\0\6\0\1\0\1\0\x60", 14)), "holds no track"},
        {folder.Path(), "is not a file"},
        {fifo, "is not a file"},
    };
    OpenSong(TempoChangeSong(), "good.mid");
    for (const auto &[path, reason] : cases) {
        player.SetFileName(path);
        try {
            player.Open();
            ADD_FAILURE() << "opened " << path;
        } catch (const mci::EMCIDeviceError &error) {
            EXPECT_THAT(error.what(), testing::HasSubstr(path));
            EXPECT_THAT(error.what(), testing::HasSubstr(reason));
        }
        EXPECT_EQ(player.Mode(), mci::mpNotReady);
        EXPECT_EQ(player.FileName(), path);
        EXPECT_EQ(player.Length(), 0);
    }
    player.SetFileName("");
    EXPECT_THROW(player.Open(), mci::EMCIDeviceError);
}

// Catches positions and lengths computed with one tempo for the whole song.
TEST_F(PlayerTest, PositionAndLengthInMillisecondsFollowTheTempoMap)
{
    OpenSongInMs(TempoChangeSong());
    EXPECT_EQ(player.Mode(), mci::mpStopped);
    EXPECT_EQ(player.Length(), 3000);
    player.Play();
    EXPECT_EQ(player.Mode(), mci::mpPlaying);
    clock->Advance(1999ms);
    EXPECT_EQ(player.Position(), 1999);
    clock->Advance(251ms);
    EXPECT_EQ(player.Position(), 2250);
    const std::vector<LoggedEvent> events = SongEvents();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().tick, 2400);
    EXPECT_EQ(events.back().clockNs, 2250000000);
}

// Catches a default unit whose position never meets its length (a reset file that never ends).
TEST_F(PlayerTest, DefaultUnitIsTheFilesTicks)
{
    OpenSong(TempoChangeSong());
    EXPECT_EQ(player.TimeFormat(), TMPTimeFormats::tfDefault);
    EXPECT_EQ(player.Length(), 3840);
    player.Play();
    clock->Advance(2250ms);
    EXPECT_EQ(player.Position(), 2400);
    clock->Advance(749ms);
    EXPECT_LT(player.Position(), player.Length());
    clock->Advance(1ms);
    EXPECT_EQ(player.Position(), player.Length());
    EXPECT_EQ(player.Mode(), mci::mpStopped);
}

// Catches a position equal to the length before the end (cutting songs short) or never.
TEST_F(PlayerTest, PositionEqualsLengthOnlyAtTheEndAndThenTheModeIsStopped)
{
    OpenSongInMs(TempoChangeSong());
    player.Play();
    clock->Advance(3s - 1ns);
    EXPECT_EQ(player.Position(), 2999);
    EXPECT_EQ(player.Mode(), mci::mpPlaying);
    clock->Advance(1ns);
    EXPECT_EQ(player.Position(), player.Length());
    EXPECT_EQ(player.Mode(), mci::mpStopped);
    clock->Advance(10s);
    EXPECT_EQ(player.Position(), player.Length());
    // The last note-off of the song came at its own time, before the end.
    EXPECT_EQ(SongEvents().back().message, NoteOffMsg(0, 67));
}

// Catches a wait that polls without moving the virtual clock, or runs past the end.
TEST_F(PlayerTest, WaitForEndMovesTheVirtualClockToTheEnd)
{
    OpenSongInMs(TempoChangeSong());
    player.Play();
    EXPECT_FALSE(player.WaitForEnd(1000ms));
    EXPECT_EQ(clock->Now(), 1s);
    EXPECT_EQ(player.Mode(), mci::mpPlaying);
    EXPECT_TRUE(player.WaitForEnd(std::chrono::milliseconds::max())); // no overflow
    EXPECT_EQ(clock->Now(), 3s);
    EXPECT_EQ(player.Mode(), mci::mpStopped);
    EXPECT_EQ(player.Position(), player.Length());
    EXPECT_TRUE(player.WaitForEnd(1ms)); // stopped at the end: at once
}

// Catches a pause that loses its place, leaves notes hanging or chases on resume.
TEST_F(PlayerTest, PauseKeepsThePositionAndSilences)
{
    OpenSongInMs(TempoChangeSong());
    player.Play();
    clock->Advance(1100ms); // the note of tick 960 (1.0 s) sounds until 1.25 s
    player.Pause();
    EXPECT_EQ(player.Mode(), mci::mpPaused);
    std::vector<LoggedEvent> device = DeviceMessages();
    ASSERT_EQ(device.size(), 33u);
    EXPECT_EQ(device[0].message, mci::NoteOff(0, 62));
    EXPECT_EQ(device[0].clockNs, 1100000000);
    EXPECT_TRUE(IsSilence(device, 1));

    clock->Advance(5s);
    EXPECT_EQ(player.Position(), 1100);
    player.Pause(); // paused: nothing more
    EXPECT_EQ(DeviceMessages().size(), 33u);
    player.Play();
    EXPECT_EQ(player.Mode(), mci::mpPlaying);
    clock->Advance(150ms);
    EXPECT_EQ(player.Position(), 1250);
    EXPECT_EQ(DeviceMessages().size(), 33u); // no chase after a pause
    const LoggedEvent last = SongEvents().back();
    EXPECT_EQ(last.message, NoteOffMsg(0, 62));
    EXPECT_EQ(last.songNs, 1250000000);
    EXPECT_EQ(last.clockNs, 6250000000);
}

// Catches a stop that rewinds (the player rewinds by itself when it wants to).
TEST_F(PlayerTest, StopKeepsThePosition)
{
    OpenSongInMs(TempoChangeSong());
    player.Stop(); // stopped already: nothing
    EXPECT_TRUE(output->Log().empty());
    player.Play();
    clock->Advance(400ms);
    player.Stop();
    EXPECT_EQ(player.Mode(), mci::mpStopped);
    EXPECT_EQ(player.Position(), 400);
    player.Play();
    clock->Advance(100ms);
    const LoggedEvent last = SongEvents().back();
    EXPECT_EQ(last.tick, 480);
    EXPECT_EQ(last.clockNs, 500000000);
    player.Rewind();
    EXPECT_EQ(player.Position(), 0);
    EXPECT_EQ(player.Mode(), mci::mpStopped);
}

// Catches a seek that leaves the device playing, or a resume without the song's setup.
TEST_F(PlayerTest, SeekStopsThereAndTheNextPlayChases)
{
    mci::SmfWriter w(480, 0);
    w.Event(0, Program(3, 33)).Event(100, Control(3, 7, 90)).Event(1000, NoteOn(3, 40));
    w.Event(1200, NoteOffMsg(3, 40)).Event(1500, Control(3, 7, 20)).EndAt(1920);
    OpenSongInMs(w.Bytes());
    EXPECT_EQ(player.Length(), 2000);
    player.Play();
    clock->Advance(1100ms); // the note sounds
    player.Seek(1562);      // 1562.5 ms is tick 1500: that event is still to come
    EXPECT_EQ(player.Mode(), mci::mpStopped);
    EXPECT_EQ(player.Position(), 1562);
    EXPECT_EQ(DeviceMessages()[0].message, mci::NoteOff(3, 40));
    output->ClearLog();

    player.Play();
    const std::vector<LoggedEvent> chase = DeviceMessages();
    ASSERT_EQ(chase.size(), 32u + 2u);
    EXPECT_EQ(chase[32].message, MidiMessage({0xC3, 33}));
    EXPECT_EQ(chase[33].message, Control(3, 7, 90));
    clock->Advance(1ms);
    ASSERT_EQ(SongEvents().size(), 1u);
    EXPECT_EQ(SongEvents()[0].tick, 1500);
    EXPECT_EQ(SongEvents()[0].clockNs, clock->Now().count() - 1000000 + 500000);
}

// Catches seeks outside the song accepted as they are.
TEST_F(PlayerTest, SeekIsClampedToTheSong)
{
    OpenSongInMs(TempoChangeSong());
    player.Seek(-5);
    EXPECT_EQ(player.Position(), 0);
    player.Seek(1000000);
    EXPECT_EQ(player.Position(), player.Length());
    EXPECT_EQ(player.Mode(), mci::mpStopped);
    EXPECT_TRUE(player.WaitForEnd(1ms));
    player.SetTimeFormat(TMPTimeFormats::tfDefault);
    player.Seek(960);
    player.SetTimeFormat(TMPTimeFormats::tfMilliseconds);
    EXPECT_EQ(player.Position(), 1000);
}

// Catches Play at the end doing nothing (the player restarts a finished song with Play).
TEST_F(PlayerTest, PlayAtTheEndRewindsUnlessAutoRewindIsOff)
{
    OpenSongInMs(TempoChangeSong());
    EXPECT_TRUE(player.AutoRewind());
    player.Play();
    player.WaitForEnd(10000ms);
    output->ClearLog();
    player.Play();
    EXPECT_EQ(player.Mode(), mci::mpPlaying);
    EXPECT_EQ(player.Position(), 0);
    EXPECT_EQ(DeviceMessages().size(), 32u); // the output reset of a chase to the start
    clock->Advance(1ms);
    EXPECT_EQ(SongEvents()[0].tick, 0);

    player.SetAutoRewind(false);
    player.WaitForEnd(10000ms);
    player.Play();
    EXPECT_EQ(player.Mode(), mci::mpStopped);
    EXPECT_EQ(player.Position(), player.Length());
}

// Catches a log whose events are not where the tempo map puts them, to the sample.
TEST_F(PlayerTest, EveryEventIsLoggedOnItsExactSample)
{
    mci::SmfWriter w(384, 1);
    std::int64_t tick = 0;
    for (int i = 0; i < 200; ++i) {
        w.Tempo(tick, 350000 + (i * 7919) % 300001);
        w.Event(tick + 7 + i % 13, NoteOn(9, 37)).Event(tick + 50, NoteOffMsg(9, 37));
        tick += 97 + i % 31;
    }
    w.EndAt(tick);
    const std::string bytes = w.Bytes();
    const mci::Song song =
        mci::ParseSong(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
    OpenSongInMs(bytes);
    player.Play();
    ASSERT_TRUE(player.WaitForEnd(3600000ms));
    const std::vector<LoggedEvent> events = SongEvents();
    ASSERT_EQ(events.size(), song.events.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        ASSERT_EQ(events[i].tick, song.events[i].tick);
        ASSERT_EQ(events[i].songSample, song.tempo.TickToSample(events[i].tick, 44100)) << i;
        ASSERT_EQ(events[i].clockNs, events[i].songNs);
        ASSERT_EQ(events[i].songNs, song.tempo.TickToNs(events[i].tick));
    }
}

// Catches an open that leaves the previous song's notes sounding or its position behind.
TEST_F(PlayerTest, OpenClosesThePreviousElement)
{
    OpenSongInMs(TempoChangeSong());
    player.Play();
    clock->Advance(100ms);
    mci::SmfWriter other(96, 0);
    other.Event(0, NoteOn(1, 70)).EndAt(96);
    OpenSong(other.Bytes(), "other.mid");
    const std::vector<LoggedEvent> device = DeviceMessages();
    ASSERT_FALSE(device.empty());
    EXPECT_EQ(device[0].message, mci::NoteOff(0, 60));
    EXPECT_TRUE(IsSilence(device, 1));
    EXPECT_EQ(player.Mode(), mci::mpStopped);
    EXPECT_EQ(player.TimeFormat(), TMPTimeFormats::tfDefault);
    EXPECT_EQ(player.Position(), 0);
    EXPECT_EQ(player.Length(), 96);
}

// Catches transport requests without an element that act on stale state or throw.
TEST_F(PlayerTest, RequestsWithoutAnElementDoNothing)
{
    player.Play();
    player.Pause();
    player.Stop();
    player.Seek(100);
    player.Rewind();
    EXPECT_EQ(player.Mode(), mci::mpNotReady);
    EXPECT_EQ(player.Position(), 0);
    EXPECT_EQ(player.Length(), 0);
    EXPECT_FALSE(player.WaitForEnd(10ms));
    EXPECT_EQ(clock->Now(), 0ns);
    OpenSong(TempoChangeSong());
    player.Close();
    player.Play();
    EXPECT_EQ(player.Mode(), mci::mpNotReady);
    EXPECT_TRUE(output->Log().empty());
}

// Catches a song of no length that never ends (a reset file that holds the player).
TEST_F(PlayerTest, ASongOfNoLengthEndsAtOnce)
{
    mci::SmfWriter w(96, 0);
    w.Event(0, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7});
    OpenSong(w.Bytes());
    EXPECT_EQ(player.Length(), 0);
    player.Play();
    EXPECT_EQ(player.Mode(), mci::mpStopped);
    EXPECT_EQ(player.Position(), player.Length());
    EXPECT_TRUE(player.WaitForEnd(1000ms));
    EXPECT_EQ(SongEvents().size(), 1u);
}

} // namespace
