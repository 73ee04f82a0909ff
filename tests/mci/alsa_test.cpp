#include "platform/mci/alsaoutput.h"
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
