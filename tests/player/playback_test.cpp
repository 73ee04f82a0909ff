// The bar as the view of the transport: the state icon, the timers, the time display, the
// position bar (its fill and clicks) and the scrolling title, on the silent output.
#include "playerfixture.h"

#include "ui_main.h"

#include "app/design.h"

using testing_support::PlayerTest;
using namespace SkinAtlas;

namespace {

class PlaybackTest : public PlayerTest
{
protected:
    // Three songs queued as an intake leaves them, the first started.
    void StartThree(std::uint32_t lengthMs = 3000)
    {
        for (const char *name : {"a.mid", "b.mid", "c.mid"})
            Enqueue(Song(name, lengthMs, name));
        view_->Queue().SetCurrentIndex(0);
        view_->Queue().SetLastIndex(2);
        bar_->StartCurrentSong();
    }
    mci::TMediaPlayer &Device() { return bar_->MediaPlayer1(); }
    int Marked()
    {
        for (int i = 0; i < view_->Queue().Count(); ++i)
            if (view_->Queue().Entry(i).Marker == ">")
                return i;
        return -1;
    }
    // Runs the display timer until the current song has ended and the timer reacted.
    void PlayToEnd()
    {
        Advance(Device().Length() - Device().Position());
        bar_->Timer1Timer();
    }
};

} // namespace

// Catches the bar not following a start: its icon, mark and timers.
TEST_F(PlaybackTest, StartingPlaysTheResetFileFirstAndMarksTheEntry)
{
    StartThree();
    EXPECT_EQ(ResetsSent(), 1);
    EXPECT_EQ(Marked(), 0);
    EXPECT_EQ(Device().Mode(), mci::mpPlaying);
    EXPECT_EQ(Device().FileName(), program_ / "a.mid");
    EXPECT_TRUE(bar_->Timer1.isActive());
    EXPECT_TRUE(bar_->TitleTimer.isActive());
    EXPECT_EQ(IconShown(), IconPicture(PlayIcon));
}

// Catches the end of the list leaving the bar's timer on or its time display not reset,
// or Play not starting the timer again.
TEST_F(PlaybackTest, EndOfTheListStopsAndPlayRestarts)
{
    StartThree(2000);
    PlayToEnd();
    PlayToEnd();
    Advance(1000);
    bar_->Timer1Timer();
    EXPECT_EQ(bar_->ShownTime(), "00:01");
    PlayToEnd();
    EXPECT_EQ(view_->Queue().CurrentIndex(), 2);
    EXPECT_FALSE(bar_->Timer1.isActive());
    EXPECT_EQ(bar_->ShownTime(), "00:00");
    EXPECT_EQ(IconShown(), IconPicture(StopIcon));
    EXPECT_EQ(Device().Position(), Device().Length());
    bar_->NextSong(false);
    EXPECT_EQ(view_->Queue().CurrentIndex(), 2);

    bar_->PlaySong(); // auto-rewind: the song starts again
    EXPECT_EQ(Device().Mode(), mci::mpPlaying);
    EXPECT_EQ(Device().Position(), 0);
    EXPECT_TRUE(bar_->Timer1.isActive());
}

// Catches a click on the position bar seeking to the wrong place, or a right click seeking.
TEST_F(PlaybackTest, PositionBarSeeksByWholeSteps)
{
    Enqueue(Song("long.mid", 200000));
    view_->Queue().SetLastIndex(0);
    bar_->StartCurrentSong();
    bar_->Pos_BarMouseDown(Qt::LeftButton, 40, 2);
    EXPECT_EQ(Device().Position(), 100000);
    EXPECT_EQ(Device().Mode(), mci::mpPlaying);
    bar_->Pos_BarMouseDown(Qt::RightButton, 10, 2);
    EXPECT_EQ(Device().Position(), 100000);
    bar_->Pos_BarMouseDown(Qt::LeftButton, 0, 2);
    EXPECT_EQ(Device().Position(), 0);

    Enqueue(Song("odd.mid", 1999));
    view_->Queue().SetCurrentIndex(1);
    bar_->StartCurrentSong();
    bar_->Pos_BarMouseDown(Qt::LeftButton, 79, 2);
    EXPECT_EQ(Device().Position(), 79 * (1999 / 80));
}

// Catches the fill drawn from the wrong formula or a division by a zero length.
TEST_F(PlaybackTest, FillGrowsWithThePositionAndSkipsEmptySongs)
{
    Enqueue(Song("a.mid", 8000));
    Enqueue(Song("empty.mid", 0));
    view_->Queue().SetLastIndex(1);
    bar_->StartCurrentSong();
    const QImage &fill = bar_->Form()->Pos_Bar->Canvas();
    const QColor active = ToQColor(ActiveColor);
    Advance(4000);
    bar_->Timer1Timer();
    // w = (4000 * 80 - 2) div 8000 = 39: the fill covers x 1 to 38.
    EXPECT_EQ(fill.pixelColor(38, 2), active);
    EXPECT_NE(fill.pixelColor(39, 2), active);

    Advance(4000);
    bar_->Timer1Timer(); // the end: moves on to the empty song
    EXPECT_EQ(view_->Queue().CurrentIndex(), 1);
    bar_->Timer1Timer(); // length 0 ends at once, without a fill
    EXPECT_FALSE(bar_->Timer1.isActive());
    EXPECT_EQ(IconShown(), IconPicture(StopIcon));
}

// Catches the length part missing from the scrolling title.
TEST_F(PlaybackTest, TitleCarriesTheLengthWhenAsked)
{
    Enqueue(Song("a.mid", 205000), "  Title\t");
    ShowLength = true;
    bar_->StartCurrentSong();
    bar_->TitleTimerTimer();
    EXPECT_EQ(bar_->TitleOffset(), -1);
    // The text drawn first at x 0 is "Title -[03:25]-"; check its first pixels differ from
    // an empty box and that the whole width wraps to 224 once it has left.
    const int width = QFontMetrics(bar_->font()).horizontalAdvance("Title -[03:25]-");
    for (int i = 0; i < width; ++i)
        bar_->TitleTimerTimer();
    EXPECT_EQ(bar_->TitleOffset(), 224);
}

// Catches an intake without songs not telling the user, or the bar not showing the idle
// icon afterwards.
TEST_F(PlaybackTest, NothingUsableGivesTheMessageAndTheIdleIcon)
{
    const std::string rcp = program_.Write("song.rcp", std::string(64, 'x'));
    AnswerNextModal();
    bar_->WMDropFiles({rcp});
    EXPECT_EQ(view_->Queue().Count(), 0);
    EXPECT_EQ(lastModalText_, QString::fromUtf8("対応するMIDIファイルが存在していません。"));
    EXPECT_EQ(IconShown(), IconPicture(IdleIcon));
}
