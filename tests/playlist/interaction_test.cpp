// Playing, reordering and dropping on the play list window, and moving the window.
#include "playlistwindow.h"

#include "app/design.h"
#include "platform/widgets/image.h"
#include "playlist/listview.h"

#include <QDrag>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;
using Names = std::vector<std::string>;

TListView *ListView(PlayListWindow &w)
{
    return w.form.findChild<TListView *>("ListView1");
}

QPoint OnRow(PlayListWindow &w, int row)
{
    return w.List()->visualRect(w.List()->model()->index(row, 1)).center();
}

// A point of the list's client area below its last row.
QPoint BelowTheRows(PlayListWindow &w)
{
    return QPoint(100, w.List()->viewport()->height() - 5);
}

void SelectRow(PlayListWindow &w, int row)
{
    QTest::mouseClick(w.List()->viewport(), Qt::LeftButton, {}, OnRow(w, row));
}

// A double-click as the window system delivers it: press and release, then the second press
// as a double-click.
void DoubleClickAt(PlayListWindow &w, const QPoint &pos)
{
    testing_support::RealDoubleClick(w.List()->viewport(), pos);
}

// Drags the entry at from (selecting it, as pressing on it does) and drops it at pos.
bool DragRow(PlayListWindow &w, int from, const QPoint &pos)
{
    SelectRow(w, from);
    const auto data = ListView(w)->RowDragData();
    return DropOn(w.List()->viewport(), pos, data.get(), Qt::MoveAction);
}

// A window showing five plain entries a to e.
struct FiveEntries : PlayListWindow
{
    FiveEntries()
    {
        std::vector<TPlayEntry> entries;
        for (const char *name : {"a.mid", "b.mid", "c.mid", "d.mid", "e.mid"})
            entries.push_back({"", name, name, std::string("/m/") + name, ""});
        form.Queue().Assign(entries);
        form.show();
    }
};

} // namespace

// Catches a double-click playing something (or asking the player anything) while no entry
// is selected.
TEST(ListWindowPlay, DoubleClickWithNothingSelectedDoesNothing)
{
    FiveEntries w;
    DoubleClickAt(w, BelowTheRows(w));
    w.form.ListView1DblClick();
    EXPECT_TRUE(w.player.calls.empty());
    EXPECT_EQ(w.form.Queue().CurrentIndex(), 0);
}

// Catches the wrong entry starting, or LastIndex being moved by a double-click.
TEST(ListWindowPlay, DoubleClickStartsTheEntry)
{
    FiveEntries w;
    w.form.Queue().SetLastIndex(1);
    DoubleClickAt(w, OnRow(w, 3));
    EXPECT_EQ(w.player.calls, Calls{"PlayEntry 3"});
    EXPECT_EQ(w.form.Queue().LastIndex(), 1);
}

// Catches a double-click on a member without a known copy not reaching the core (which
// extracts it before it plays).
TEST(ListWindowPlay, NullMemberIsPlayedThroughTheCore)
{
    FiveEntries w;
    w.form.Queue().Insert(1, {"", "B", "b b.mid", "Null", "/m/set.lzh"});
    DoubleClickAt(w, OnRow(w, 1));
    EXPECT_EQ(w.player.calls, Calls{"PlayEntry 1"});
}

// Catches a move downwards landing before the target or an upward one after it, and a
// selection left behind.
TEST(ListWindowReorder, DownLandsAfterUpLandsBeforeTheTarget)
{
    FiveEntries w;
    EXPECT_TRUE(DragRow(w, 1, OnRow(w, 3)));
    EXPECT_EQ(w.Names(), (Names{"a.mid", "c.mid", "d.mid", "b.mid", "e.mid"}));
    EXPECT_FALSE(w.List()->selectionModel()->hasSelection());

    EXPECT_TRUE(DragRow(w, 4, OnRow(w, 1)));
    EXPECT_EQ(w.Names(), (Names{"a.mid", "e.mid", "c.mid", "d.mid", "b.mid"}));
    EXPECT_FALSE(w.List()->selectionModel()->hasSelection());
    EXPECT_TRUE(w.player.calls.empty());
}

