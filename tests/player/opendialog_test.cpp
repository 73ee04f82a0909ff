// The bar's open command through the real file dialog: choosing and cancelling, the filter
// the dialog is given for the libraries found, and the title preview of the selection.
#include "playerfixture.h"

#include "ui_main.h"

#include "app/skinatlas.h"
#include "dialogs/dialogdriver.h"
#include "dialogs/otdialogs.h"
#include "formats/registry.h"
#include "support/realinput.h"
#include "support/storedzip.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <filesystem>

using namespace dialog_testing;
using testing_support::PlayerTest;

namespace {

class OpenDialogTest : public PlayerTest
{
protected:
    // Runs the bar's open command; inside acts on the dialog while it is open.
    bool Open(const std::function<void(QFileDialog &)> &inside)
    {
        return RunWith(
            [this] {
                bar_->OpenSongs();
                return !bar_->OtOpenDialog1->Files().empty();
            },
            inside);
    }
    // The dialog's name filters for the given library flags, as it shows them.
    QStringList FiltersWith(const std::vector<std::size_t> &flags)
    {
        LibraryPresent.fill(false);
        for (const std::size_t flag : flags)
            LibraryPresent[flag] = true;
        bar_->BuildOpenFilter();
        QStringList shown;
        Open([&](QFileDialog &window) {
            shown = window.nameFilters();
            const auto *kinds = window.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
            EXPECT_EQ(kinds->currentIndex(), 0) << "the first filter is selected";
        });
        return shown;
    }
    // A zip archive in the scratch folder holding the named members.
    std::string Zip(const std::string &name, const testing_support::Members &members)
    {
        const std::string archive = scratch_ / name;
        EXPECT_TRUE(testing_support::WriteStoredZip(archive, members));
        return archive;
    }
    QString Preview() const { return bar_->Form()->DialogTitle->text(); }

    testing_support::TempFolder scratch_;
};

} // namespace

// Catches a chosen song not replacing the list or not starting, the folder not remembered
// for the next opening, or the open icon and the stopped title missing while choosing.
TEST_F(OpenDialogTest, ChosenSongReplacesTheListAndItsFolderIsRemembered)
{
    Enqueue(Song("old.mid", 5000), "Old");
    view_->Queue().SetLastIndex(0);
    bar_->StartCurrentSong();
    std::filesystem::create_directory(scratch_ / "songs");
    scratch_.Write("songs/a.mid", testing_support::MakeSmf(4000, "First"));
    scratch_.Write("songs/b.mid", testing_support::MakeSmf(4000, "Second"));
    LastFolder = scratch_.Path();
    bar_->BuildOpenFilter();

    const bool chosen = Open([&](QFileDialog &window) {
        EXPECT_EQ(IconShown(), IconPicture(SkinAtlas::OpenIcon));
        EXPECT_FALSE(bar_->TitleTimer.isActive());
        QAbstractItemView &top = FileView(window, 1);
        const QModelIndex songs = top.model()->index(0, 0, top.rootIndex());
        testing_support::RealDoubleClick(top.viewport(), top.visualRect(songs).center());
        ASSERT_TRUE(QTest::qWaitFor([&] { return ListedNames(top).contains("b.mid"); }, 5000));
        ClickEntry(top, "b.mid");
        PressOpen(window);
    });
    ASSERT_TRUE(chosen);
    ASSERT_EQ(view_->Queue().Count(), 1);
    EXPECT_EQ(view_->Queue().Entry(0).FilePath, scratch_ / "songs/b.mid");
    EXPECT_EQ(view_->Queue().Entry(0).Title, "Second");
    EXPECT_EQ(bar_->MediaPlayer1().FileName(), scratch_ / "songs/b.mid");
    EXPECT_EQ(bar_->MediaPlayer1().Mode(), mci::mpPlaying);
    EXPECT_EQ(LastFolder, scratch_ / "songs");

    Open([&](QFileDialog &window) {
        EXPECT_EQ(window.directory().absolutePath().toStdString(), scratch_ / "songs");
    });
}

// Catches a cancelled dialog that changes the list, the song or the folder, or leaves the
// open icon in place of the sequencer's state.
TEST_F(OpenDialogTest, CancelKeepsEverythingAndShowsTheModeIconAgain)
{
    Enqueue(Song("old.mid", 5000), "Old");
    view_->Queue().SetLastIndex(0);
    scratch_.Write("a.mid", testing_support::MakeSmf(4000, "First"));
    LastFolder = scratch_.Path();
    bar_->BuildOpenFilter();

    bar_->StartCurrentSong();
    bar_->PauseSong();
    EXPECT_FALSE(Open([](QFileDialog &window) { ClickEntry(FileView(window, 1), "a.mid"); }));
    EXPECT_EQ(IconShown(), IconPicture(SkinAtlas::PauseIcon));
    ASSERT_EQ(view_->Queue().Count(), 1);
    EXPECT_EQ(view_->Queue().Entry(0).Title, "Old");
    EXPECT_EQ(bar_->MediaPlayer1().Mode(), mci::mpPaused);
    EXPECT_EQ(LastFolder, scratch_.Path());

    bar_->PlaySong();
    bar_->StopSong();
    ASSERT_EQ(bar_->MediaPlayer1().Mode(), mci::mpStopped);
    EXPECT_FALSE(Open([](QFileDialog &) {}));
    EXPECT_EQ(IconShown(), IconPicture(SkinAtlas::StopIcon));
}

