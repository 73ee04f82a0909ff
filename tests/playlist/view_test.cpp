// The play list window's control strip and the list file as the window loads and saves it.
#include "playlistwindow.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int LoadX = 5, SaveX = 30, DeleteX = 55, ClearX = 80;

void ClickStrip(PlayListWindow &w, int x, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(w.Strip(), button, {}, QPoint(x, 11));
}

std::string ListLines(const std::vector<TPlayEntry> &entries)
{
    std::string data;
    for (const TPlayEntry &e : entries)
        data +=
            e.Title + "\r\n" + e.FileName + "\r\n" + e.FilePath + "\r\n" + e.ArchivePath + "\r\n";
    return data;
}

void SelectRow(PlayListWindow &w, int row)
{
    const QModelIndex index = w.List()->model()->index(row, 1);
    QTest::mouseClick(w.List()->viewport(), Qt::LeftButton, {},
                      w.List()->visualRect(index).center());
}

} // namespace

// Catches Save writing other bytes than the list file format, or leaving the extracted
// copy's path in memory so that a stale copy would play.
TEST(ListWindowSave, WritesTheListAndMarksMembersNull)
{
    PlayListWindow w;
    const TPlayEntry plain = w.PlainEntry("a.mid");
    const std::string archive = w.MakeFile("set.lzh");
    w.form.Queue().Assign({plain, {">", "Second", "b.mid", TempFolder + "/b.mid", archive}});

    ClickStrip(w, SaveX);

    EXPECT_EQ(platform::ReadFile(w.ListFile()), "title of a.mid\r\na.mid\r\n" + plain.FilePath +
                                                    "\r\n\r\nSecond\r\nb.mid\r\nNull\r\n" +
                                                    archive + "\r\n");
    EXPECT_EQ(w.form.Queue().Entry(0).FilePath, plain.FilePath);
    EXPECT_EQ(w.form.Queue().Entry(1).FilePath, "Null");
    EXPECT_EQ(w.form.Queue().Entry(1).Marker, ">");
}

// Catches an installed copy saving and loading its list beside the program instead of in
// the user's settings folder.
TEST(ListWindowSave, InstalledCopyKeepsTheListInTheUsersFolder)
{
    PlayListWindow w;
    testing_support::TempFolder user;
    ConfigFolder = user.Path() + "/";
    w.form.Queue().Assign({w.PlainEntry("a.mid")});
    ClickStrip(w, SaveX);
    EXPECT_TRUE(platform::FileExists(user / "Sonolux.lst"));
    EXPECT_FALSE(platform::FileExists(w.ListFile()));

    w.form.Queue().Assign({});
    ClickStrip(w, LoadX);
    EXPECT_EQ(w.Names(), std::vector<std::string>{"a.mid"});
    ConfigFolder = ExeFolder;
}

// Catches an empty list overwriting the saved one, so that the old list could not be loaded
// again.
TEST(ListWindowSave, EmptyListLeavesTheFileAlone)
{
    PlayListWindow w;
    const std::string saved = ListLines({w.PlainEntry("a.mid")});
    w.folder.Write("Sonolux.lst", saved);

    ClickStrip(w, SaveX);
    EXPECT_EQ(platform::ReadFile(w.ListFile()), saved);

    ClickStrip(w, LoadX);
    EXPECT_EQ(w.Names(), std::vector<std::string>{"a.mid"});
}

// Catches a failed save reported as success, or changing the list in memory.
TEST(ListWindowSave, FailureIsReportedAndChangesNothing)
{
    PlayListWindow w;
    ::mkdir(w.ListFile().c_str(), 0755); // the name is taken by a folder
    const std::string archive = w.MakeFile("set.lzh");
    w.form.Queue().Assign({{"", "", "b.mid", TempFolder + "/b.mid", archive}});

    EXPECT_THROW(w.form.SaveList(), std::runtime_error);
    EXPECT_EQ(w.form.Queue().Entry(0).FilePath, TempFolder + "/b.mid");
    EXPECT_TRUE(platform::DirectoryExists(w.ListFile()));
}

// Catches missing songs kept, existing ones dropped, members not kept by their archive, or a
// report with the wrong caption or lines.
TEST(ListWindowLoad, KeepsWhatExistsAndReportsTheRest)
{
    PlayListWindow w;
    const TPlayEntry c = w.PlainEntry("c.mid");
    const std::string archive = w.MakeFile("set.lzh");
    const std::string gone = w.folder / "gone.lzh";
    w.folder.Write("Sonolux.lst", ListLines({
                                      {"", "A", "a.mid", w.folder / "a.mid", ""},
                                      c,
                                      {"", "B", "b.mid", "Null", gone},
                                      {"", "D", "d.mid", "Null", archive},
                                  }));
    w.form.Queue().Assign({w.PlainEntry("old.mid")});

    const auto report = RunReadingReport([&] { ClickStrip(w, LoadX); });

    EXPECT_EQ(w.Names(), (std::vector<std::string>{"c.mid", "d.mid"}));
    EXPECT_EQ(w.form.Queue().Entry(1).FilePath, "Null");
    EXPECT_EQ(w.form.Queue().Entry(1).ArchivePath, archive);
    EXPECT_EQ(w.form.Queue().LastIndex(), 1);
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->caption, QString("File not found! Once again, please confirm. "));
    EXPECT_EQ(report->text, QString::fromStdString("a.mid\nb.mid\t[" + gone + "]"));
}

