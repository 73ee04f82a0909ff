// The transport, the display timer's work and the automatic advance, on the silent output.
#include "corefixture.h"

#include <filesystem>
#include <functional>
#include <utility>
#include <vector>

using testing_support::CoreTest;

namespace {

class TransportTest : public CoreTest
{
protected:
    // Three songs queued as an intake leaves them, the first started.
    void StartThree(std::uint32_t lengthMs = 3000)
    {
        for (const char *name : {"a.mid", "b.mid", "c.mid"})
            Enqueue(Song(name, lengthMs), name);
        Queue().SetCurrentIndex(0);
        Queue().SetLastIndex(2);
        core_->StartCurrentSong();
    }
    // Runs the display timer's work once the current song has ended.
    void PlayToEnd()
    {
        Advance(Device().Length() - Device().Position());
        core_->Timer1Timer();
    }
};

} // namespace

// Catches a song started without its reset file, or the mark, icon and timers not set.
TEST_F(TransportTest, StartingPlaysTheResetFileFirstAndMarksTheEntry)
{
    std::vector<std::string> order;
    QObject::connect(core_.get(), &TPlayerCore::SongStarting, [&] { order.push_back("starting"); });
    QObject::connect(core_.get(), &TPlayerCore::SongLoaded,
                     [&](const std::string &title) { order.push_back("loaded " + title); });
    QObject::connect(core_.get(), &TPlayerCore::SongStarted, [&] { order.push_back("started"); });
    StartThree();
    EXPECT_EQ(ResetsSent(), 1);
    EXPECT_EQ(Marked(), 0);
    EXPECT_EQ(Device().Mode(), mci::mpPlaying);
    EXPECT_EQ(Device().FileName(), program_ / "a.mid");
    EXPECT_TRUE(core_->DisplayTimerActive());
    EXPECT_EQ(core_->ShownIcon(), StateIcon::Play);
    EXPECT_EQ(order, (std::vector<std::string>{"starting", "loaded a.mid", "started"}));
}

// Catches transport actions that act in states where they must do nothing.
TEST_F(TransportTest, TransportTableIsFollowed)
{
    StartThree();
    core_->PreviousSong(); // at entry 0: nothing
    EXPECT_EQ(Queue().CurrentIndex(), 0);
    EXPECT_EQ(ResetsSent(), 1);

    Advance(1500);
    core_->PauseSong();
    EXPECT_EQ(Device().Mode(), mci::mpPaused);
    EXPECT_FALSE(core_->DisplayTimerActive());
    EXPECT_EQ(core_->ShownIcon(), StateIcon::Pause);
    core_->StopSong();      // while paused: nothing
    core_->NextSong(false); // while paused: nothing
    EXPECT_EQ(Device().Mode(), mci::mpPaused);
    EXPECT_EQ(Queue().CurrentIndex(), 0);
    EXPECT_EQ(Device().Position(), 1500);

    core_->PauseSong(); // resumes from the paused point
    EXPECT_EQ(Device().Mode(), mci::mpPlaying);
    EXPECT_TRUE(core_->DisplayTimerActive());
    Advance(500);
    EXPECT_EQ(Device().Position(), 2000);

    core_->StopSong();
    EXPECT_EQ(Device().Mode(), mci::mpStopped);
    EXPECT_EQ(Device().Position(), 0);
    EXPECT_EQ(core_->ShownIcon(), StateIcon::Stop);
    core_->PauseSong(); // while stopped: nothing
    EXPECT_EQ(Device().Mode(), mci::mpStopped);
    core_->PlaySong();
    EXPECT_EQ(Device().Mode(), mci::mpPlaying);
    EXPECT_EQ(Device().Position(), 0);
}

// Catches Next going past Queue().LastIndex(), or Next/Previous not playing the reset file again.
TEST_F(TransportTest, NextAndPreviousStepWithinTheList)
{
    StartThree();
    core_->NextSong(false);
    EXPECT_EQ(Queue().CurrentIndex(), 1);
    EXPECT_EQ(Marked(), 1);
    EXPECT_EQ(ResetsSent(), 2);
    core_->NextSong(false);
    core_->NextSong(false); // at LastIndex: nothing
    EXPECT_EQ(Queue().CurrentIndex(), 2);
    EXPECT_EQ(ResetsSent(), 3);
    core_->PreviousSong();
    EXPECT_EQ(Queue().CurrentIndex(), 1);
    EXPECT_EQ(ResetsSent(), 4);
    EXPECT_EQ(Device().FileName(), program_ / "b.mid");
}

// Catches the advance not happening at the end of a song, or not after the reset file.
TEST_F(TransportTest, EndOfSongAdvancesAfterTheResetFile)
{
    StartThree();
    PlayToEnd();
    EXPECT_EQ(Queue().CurrentIndex(), 1);
    EXPECT_EQ(ResetsSent(), 2);
    EXPECT_EQ(Device().Mode(), mci::mpPlaying);
    PlayToEnd();
    EXPECT_EQ(Queue().CurrentIndex(), 2);
    EXPECT_EQ(ResetsSent(), 3);
}

// Catches the end of the list leaving the timer on, the display not reset, or Play not
// starting the last song again.
TEST_F(TransportTest, EndOfTheListStopsAndPlayRestarts)
{
    StartThree(2000);
    PlayToEnd();
    PlayToEnd();
    int resets = 0;
    QObject::connect(core_.get(), &TPlayerCore::DisplayReset, [&] { ++resets; });
    PlayToEnd();
    EXPECT_EQ(Queue().CurrentIndex(), 2);
    EXPECT_FALSE(core_->DisplayTimerActive());
    EXPECT_GE(resets, 1);
    EXPECT_EQ(core_->ShownIcon(), StateIcon::Stop);
    EXPECT_EQ(Device().Position(), Device().Length());
    core_->NextSong(false);
    EXPECT_EQ(Queue().CurrentIndex(), 2);

    core_->PlaySong(); // auto-rewind: the song starts again
    EXPECT_EQ(Device().Mode(), mci::mpPlaying);
    EXPECT_EQ(Device().Position(), 0);
    EXPECT_TRUE(core_->DisplayTimerActive());
}

