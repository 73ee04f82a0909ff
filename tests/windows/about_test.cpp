#include "windows/about_form.h"

#include "app/appstate.h"
#include "app/design.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using Flags = std::array<bool, LibraryCount>;

bool EndsWith(const std::string &text, const std::string &tail)
{
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

// Catches a changed line layout, carriage returns, or a missing blank line after the heading.
TEST(AboutText, FixedLinesWithoutLibraries)
{
    const std::string text = AboutText(Flags{});
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(text.rfind("== Sono Lux ==\n\nversion 0.6.0 Release\n\n", 0), 0u);
    EXPECT_NE(text.find("\n\n+ Support +\n\nHomePage : "), std::string::npos);
    EXPECT_NE(text.find("\nE-mail : "), std::string::npos);
    EXPECT_TRUE(EndsWith(text, "\n\n- Dll`s -\n\n"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 13);
}

// Catches libraries listed out of order, or the RAR flag naming only one library.
TEST(AboutText, LibraryLinesInProbeOrder)
{
    Flags rarAndRcp{};
    rarAndRcp[3] = true;
    rarAndRcp[6] = true;
    EXPECT_TRUE(EndsWith(AboutText(rarAndRcp), "- Dll`s -\n\nunrar.dll\nunrar32.dll\nrcpcv.dll\n"));

    Flags all;
    all.fill(true);
    EXPECT_TRUE(EndsWith(AboutText(all), "- Dll`s -\n\nunlha32.dll\nunzip32.dll\ncab32.dll\n"
                                         "unrar.dll\nunrar32.dll\ntar32.dll\nunarj32j.dll\n"
                                         "rcpcv.dll\n"));
}

// Catches the window showing stale flags or colours, or opening off the screen's centre.
TEST(AboutWindow, ShowsCurrentValuesCentred)
{
    Tabout about;
    LibraryPresent = Flags{};
    LibraryPresent[0] = true;
    BackColor = 0x00102030;
    ActiveColor = 0x0000FFFF;
    about.show();

    auto *label = about.findChild<QLabel *>("Label1");
    EXPECT_EQ(label->text().toStdString(), AboutText(LibraryPresent));
    EXPECT_EQ(about.size(), QSize(297, 289));
    EXPECT_EQ(about.frameGeometry().center(),
              QGuiApplication::primaryScreen()->geometry().center());

    const QImage picture = about.grab().toImage();
    EXPECT_EQ(picture.pixelColor(10, about.height() - 10), ToQColor(BackColor));
    bool textInActiveColor = false;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < about.width(); ++x)
            textInActiveColor |= picture.pixelColor(x, y) == ToQColor(ActiveColor);
    EXPECT_TRUE(textInActiveColor);
    about.close();

    BackColor = 0x00405060;
    Tabout next;
    next.show();
    EXPECT_EQ(next.grab().toImage().pixelColor(10, next.height() - 10), ToQColor(BackColor));
    LibraryPresent = Flags{};
}

// Catches a click on the text that leaves the window open, or a press alone closing it.
TEST(AboutWindow, ClickOnTheTextCloses)
{
    Tabout about;
    about.show();
    auto *label = about.findChild<QLabel *>("Label1");

    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(20, 250));
    EXPECT_TRUE(about.isVisible());
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(20, 250));
    EXPECT_FALSE(about.isVisible());
}
