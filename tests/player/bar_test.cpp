// The bar's pictures from the skin, its time display, title scroll and mouse handling.
#include "playerfixture.h"

#include "ui_main.h"

#include "app/design.h"
#include "platform/files.h"
#include "platform/widgets/windowmove.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTest>

using testing_support::PlayerTest;
using namespace SkinAtlas;

namespace {

// What a stretched copy of source puts into a place of place's size.
QImage Stretched(const QRect &source, const QSize &place)
{
    QImage picture(place, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QRect(QPoint(0, 0), place), SkinBitmap, source);
    return picture;
}

class BarTest : public PlayerTest
{
protected:
    const QImage &Time() const { return bar_->Form()->TimeDiaplay->Canvas(); }
    const QImage &Buttons() const { return bar_->Form()->ControlButtons->Canvas(); }
};

} // namespace

// Catches pictures cut from the wrong part of the skin or put in the wrong place.
TEST_F(BarTest, SkinPicturesLandWhereTheAtlasSays)
{
    ASSERT_EQ(SkinBitmap.size(), QSize(147, 63));
    for (int place = 0; place < 4; ++place)
        EXPECT_EQ(Time().copy(DigitPlace[place]), Stretched(Digit(0), DigitPlace[place].size()));
    EXPECT_EQ(Time().copy(ColonPlace), Stretched(Colon, ColonPlace.size()));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Buttons().copy(ButtonPlace(i)), Stretched(ButtonFace(i), ButtonPlace(i).size()));
    EXPECT_EQ(Buttons().copy(OpenPlace), Stretched(OpenFace, OpenPlace.size()));
    EXPECT_EQ(Buttons().copy(CloseFacePlace), Stretched(CloseFace, CloseFacePlace.size()));
    EXPECT_EQ(bar_->Form()->SetButton->Canvas().copy(MenuFacePlace),
              Stretched(MenuFace, MenuFacePlace.size()));
    EXPECT_EQ(bar_->Form()->BackImage->Canvas(), Stretched(BackgroundColumn, QSize(640, 26)));

    bar_->UpdateTimeDisplay("12:34");
    for (int place = 0; place < 4; ++place)
        EXPECT_EQ(Time().copy(DigitPlace[place]),
                  Stretched(Digit("1234"[place] - '0'), DigitPlace[place].size()));
    for (const auto &[icon, source] : {std::pair{StateIcon::Play, PlayIcon},
                                       {StateIcon::Stop, StopIcon},
                                       {StateIcon::Pause, PauseIcon},
                                       {StateIcon::Open, OpenIcon},
                                       {StateIcon::Idle, IdleIcon}}) {
        bar_->ShowIcon(icon);
        EXPECT_EQ(IconShown(), IconPicture(source));
    }
}

// Catches digits redrawn although unchanged, or a stale cache after a reset.
TEST_F(BarTest, OnlyChangedDigitsAreRedrawn)
{
    bar_->UpdateTimeDisplay("01:23");
    // Mark the first minute place: an update that leaves that digit must not touch it.
    QImage &canvas = bar_->Form()->TimeDiaplay->Canvas();
    canvas.setPixelColor(DigitPlace[0].topLeft(), Qt::magenta);
    bar_->UpdateTimeDisplay("01:45");
    EXPECT_EQ(canvas.pixelColor(DigitPlace[0].topLeft()), QColor(Qt::magenta));
    EXPECT_EQ(Time().copy(DigitPlace[2]), Stretched(Digit(4), DigitPlace[2].size()));
    EXPECT_EQ(bar_->ShownTime(), "01:45");

    bar_->ResetDisplay();
    EXPECT_EQ(bar_->ShownTime(), "00:00");
    bar_->UpdateTimeDisplay("01:45");
    for (int place = 0; place < 4; ++place)
        EXPECT_EQ(Time().copy(DigitPlace[place]),
                  Stretched(Digit("0145"[place] - '0'), DigitPlace[place].size()));
}

// Catches the minutes of a long song shown wrongly, and non-digits drawing anything.
TEST_F(BarTest, LongSongsShowCharactersOneTwoFourFive)
{
    EXPECT_EQ(FormatTime(205), "03:25");
    EXPECT_EQ(FormatTime(6000), "100:00");
    bar_->UpdateTimeDisplay(FormatTime(6005)); // "100:05": places show 1, 0, :, 0
    EXPECT_EQ(Time().copy(DigitPlace[0]), Stretched(Digit(1), DigitPlace[0].size()));
    EXPECT_EQ(Time().copy(DigitPlace[1]), Stretched(Digit(0), DigitPlace[1].size()));
    EXPECT_EQ(Time().copy(DigitPlace[3]), Stretched(Digit(0), DigitPlace[3].size()));
}

