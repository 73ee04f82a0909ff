#include "platform/mci/alsaoutput.h"
#include "platform/mci/alsaports.h"
#include "platform/mci/alsaschedule.h"
#include "platform/mci/mcierror.h"

#include "songs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// Catches SysEx sent faster than a MIDI cable carries it, or held back when the line is free.
TEST(SysExPacer, SpacesMessagesByTheirWireTime)
{
    mci::SysExPacer pacer;
    EXPECT_EQ(pacer.Place(0, 10), 0);
    EXPECT_EQ(pacer.Place(0, 10), 3200000);
    EXPECT_EQ(pacer.Place(1000000, 11), 6400000);
    EXPECT_EQ(pacer.FreeAt(), 6400000 + 11 * 320000);
    EXPECT_EQ(pacer.Place(50000000, 4), 50000000);
    pacer.HoldUntil(100000000);
    EXPECT_EQ(pacer.Place(60000000, 4), 100000000);
}

// Catches stuck notes after a stop that took queued note-offs back, or phantom notes.
TEST(QueuedNotes, HaltTakesBackWhatHadNotPlayed)
{
    mci::NoteTracker sounding;
    mci::QueuedNotes queued;
    const auto queue = [&](std::int64_t at, const mci::MidiMessage &m) {
        if (sounding.Apply(mci::View(m)))
            queued.Add(at, mci::View(m));
    };
    queue(100, songs::NoteOn(0, 60));
    queue(200, songs::NoteOn(0, 62));
    queue(300, songs::NoteOffMsg(0, 60));
    queue(400, songs::NoteOn(0, 64));
    queued.Forget(150);
    EXPECT_EQ(queued.Size(), 3u);
    queued.Revert(sounding,
                  250); // stopped at 250: the note-off of 60 and the note-on of 64 never played
    EXPECT_EQ(sounding.Count(0, 60), 1);
    EXPECT_EQ(sounding.Count(0, 62), 1);
    EXPECT_EQ(sounding.Count(0, 64), 0);
    EXPECT_EQ(queued.Size(), 0u);
}

// Catches a Port setting of several ports read as one name (a song's port B then lost to a
// port that does not exist), blanks kept in a name, more ports kept than a song can
// address, or a song port without a port of its own sent nowhere.
TEST(AlsaPorts, APortSettingNamesOnePortPerSongPort)
{
    EXPECT_THAT(mci::SplitPortList("128:0"), testing::ElementsAre("128:0"));
    EXPECT_THAT(mci::SplitPortList(""), testing::ElementsAre(""));
    EXPECT_THAT(mci::SplitPortList(" SC-88Pro:0 ,\tSC-88Pro:1"),
                testing::ElementsAre("SC-88Pro:0", "SC-88Pro:1"));
    EXPECT_THAT(mci::SplitPortList("a:0,b:0,c:0,d:0,e:0"),
                testing::ElementsAre("a:0", "b:0", "c:0", "d:0"));
    EXPECT_EQ(mci::RouteSongPort(1, 2), 1);
    EXPECT_EQ(mci::RouteSongPort(1, 1), 0);
    EXPECT_EQ(mci::RouteSongPort(3, 2), 0);
}

// Catches a missing sequencer taken for an open output (no crash, a clear error).
TEST(AlsaOutput, NoSequencerIsAClearError)
{
    if (::access("/dev/snd/seq", F_OK) == 0)
        GTEST_SKIP() << "this machine has an ALSA sequencer";
    mci::AlsaOutput output("128:0");
    try {
        output.Prepare();
        ADD_FAILURE() << "prepared without a sequencer";
    } catch (const mci::EMCIDeviceError &error) {
        EXPECT_THAT(error.what(), testing::HasSubstr("ALSA sequencer"));
    }
    EXPECT_EQ(output.Halt(), 0);
    EXPECT_FALSE(output.WaitForEnd(std::chrono::milliseconds(1)));
}

} // namespace