// Catches the seek target computed with the multiplication first, or a seek while not
// playing.
TEST_F(TransportTest, SeeksByWholeStepsOfTheBarWidth)
{
    Enqueue(Song("long.mid", 200000));
    core_->StartCurrentSong();
    std::vector<qint64> jumps;
    QObject::connect(core_.get(), &TPlayerCore::PositionJumped,
                     [&](qint64 position) { jumps.push_back(position); });
    core_->SeekTo(40, 80);
    EXPECT_EQ(Device().Position(), 100000);
    EXPECT_EQ(Device().Mode(), mci::mpPlaying);
    core_->PauseSong();
    core_->SeekTo(10, 80); // while paused: nothing
    EXPECT_EQ(Device().Position(), 100000);
    core_->PauseSong();
    core_->SeekTo(0, 80);
    EXPECT_EQ(Device().Position(), 0);
    EXPECT_EQ(jumps, (std::vector<qint64>{100000, 0}));

    Enqueue(Song("odd.mid", 1999));
    Queue().SetCurrentIndex(1);
    core_->StartCurrentSong();
    core_->SeekTo(79, 80);
    EXPECT_EQ(Device().Position(), 79 * (1999 / 80));
}

// Catches the position reported wrongly, or a song of length 0 not ending at once.
TEST_F(TransportTest, TimerReportsThePositionAndEmptySongsEnd)
{
    Enqueue(Song("a.mid", 8000));
    Enqueue(Song("empty.mid", 0));
    Queue().SetLastIndex(1);
    core_->StartCurrentSong();
    std::vector<std::pair<std::int64_t, std::int64_t>> shown;
    QObject::connect(
        core_.get(), &TPlayerCore::PositionShown,
        [&](std::int64_t position, std::int64_t length) { shown.emplace_back(position, length); });
    Advance(4000);
    core_->Timer1Timer();
    Advance(4000);
    core_->Timer1Timer(); // the end: moves on to the empty song
    EXPECT_EQ(Queue().CurrentIndex(), 1);
    core_->Timer1Timer(); // length 0 ends at once
    EXPECT_FALSE(core_->DisplayTimerActive());
    EXPECT_EQ(core_->ShownIcon(), StateIcon::Stop);
    using Report = std::pair<std::int64_t, std::int64_t>;
    EXPECT_EQ(shown, (std::vector<Report>{{4000, 8000}, {8000, 8000}, {0, 0}}));
}

// Catches a song starting although its reset file is missing, and the timer running on.
TEST_F(TransportTest, MissingResetFileStopsEverything)
{
    Enqueue(Song("a.mid", 1000));
    FormatName = "NONE.MID";
    EXPECT_THROW(core_->StartCurrentSong(), mci::EMCIDeviceError);
    EXPECT_EQ(Marked(), -1);
    EXPECT_FALSE(core_->DisplayTimerActive());
    EXPECT_EQ(core_->ShownIcon(), StateIcon::Stop);
}

// Catches a request on an index without an entry starting anything.
TEST_F(TransportTest, StartOutsideTheListDoesNothing)
{
    Queue().SetCurrentIndex(0);
    core_->StartCurrentSong();
    EXPECT_EQ(ResetsSent(), 0);
    EXPECT_FALSE(core_->IsLoaded());
}

// Catches the title kept with its blanks and control characters.
TEST_F(TransportTest, TitleIsTrimmed)
{
    Enqueue(Song("a.mid", 1000), "  Title\t");
    core_->StartCurrentSong();
    EXPECT_EQ(core_->TitleText(), "Title");
}

// Catches Play, Pause or a seek after a failed start showing the play icon or starting the
// display timer, and the automatic advance then walking the list over a song that never
// opened. Each way a start fails: no reset file, a song that does not open, a song whose
// preparation fails (the reset file stood open in its place).
TEST_F(TransportTest, RequestsAfterAFailedStartPlayNothing)
{
    const std::vector<std::pair<const char *, std::function<void()>>> failures = {
        {"no reset file", [] { FormatName = "NONE.MID"; }},
        {"song does not open", [this] { program_.Write("a.mid", "MThd\0\0\0\6garbage"); }},
        {"song file gone", [this] { std::filesystem::remove(program_ / "a.mid"); }},
    };
    for (const auto &[name, fail] : failures) {
        SCOPED_TRACE(name);
        FormatName = "GM.MID";
        Queue().Clear();
        StartThree();
        Queue().SetCurrentIndex(0);
        fail();
        EXPECT_ANY_THROW(core_->StartCurrentSong());
        EXPECT_FALSE(core_->IsOpen());
        const int resets = ResetsSent();

        core_->PlaySong();
        core_->PauseSong();
        core_->SeekTo(40, 80);
        EXPECT_EQ(core_->ShownIcon(), StateIcon::Stop);
        EXPECT_FALSE(core_->DisplayTimerActive());
        EXPECT_NE(Device().Mode(), mci::mpPlaying);

        core_->Timer1Timer(); // a tick already on its way
        EXPECT_EQ(Queue().CurrentIndex(), 0);
        EXPECT_EQ(ResetsSent(), resets);
        EXPECT_FALSE(core_->DisplayTimerActive());
    }
}
