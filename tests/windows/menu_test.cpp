#include "windows/menu.h"

#include "app/design.h"
#include "modal.h"

#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QListWidget *ListBox(const TMenuWindow &menu)
{
    return menu.findChild<QListWidget *>("ListBox1");
}

// A point in the list's client area on the given row (rows are 12 pixels high).
QPoint OnRow(int row)
{
    return QPoint(20, row * TMenuWindow::ItemHeight + TMenuWindow::ItemHeight / 2);
}

QList<int> SelectedRows(const TMenuWindow &menu)
{
    QList<int> rows;
    for (const QListWidgetItem *item : ListBox(menu)->selectedItems())
        rows.append(ListBox(menu)->row(item));
    return rows;
}

} // namespace

// Catches a highlight that lags, piles up, marks the wrong row or lights the empty strip.
TEST(MenuWindow, HighlightFollowsThePointer)
{
    TMenuWindow menu;
    menu.show();
    QWidget *viewport = ListBox(menu)->viewport();
    EXPECT_TRUE(SelectedRows(menu).isEmpty());

    QTest::mouseMove(viewport, OnRow(2));
    EXPECT_EQ(SelectedRows(menu), QList<int>{mcAbout});
    QTest::mouseMove(viewport, OnRow(3));
    EXPECT_EQ(SelectedRows(menu), QList<int>{mcExit});
    QTest::mouseMove(viewport, OnRow(4));
    EXPECT_EQ(SelectedRows(menu), QList<int>{mcSeparator});

    QTest::mouseMove(viewport, QPoint(20, 6 * TMenuWindow::ItemHeight));
    EXPECT_TRUE(SelectedRows(menu).isEmpty());

    // Leaving the menu keeps the last highlight.
    QTest::mouseMove(viewport, OnRow(5));
    QTest::mouseMove(&menu, QPoint(menu.width() + 30, 10));
    EXPECT_EQ(SelectedRows(menu), QList<int>{mcCancel});
}

// Catches a press that chooses the wrong entry or leaves the menu open.
TEST(MenuWindow, LeftPressChoosesTheEntryAndCloses)
{
    for (int row = mcListWindow; row <= mcCancel; ++row) {
        TMenuWindow menu;
        menu.show();
        QTest::mousePress(ListBox(menu)->viewport(), Qt::LeftButton, {}, OnRow(row));
        EXPECT_EQ(menu.Tag(), row);
        EXPECT_FALSE(menu.isVisible()) << "row " << row;
    }
}

// Catches another button, or a press below the entries, being taken as a choice.
TEST(MenuWindow, OtherPressesChooseNothing)
{
    TMenuWindow right;
    right.show();
    QTest::mousePress(ListBox(right)->viewport(), Qt::RightButton, {}, OnRow(mcExit));
    EXPECT_EQ(right.Tag(), mcNone);
    EXPECT_FALSE(right.isVisible());

    TMenuWindow below;
    below.show();
    QTest::mousePress(ListBox(below)->viewport(), Qt::LeftButton, {},
                      QPoint(20, 6 * TMenuWindow::ItemHeight));
    EXPECT_EQ(below.Tag(), mcNone);
    EXPECT_FALSE(below.isVisible());
}

// Catches a menu dismissed without a press being carried out as "List Window".
TEST(MenuWindow, ClosingWithoutAPressChoosesNothing)
{
    TMenuWindow closed;
    closed.show();
    QTest::mouseMove(ListBox(closed)->viewport(), OnRow(mcListWindow));
    closed.close();
    EXPECT_EQ(closed.Tag(), mcNone);

    TMenuWindow escaped;
    escaped.show();
    QTest::keyClick(ListBox(escaped), Qt::Key_Escape);
    EXPECT_FALSE(escaped.isVisible());
    EXPECT_EQ(escaped.Tag(), mcNone);

    QWidget bar(nullptr, Qt::FramelessWindowHint);
    bar.setGeometry(100, 200, 640, 26);
    bar.show();
    TMenuWindow outside(&bar);
    outside.PlaceUnder(bar.frameGeometry());
    outside.show();
    // Through the window system, as a real press outside the pop-up arrives.
    QTest::mousePress(bar.windowHandle(), Qt::LeftButton, {}, QPoint(300, 10));
    EXPECT_FALSE(outside.isVisible());
    EXPECT_EQ(outside.Tag(), mcNone);
    QTest::mouseRelease(bar.windowHandle(), Qt::LeftButton, {}, QPoint(300, 10));
}

// Catches the menu opening away from the bar, or the modal run not handing back the choice.
TEST(MenuWindow, OpensUnderTheBarAndReturnsTheChoice)
{
    QWidget bar(nullptr, Qt::FramelessWindowHint);
    bar.setGeometry(100, 200, 640, 26);
    bar.show();

    QPoint opened;
    WhenOpen([&opened](QWidget *menu) {
        opened = menu->pos();
        QTest::mousePress(menu->findChild<QListWidget *>("ListBox1")->viewport(), Qt::LeftButton,
                          {}, OnRow(mcSettingWindow));
    });
    EXPECT_EQ(TMenuWindow::Popup(&bar), mcSettingWindow);
    EXPECT_EQ(opened, QPoint(100, 226));

    WhenOpen([](QWidget *menu) { menu->close(); });
    EXPECT_EQ(TMenuWindow::Popup(&bar), mcNone);
}

// Catches the menu not wearing the design's colours as they are when it opens.
TEST(MenuWindow, WearsTheDesignColours)
{
    TMenuWindow menu;
    BackColor = 0x00405060;
    ActiveColor = 0x00F0E0D0;
    menu.show();
    QListWidget *list = ListBox(menu);
    const QImage picture = list->viewport()->grab().toImage();
    EXPECT_EQ(picture.pixelColor(list->viewport()->width() - 2, 2), ToQColor(BackColor));

    const QRect firstRow = list->visualItemRect(list->item(mcListWindow));
    bool textInActiveColor = false;
    for (int y = firstRow.top(); y <= firstRow.bottom(); ++y)
        for (int x = firstRow.left(); x <= firstRow.right(); ++x)
            textInActiveColor |= picture.pixelColor(x, y) == ToQColor(ActiveColor);
    EXPECT_TRUE(textInActiveColor);
}