// Catches an entry dropped on itself moving, and one dropped below the rows going nowhere
// (or vanishing).
TEST(ListWindowReorder, OntoItselfStaysBelowTheRowsGoesToTheEnd)
{
    FiveEntries w;
    DragRow(w, 2, OnRow(w, 2));
    EXPECT_EQ(w.Names(), (Names{"a.mid", "b.mid", "c.mid", "d.mid", "e.mid"}));

    DragRow(w, 0, OnRow(w, 4));
    EXPECT_EQ(w.Names(), (Names{"b.mid", "c.mid", "d.mid", "e.mid", "a.mid"}));

    EXPECT_TRUE(DragRow(w, 1, BelowTheRows(w)));
    EXPECT_EQ(w.Names(), (Names{"b.mid", "d.mid", "e.mid", "a.mid", "c.mid"}));
}

// Catches the play mark staying on the old row, or CurrentIndex left on the old place (Next
// would then play the wrong entry), or the end of the range moved.
TEST(ListWindowReorder, PlayMarkAndPositionTravelWithTheEntry)
{
    FiveEntries w;
    w.form.Queue().SetMarker(1, ">");
    w.form.Queue().SetCurrentIndex(1);
    w.form.Queue().SetLastIndex(4);
    DragRow(w, 1, OnRow(w, 3));
    EXPECT_EQ(w.Names(), (Names{"a.mid", "c.mid", "d.mid", ">b.mid", "e.mid"}));
    EXPECT_EQ(w.form.Queue().CurrentIndex(), 3);
    EXPECT_EQ(w.form.Queue().LastIndex(), 4);
}

// Catches a row dragged from another list (or another copy of the program) being taken as
// a move of this list's selection.
TEST(ListWindowReorder, ForeignRowDragIsRefused)
{
    FiveEntries w;
    const TListView other;
    SelectRow(w, 0);
    const auto data = other.RowDragData();
    EXPECT_FALSE(DropOn(w.List()->viewport(), OnRow(w, 3), data.get(), Qt::MoveAction));
    EXPECT_EQ(w.Names(), (Names{"a.mid", "b.mid", "c.mid", "d.mid", "e.mid"}));
}

// Catches a drop not handed to the core's append in order, taken in before the drop has
// returned (the file manager's drag would wait for it), a drop moving the play position,
// or a file drop accepted as a move (the file manager would then delete the files).
TEST(ListWindowDrop, DroppedFilesAreAppendedThroughTheCore)
{
    FiveEntries w;
    w.form.Queue().SetCurrentIndex(2);
    w.form.Queue().SetLastIndex(3);
    const auto data = FileDrop({"/in/SONG.MID", "/in/Song.Rmi", "/in/set.LZH", "/in/x.rcp"});

    QDragEnterEvent probe(OnRow(w, 0), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton,
                          {});
    QApplication::sendEvent(w.List()->viewport(), &probe);
    EXPECT_EQ(probe.dropAction(), Qt::CopyAction);
    const auto dropped = testing_support::DropAt(w.List()->viewport(), OnRow(w, 0), data.get());
    EXPECT_TRUE(dropped.accepted);
    EXPECT_EQ(dropped.action, Qt::CopyAction);
    EXPECT_TRUE(w.player.calls.empty()) << "taken in inside the drop";
    testing_support::RunPosted();

    EXPECT_EQ(w.player.calls, Calls{"AppendFiles [/in/SONG.MID] [/in/Song.Rmi] [/in/set.LZH] "
                                    "[/in/x.rcp]"});
    EXPECT_EQ(w.form.Queue().CurrentIndex(), 2);
    EXPECT_EQ(w.form.Queue().LastIndex(), 3);

    w.player.calls.clear();
    const auto below = FileDrop({"/in/x.R36"});
    EXPECT_TRUE(DropOn(w.List()->viewport(), BelowTheRows(w), below.get()));
    testing_support::RunPosted();
    EXPECT_EQ(w.player.calls, Calls{"AppendFiles [/in/x.R36]"});
}