// Catches a message window with nothing to report, or a Load without a list file clearing
// the list.
TEST(ListWindowLoad, QuietWhenNothingIsMissingOrThereIsNoFile)
{
    PlayListWindow w;
    w.form.Queue().Assign({w.PlainEntry("old.mid")});
    EXPECT_FALSE(RunReadingReport([&] { ClickStrip(w, LoadX); }).has_value());
    EXPECT_EQ(w.Names(), std::vector<std::string>{"old.mid"});

    w.folder.Write("Sonolux.lst", ListLines({w.PlainEntry("a.mid"), w.PlainEntry("b.mid")}));
    EXPECT_FALSE(RunReadingReport([&] { ClickStrip(w, LoadX); }).has_value());
    EXPECT_EQ(w.Names(), (std::vector<std::string>{"a.mid", "b.mid"}));
}

// Catches the extra empty line at the end of a list file going unreported or giving more
// than one report line.
TEST(ListWindowLoad, ExtraEmptyLineGivesOneEmptyReportLine)
{
    PlayListWindow w;
    w.folder.Write("Sonolux.lst", ListLines({w.PlainEntry("a.mid")}) + "\r\n");

    const auto report = RunReadingReport([&] { ClickStrip(w, LoadX); });

    EXPECT_EQ(w.Names(), std::vector<std::string>{"a.mid"});
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->text, QString(""));
}

// Catches archive members losing "Null" or their archive on the way through a save and a
// load.
TEST(ListWindowLoad, SavedMembersComeBackAsNull)
{
    PlayListWindow w;
    const std::string archive = w.MakeFile("set.lzh");
    w.form.Queue().Assign(
        {w.PlainEntry("a.mid"), {"", "B", "b.mid", w.MakeFile("b.mid"), archive}});
    ClickStrip(w, SaveX);
    ClickStrip(w, ClearX);
    ClickStrip(w, LoadX);

    ASSERT_EQ(w.form.Queue().Count(), 2);
    EXPECT_EQ(w.form.Queue().Entry(1).FilePath, "Null");
    EXPECT_EQ(w.form.Queue().Entry(1).ArchivePath, archive);
    EXPECT_EQ(w.form.Queue().Entry(1).Title, "B");
}

// Catches strip clicks acting in the gaps or missing the buttons' edges, and another mouse
// button not acting.
TEST(ListWindowStrip, ButtonsActOverTheirRangesOnly)
{
    PlayListWindow w;
    w.folder.Write("Sonolux.lst", ListLines({w.PlainEntry("a.mid")}));
    for (int x = 26; x <= 29; ++x)
        ClickStrip(w, x);
    EXPECT_EQ(w.form.Queue().Count(), 0) << "a gap loaded";
    ClickStrip(w, 5);
    EXPECT_EQ(w.form.Queue().Count(), 1);
    ClickStrip(w, ClearX);
    ClickStrip(w, 25, Qt::RightButton);
    EXPECT_EQ(w.form.Queue().Count(), 1);

    w.form.Queue().Append(w.PlainEntry("b.mid"));
    SelectRow(w, 0);
    ClickStrip(w, 76);
    ClickStrip(w, 101);
    EXPECT_EQ(w.form.Queue().Count(), 2) << "a gap deleted or cleared";
    ClickStrip(w, 75);
    EXPECT_EQ(w.Names(), std::vector<std::string>{"b.mid"});
    ClickStrip(w, 100);
    EXPECT_EQ(w.form.Queue().Count(), 0);
    EXPECT_TRUE(w.player.calls.empty());
}

// Catches the hand cursor missing a button's edge or showing over a gap.
TEST(ListWindowStrip, HandCursorOverTheButtons)
{
    PlayListWindow w;
    w.form.show();
    const auto cursorAt = [&](int x) {
        QTest::mouseMove(w.Strip(), QPoint(x, 11));
        return w.Strip()->cursor().shape();
    };
    for (int x : {5, 25, 30, 50, 55, 75, 80, 100})
        EXPECT_EQ(cursorAt(x), Qt::PointingHandCursor) << "x " << x;
    for (int x : {4, 26, 29, 51, 101, 300})
        EXPECT_EQ(cursorAt(x), Qt::ArrowCursor) << "x " << x;
}

// Catches Delete without a selection removing anything, or removing another entry than
// the selected one.
TEST(ListWindowStrip, DeleteRemovesTheSelectedEntryOnly)
{
    PlayListWindow w;
    w.form.Queue().Assign({w.PlainEntry("a.mid"), w.PlainEntry("b.mid"), w.PlainEntry("c.mid")});
    w.form.show();
    ClickStrip(w, DeleteX);
    EXPECT_EQ(w.form.Queue().Count(), 3) << "deleted without a selection";
    SelectRow(w, 1);
    ClickStrip(w, DeleteX);
    EXPECT_EQ(w.Names(), (std::vector<std::string>{"a.mid", "c.mid"}));
    EXPECT_TRUE(w.player.calls.empty());
}

// Catches the title column not narrowing for the scroll bar from the 20th entry, or not
// widening again.
TEST(ListWindowLayout, TitleColumnMakesRoomForTheScrollBar)
{
    PlayListWindow w;
    w.form.show();
    const QHeaderView *header = w.List()->header();
    std::vector<TPlayEntry> nineteen(19, TPlayEntry{"", "t", "a.mid", "/a.mid", ""});
    w.form.Queue().Assign(nineteen);
    EXPECT_EQ(header->sectionSize(PlayQueue::TitleColumn), 338);

    w.form.Queue().Append(nineteen.front());
    EXPECT_EQ(header->sectionSize(PlayQueue::TitleColumn), 322);
    EXPECT_FALSE(w.List()->horizontalScrollBar()->isVisible());

    SelectRow(w, 0);
    ClickStrip(w, DeleteX);
    EXPECT_EQ(header->sectionSize(PlayQueue::TitleColumn), 338);
}