// Catches an archive kind offered without its library or left out with it, the converter's
// kinds missing from the songs' filter, or the kinds out of the table's order.
TEST_F(OpenDialogTest, FilterOffersTheKindsOfThePresentLibraries)
{
    const QString songs = QStringLiteral("*.mid *.rmi");
    const QString rcp = QStringLiteral(" *.rcp *.r36 *.g36");
    const QStringList none{"Support Files (" + songs + ")", "Midi Fles (" + songs + ")"};
    EXPECT_EQ(FiltersWith({}), none);
    const char *const archives[] = {" *.lzh", " *.zip", " *.cab", " *.rar", " *.tar", " *.arj"};
    for (std::size_t flag = 0; flag < 6; ++flag) {
        const QStringList expected{"Support Files (" + songs + archives[flag] + ")",
                                   "Midi Fles (" + songs + ")"};
        EXPECT_EQ(FiltersWith({flag}), expected) << "library " << flag;
    }
    EXPECT_EQ(
        FiltersWith({formats::RcpConverterFlag}),
        (QStringList{"Support Files (" + songs + rcp + ")", "Midi Fles (" + songs + rcp + ")"}));
    EXPECT_EQ(
        FiltersWith({0, 1, 2, 3, 4, 5, 6}),
        (QStringList{"Support Files (" + songs + " *.lzh *.zip *.cab *.rar *.tar *.arj" + rcp + ")",
                     "Midi Fles (" + songs + rcp + ")"}));
}

// Catches files of an absent library's kind listed in the dialog, or a present one's hidden.
TEST_F(OpenDialogTest, DialogListsOnlyFilesOfOfferedKinds)
{
    for (const char *name : {"a.mid", "b.lzh", "c.zip", "d.RCP", "e.cab", "f.txt"})
        scratch_.Write(name, "x");
    LibraryPresent.fill(false);
    LibraryPresent[1] = true;
    LibraryPresent[formats::RcpConverterFlag] = true;
    LastFolder = scratch_.Path();
    bar_->BuildOpenFilter();
    Open([&](QFileDialog &window) {
        QAbstractItemView &view = FileView(window, 3);
        QTest::qWait(50); // the listing arrives in batches
        QStringList names = ListedNames(view);
        names.sort();
        EXPECT_EQ(names, (QStringList{"a.mid", "c.zip", "d.RCP"}));
    });
}

// Catches the preview not following the selection: a song's title, an archive's songs, and
// a folder or a file of no song kind that must leave the last preview in place.
TEST_F(OpenDialogTest, SelectionShowsTheTitlePreview)
{
    LibraryPresent[1] = true; // the zip library
    scratch_.Write("morning.mid", testing_support::MakeSmf(3000, "Morning Song"));
    scratch_.Write("notes.txt", "not a song");
    std::filesystem::create_directory(scratch_ / "more");
    Zip("pack.zip", {{"x.mid", testing_support::MakeSmf(900, "Inside")},
                     {"readme.txt", "x"},
                     {"y.rmi", "RIFF"}});
    Zip("texts.zip", {{"readme.txt", "x"}});
    LastFolder = scratch_.Path();
    bar_->BuildOpenFilter();

    Open([&](QFileDialog &window) {
        QAbstractItemView &view = FileView(window, 4);
        ClickEntry(view, "morning.mid");
        EXPECT_EQ(Preview(), QStringLiteral("Morning Song"));
        ClickEntry(view, "pack.zip");
        EXPECT_EQ(bar_->PreviewText(), "x.mid\r\ny.rmi");
        ClickEntry(view, "texts.zip");
        EXPECT_EQ(Preview(), QString::fromUtf8("対応するMIDIファイルがありません。"));
        ClickEntry(view, "morning.mid");
        ClickEntry(view, "more");
        EXPECT_EQ(Preview(), QStringLiteral("Morning Song")) << "a folder";

        window.setNameFilter(QStringLiteral("All (*)"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return ListedNames(view).contains("notes.txt"); }, 2000));
        ClickEntry(view, "notes.txt");
        EXPECT_EQ(Preview(), QStringLiteral("Morning Song")) << "a file of no song kind";
    });
}