// Catches files dropped outside the list (on the caption strip or the control strip) being
// refused once the window has been shown.
TEST(ListWindowDrop, WholeWindowTakesFiles)
{
    FiveEntries w;
    const auto data = FileDrop({"/in/a b.mid"});
    EXPECT_TRUE(DropOn(w.form.findChild<QWidget *>("BackImage"), QPoint(10, 5), data.get()));
    EXPECT_TRUE(DropOn(w.Strip(), QPoint(200, 5), data.get()));
    testing_support::RunPosted();
    EXPECT_EQ(w.player.calls, (Calls{"AppendFiles [/in/a b.mid]", "AppendFiles [/in/a b.mid]"}));
}

// Catches the window left partly off the screen after a drag by its caption strip, or a
// drag started by another button.
TEST(ListWindowMove, CaptionDragEndsOnTheScreen)
{
    PlayListWindow w;
    w.form.show();
    QWidget *caption = w.form.findChild<QWidget *>("BackImage");
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();

    w.form.move(-40, -30);
    QTest::mousePress(caption, Qt::RightButton, {}, QPoint(50, 5));
    QTest::mouseRelease(caption, Qt::RightButton, {}, QPoint(50, 5));
    EXPECT_EQ(w.form.pos(), QPoint(-40, -30));

    QTest::mousePress(caption, Qt::LeftButton, {}, QPoint(50, 5));
    QTest::mouseRelease(caption, Qt::LeftButton, {}, QPoint(50, 5));
    EXPECT_EQ(w.form.pos(), QPoint(0, 0));

    w.form.move(screen.width() - 100, screen.height() - 10);
    w.form.KeepOnScreen();
    EXPECT_EQ(w.form.pos(),
              QPoint(screen.width() - w.form.width(), screen.height() - w.form.height()));
}

// Catches the design's colours or the skin's caption column not reaching the window when it
// is shown, and drops not being registered.
TEST(ListWindowShow, ShowingAppliesTheDesign)
{
    PlayListWindow w;
    BackColor = 0x00112233;
    ActiveColor = 0x00445566;
    SkinBitmap = QImage(SkinWidth, SkinHeight, QImage::Format_RGB32);
    SkinBitmap.fill(Qt::black);
    for (int y = 0; y < 25; ++y)
        SkinBitmap.setPixelColor(139, y, QColor(10, 200, 30));
    EXPECT_FALSE(w.form.acceptDrops());

    w.form.show();

    EXPECT_TRUE(w.form.acceptDrops());
    const QPalette list = w.List()->palette();
    EXPECT_EQ(list.color(QPalette::Base), QColor(0x33, 0x22, 0x11));
    EXPECT_EQ(list.color(QPalette::Text), QColor(0x66, 0x55, 0x44));
    EXPECT_EQ(w.form.findChild<QWidget *>("ControlPanel")->palette().color(QPalette::Window),
              QColor(0x33, 0x22, 0x11));
    const auto *caption = w.form.findChild<TImage *>("BackImage");
    EXPECT_EQ(caption->Canvas().pixelColor(0, 0), QColor(10, 200, 30));
    EXPECT_EQ(caption->Canvas().pixelColor(caption->width() - 1, caption->height() - 1),
              QColor(10, 200, 30));
    SkinBitmap = QImage();
}

// Catches pressing on a row and moving not starting a drag (rows not draggable), or the drag
// not carrying this list's own row data, or removing rows when it ends.
TEST(ListWindowReorder, PressAndMoveStartsARowDrag)
{
    FiveEntries w;
    QWidget *viewport = w.List()->viewport();
    const QPoint from = OnRow(w, 1);
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    for (int dy : {5, 30, 40})
        QTest::mouseMove(viewport, from + QPoint(0, dy));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, from + QPoint(0, 40));

    // The drag has ended (nothing takes drops here); its object is not yet deleted.
    const auto *drag = ListView(w)->findChild<QDrag *>();
    ASSERT_NE(drag, nullptr) << "no drag started";
    EXPECT_TRUE(ListView(w)->IsOwnRowDrag(drag->mimeData()));
    EXPECT_EQ(w.Names(), (Names{"a.mid", "b.mid", "c.mid", "d.mid", "e.mid"}));
}
