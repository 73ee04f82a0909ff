#include "dialogdriver.h"

#include "dialogs/otdialogs.h"
#include "support/tempfolder.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFileDialog>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

using namespace dialog_testing;

namespace {

class SelectionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *name : {"a.mid", "b.mid", "\xE6\x9B\xB2.mid"})
            folder_.Write(name, "MThd");
        dialog_.SetInitialDir(folder_.Path());
        dialog_.SetFilter("Midi Files|*.mid;*.rmi;");
        dialog_.SetOptions(ofAllowMultiSelect | ofHideReadOnly | ofEnableSizing);
    }
    testing_support::TempFolder folder_;
    TOtOpenDialog dialog_;
};

} // namespace

// Catches a selection change reported without its folder, with a re-encoded name, or with
// FileName() not yet (or no longer) the reported path.
TEST_F(SelectionTest, EachNewCurrentFileIsReportedByItsFullPath)
{
    std::vector<std::string> reported;
    std::vector<std::string> namesDuring;
    QObject::connect(&dialog_, &TOtOpenDialog::OnSelectionChange, [&](const std::string &path) {
        reported.push_back(path);
        namesDuring.push_back(dialog_.FileName());
    });
    RunWith(dialog_, [&](QFileDialog &window) {
        QAbstractItemView &view = FileView(window, 3);
        ClickEntry(view, "b.mid");
        ClickEntry(view, QString::fromUtf8("曲.mid"));
        ClickEntry(view, "a.mid");
    });

    const std::vector<std::string> expected{folder_ / "b.mid", folder_ / "\xE6\x9B\xB2.mid",
                                            folder_ / "a.mid"};
    EXPECT_EQ(reported, expected);
    EXPECT_EQ(namesDuring, expected);
    EXPECT_EQ(dialog_.FileName(), "") << "a cancelled run keeps the former file name";
    EXPECT_TRUE(dialog_.Files().empty());
}

// Catches chosen files lost, reordered or reported without their folder, and FileName not
// being the first of them.
TEST_F(SelectionTest, SeveralChosenFilesComeBackInTheDialogsOrder)
{
    const bool chosen = RunWith(dialog_, [&](QFileDialog &window) {
        QAbstractItemView &view = FileView(window, 3);
        ClickEntry(view, "b.mid");
        ClickEntry(view, "a.mid", Qt::ControlModifier);
        PressOpen(window);
    });
    ASSERT_TRUE(chosen);
    EXPECT_EQ(dialog_.Files(), (std::vector<std::string>{folder_ / "b.mid", folder_ / "a.mid"}));
    EXPECT_EQ(dialog_.FileName(), folder_ / "b.mid");

    EXPECT_FALSE(RunWith(dialog_, [](QFileDialog &) {}));
    EXPECT_TRUE(dialog_.Files().empty());
    EXPECT_EQ(dialog_.FileName(), folder_ / "b.mid");
}

// Catches a single-choice dialog returning several files.
TEST_F(SelectionTest, WithoutMultipleSelectionOneFileIsChosen)
{
    dialog_.SetOptions(ofHideReadOnly | ofEnableSizing);
    const bool chosen = RunWith(dialog_, [&](QFileDialog &window) {
        QAbstractItemView &view = FileView(window, 3);
        ClickEntry(view, "b.mid");
        ClickEntry(view, "a.mid", Qt::ControlModifier);
        PressOpen(window);
    });
    ASSERT_TRUE(chosen);
    EXPECT_EQ(dialog_.Files(), std::vector<std::string>{folder_ / "a.mid"});
}

// Catches song files hidden because their names are written in capitals, files of other
// types shown, or the wrong filter selected at first.
TEST(OpenFilterMatching, PatternsMatchWithoutRegardToLetterCase)
{
    testing_support::TempFolder folder;
    for (const char *name : {"GM.MID", "SONG.Mid", "a.mid", "c.RMI", "notes.txt", "x.LZH"})
        folder.Write(name, "x");
    TOtOpenDialog dialog;
    dialog.SetInitialDir(folder.Path());
    dialog.SetFilter("Support Files|*.mid;*.rmi;|Midi Fles|*.mid;");
    RunWith(dialog, [&](QFileDialog &window) {
        EXPECT_EQ(window.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"))->currentText(),
                  QStringLiteral("Support Files"));
        QAbstractItemView &view = FileView(window, 4);
        QStringList names = ListedNames(view);
        names.sort(Qt::CaseInsensitive);
        EXPECT_EQ(names, (QStringList{"a.mid", "c.RMI", "GM.MID", "SONG.Mid"}));

        window.selectNameFilter(window.nameFilters().at(1));
        EXPECT_TRUE(QTest::qWaitFor([&] { return ListedNames(view).size() == 3; }, 2000));
        names = ListedNames(view);
        names.sort(Qt::CaseInsensitive);
        EXPECT_EQ(names, (QStringList{"a.mid", "GM.MID", "SONG.Mid"}));
    });
}

// Catches the dialog opening on an empty listing when the remembered folder has gone.
TEST_F(SelectionTest, MissingInitialFolderOpensItsNearestExistingParent)
{
    dialog_.SetInitialDir(folder_ / "gone/deeper");
    RunWith(dialog_, [&](QFileDialog &window) {
        EXPECT_EQ(window.directory().absolutePath(), QString::fromStdString(folder_.Path()));
        EXPECT_EQ(ListedNames(FileView(window, 3)).size(), 3);
    });
}
