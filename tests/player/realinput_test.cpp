// The bar and the play list window under input as the window system delivers it: double
// clicks through the window, and drops that return before the intake runs.
#include "playerfixture.h"

#include "ui_main.h"

#include "support/realinput.h"

#include <QSignalSpy>
#include <QTreeView>
#include <cstdlib>

using testing_support::PlayerTest;
using testing_support::RealDoubleClick;

namespace {

class RealInputTest : public PlayerTest
{
protected:
    void StartFour()
    {
        for (const char *name : {"a.mid", "b.mid", "c.mid", "d.mid"})
            Enqueue(Song(name, 5000));
        view_->Queue().SetLastIndex(3);
        bar_->StartCurrentSong();
    }
    std::string Zip(const std::string &name, const std::string &member)
    {
        testing_support::TempFolder staging;
        staging.Write(member, testing_support::MakeSmf(900, "Member"));
        const std::string archive = program_ / name;
        const std::string command =
            "cd '" + staging.Path() + "' && zip -q -0 -X '" + archive + "' '" + member + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return archive;
    }
    QWidget *Strip() { return bar_->Form()->ControlButtons; }
};

} // namespace

// Catches the second press of a double click lost on the button strip: a double click on
// Next moves one song on, and one on Pause (pause, then resume) leaves the song paused.
TEST_F(RealInputTest, DoubleClicksOnTheStripPressTwice)
{
    StartFour();
    RealDoubleClick(Strip(), QPoint(105, 8));
    EXPECT_EQ(view_->Queue().CurrentIndex(), 2);

    RealDoubleClick(Strip(), QPoint(30, 8));
    EXPECT_EQ(bar_->MediaPlayer1().Mode(), mci::mpPlaying);
    EXPECT_TRUE(bar_->Timer1.isActive());
}

// Catches the second press of a double click on the position bar not seeking, and a double
// click on the LIST label toggling the window twice.
TEST_F(RealInputTest, DoubleClicksOnThePositionBarAndTheLabel)
{
    StartFour();
    QSignalSpy jumps(&bar_->Core(), &TPlayerCore::PositionJumped);
    RealDoubleClick(bar_->Form()->Pos_Bar, QPoint(40, 2));
    EXPECT_EQ(jumps.count(), 2);

    RealDoubleClick(bar_->Form()->List_Btn, QPoint(5, 5));
    EXPECT_TRUE(view_->isVisible());
}

// Catches a drop of an archive extracted inside the drop (the file manager waits for it),
// accepted as a move, or not taken in once the event loop runs; on both windows.
TEST_F(RealInputTest, ArchiveDropsReturnBeforeTheirExtraction)
{
    LibraryPresent[1] = true; // the zip library
    const auto first = testing_support::FileDrop({Zip("one.zip", "one.mid")});
    const auto dropped = testing_support::DropAt(bar_.get(), QPoint(300, 10), first.get());
    EXPECT_TRUE(dropped.accepted);
    EXPECT_EQ(dropped.action, Qt::CopyAction);
    EXPECT_EQ(view_->Queue().Count(), 0) << "extracted inside the drop";
    testing_support::RunPosted();
    ASSERT_EQ(view_->Queue().Count(), 1);
    EXPECT_EQ(bar_->MediaPlayer1().Mode(), mci::mpPlaying);

    view_->show();
    const auto second = testing_support::FileDrop({Zip("two.zip", "two.mid")});
    EXPECT_TRUE(testing_support::DropAt(view_.get(), QPoint(100, 100), second.get()).accepted);
    EXPECT_EQ(view_->Queue().Count(), 1) << "extracted inside the drop";
    testing_support::RunPosted();
    ASSERT_EQ(view_->Queue().Count(), 2);
    EXPECT_EQ(view_->Queue().Entry(1).FileName, "two.mid");
    EXPECT_EQ(view_->Queue().CurrentIndex(), 0);
}

// Catches a drag that offers only to move the files being accepted (turned into a copy the
// file manager never allowed) or taken in, on the bar, the list window and its list.
TEST_F(RealInputTest, DragsThatCannotCopyAreRefused)
{
    const auto data = testing_support::FileDrop({Song("moved.mid", 900)});
    view_->show();
    QWidget *list = view_->findChild<QTreeView *>(QStringLiteral("ListView1"))->viewport();
    for (QWidget *target :
         {static_cast<QWidget *>(bar_.get()), static_cast<QWidget *>(view_.get()), list}) {
        EXPECT_FALSE(
            testing_support::DropAt(target, QPoint(10, 10), data.get(), Qt::MoveAction).accepted)
            << target->objectName().toStdString();
    }
    testing_support::RunPosted();
    EXPECT_EQ(view_->Queue().Count(), 0);

    EXPECT_TRUE(
        testing_support::DropAt(list, QPoint(10, 10), data.get(), Qt::CopyAction | Qt::LinkAction)
            .accepted);
    testing_support::RunPosted();
    EXPECT_EQ(view_->Queue().Count(), 1) << "a drag that may copy is still taken";
}