// Catches an empty position bar drawn without its outline, or over the whole image.
TEST_F(BarTest, ResetDisplayEmptiesThePositionBar)
{
    const QImage &bar = bar_->Form()->Pos_Bar->Canvas();
    EXPECT_EQ(bar.pixelColor(0, 0).alpha(), 0) << "row and column 0 stay see-through";
    EXPECT_EQ(bar.pixelColor(1, 1), ToQColor(ActiveColor));
    EXPECT_EQ(bar.pixelColor(79, 4), ToQColor(ActiveColor));
    EXPECT_EQ(bar.pixelColor(40, 2), ToQColor(BackColor));
}

// Catches Next acting at x 95 (over its face but before its range), and the right button
// on the background starting a drag.
TEST_F(BarTest, ButtonStripHitRanges)
{
    Enqueue(Song("a.mid", 5000));
    Enqueue(Song("b.mid", 5000));
    view_->Queue().SetLastIndex(1);
    bar_->StartCurrentSong();
    bar_->ControlButtonsMouseDown(Qt::LeftButton, 95, 5);
    EXPECT_EQ(view_->Queue().CurrentIndex(), 0);
    auto *mover = bar_->findChild<WindowMover *>();
    ASSERT_NE(mover, nullptr);
    EXPECT_TRUE(mover->IsMoving());
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bar_.get(), &release);
    EXPECT_FALSE(mover->IsMoving());

    bar_->ControlButtonsMouseDown(Qt::RightButton, 160, 5); // past the close button: nothing
    EXPECT_FALSE(mover->IsMoving());
    bar_->ControlButtonsMouseDown(Qt::LeftButton, 99, 5);
    EXPECT_EQ(view_->Queue().CurrentIndex(), 1);

    bar_->ControlButtonsMouseDown(Qt::LeftButton, 47, 5); // stop
    EXPECT_EQ(bar_->MediaPlayer1().Mode(), mci::mpStopped);
    bar_->ControlButtonsMouseDown(Qt::RightButton, 10, 5); // any button plays
    EXPECT_EQ(bar_->MediaPlayer1().Mode(), mci::mpPlaying);
}

// Catches the hand cursor shown on the range edges or missing over the Next face.
TEST_F(BarTest, HandCursorRanges)
{
    TImage *strip = bar_->Form()->ControlButtons;
    const auto cursorAt = [&](int x) {
        bar_->ControlButtonsMouseMove(x, 5);
        return strip->cursor().shape();
    };
    EXPECT_EQ(cursorAt(95), Qt::PointingHandCursor);
    EXPECT_EQ(cursorAt(93), Qt::ArrowCursor);
    EXPECT_EQ(cursorAt(1), Qt::ArrowCursor);
    EXPECT_EQ(cursorAt(2), Qt::PointingHandCursor);
    EXPECT_EQ(cursorAt(150), Qt::ArrowCursor);
}

// Catches a bar left partly off the screen after a move.
TEST_F(BarTest, KeepOnScreenPushesEachEdgeBack)
{
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    bar_->move(-30, -7);
    bar_->KeepOnScreen();
    EXPECT_EQ(bar_->pos(), QPoint(0, 0));
    bar_->move(screen.width() - 100, screen.height() - 3);
    bar_->KeepOnScreen();
    EXPECT_EQ(bar_->pos(), QPoint(screen.width() - 640, screen.height() - 26));
}

// Catches a click on the label taken by the panel behind it as the start of a drag.
TEST_F(BarTest, ClickOnTheListLabelTogglesTheWindow)
{
    QTest::mouseClick(bar_->Form()->List_Btn, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_TRUE(view_->isVisible());
    EXPECT_FALSE(bar_->findChild<WindowMover *>()->IsMoving());
    QTest::mouseClick(bar_->Form()->List_Btn, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(view_->isVisible());
}

// Catches the LIST label colour not following the play list window's state.
TEST_F(BarTest, ListLabelShowsTheWindowState)
{
    bar_->List_BtnClick();
    EXPECT_TRUE(view_->isVisible());
    EXPECT_EQ(bar_->Form()->List_Btn->palette().color(QPalette::WindowText),
              ToQColor(NoActiveColor));
    bar_->List_BtnClick();
    EXPECT_FALSE(view_->isVisible());
    EXPECT_EQ(bar_->Form()->List_Btn->palette().color(QPalette::WindowText), ToQColor(ActiveColor));
}

// Catches a first start not at 0,0, or a close that leaves out keys of the settings file.
TEST_F(BarTest, FirstStartAtOriginAndCloseWritesEveryKey)
{
    EXPECT_EQ(bar_->pos(), QPoint(0, 0));
    EXPECT_EQ(view_->pos(), QPoint(0, 0));
    bar_->move(-1200, 33);
    bar_->close();
    EXPECT_EQ(platform::ReadFile(program_ / "Sonolux.ini"),
              "[Main]\nX=-1200\nY=33\n\n[View]\nX=0\nY=0\nLyrics=0\n\n[Design]\n"
              "Skin=default.mbd\n\n"
              "[History]\nDir=\n\n[Other]\nFormat=GM.MID\nTime=0\n");
}
