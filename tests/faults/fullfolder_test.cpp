// The player's folders on a file system that is full or read-only (a small tmpfs, mounted
// as root): every write that fails is reported with the system's reason, the files it
// would have replaced stay whole, nothing half-written is left behind, and the player
// goes on playing.
#include "faultfixture.h"
#include "smalltmpfs.h"

#include "outside/rcpcv/song_builder.h"
#include "platform/files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

using testing_support::ErrorOf;
using testing_support::NamesIn;
using testing_support::PlayerTest;
using testing_support::SmallTmpfs;

namespace {

// The temporary folder lies on a full tmpfs.
class FullTemporaryFolderTest : public PlayerTest
{
protected:
    void SetUp() override
    {
        tmpfs_ = std::make_unique<SmallTmpfs>(runtime_.Path(), 64 * 1024);
        PlayerTest::SetUp();
        EnsureTempFolder();
    }

    // Runs the player's next song start and expects it to fail with a text holding part.
    void ExpectStartFails(const std::string &part)
    {
        const std::string message = ErrorOf([this] { bar_->StartCurrentSong(); });
        EXPECT_NE(message.find(part), std::string::npos) << message;
        EXPECT_FALSE(bar_->Timer1.isActive());
    }

    // The player goes on: a plain song, which needs no temporary file, plays.
    void ExpectPlainSongPlays()
    {
        view_->Queue().Clear();
        Enqueue(Song("plain.mid", 1000, "Plain"));
        view_->Queue().SetCurrentIndex(0);
        bar_->StartCurrentSong();
        EXPECT_EQ(bar_->MediaPlayer1().Mode(), mci::mpPlaying);
    }

    std::unique_ptr<SmallTmpfs> tmpfs_;
};

// Catches a header check that reports success without its work file, or leaves half of it.
TEST_F(FullTemporaryFolderTest, WrappedSongReportsTheFullDiskAndLeavesNothing)
{
    Enqueue(program_.Write("wrapped.mid",
                           std::string(128, '\0') + testing_support::MakeSmf(500, "Wrapped")));
    tmpfs_->Fill();
    ExpectStartFails("ディスクがいっぱいです");
    EXPECT_TRUE(NamesIn(TempFolder).empty());
    ExpectPlainSongPlays();
}

// Catches a failed conversion that plays the previous TEMP.MID or leaves a partial file.
TEST_F(FullTemporaryFolderTest, ConversionReportsTheFailureAndKeepsTheOldWorkFile)
{
    LibraryPresent[RcpConverterFlag] = true;
    const std::string old = testing_support::MakeSmf(700, "Previous");
    const std::string work = TempFolder + "/TEMP.MID";
    platform::WriteFileAtomic(work, old);
    rcpcv_test::SongBuilder song;
    song.Title("Full").Track(0).events = {rcpcv_test::Note(60, 48, 40, 100)};
    Enqueue(program_.Write("song.rcp", song.Build()));
    tmpfs_->Fill();
    ExpectStartFails("could not be written to " + work);
    EXPECT_EQ(platform::ReadFile(work), old);
    EXPECT_EQ(NamesIn(TempFolder), std::vector<std::string>{"TEMP.MID"});
    ExpectPlainSongPlays();
}

// Catches an extraction that leaves a truncated member to be listed and played.
TEST_F(FullTemporaryFolderTest, ArchiveIntakeFindsNothingAndLeavesNoHalfMember)
{
    LibraryPresent[1] = true; // the zip library
    testing_support::TempFolder staging;
    staging.Write("big.mid",
                  testing_support::MakeSmf(60000, "Big", std::vector<std::uint32_t>(2000, 10)));
    const std::string archive = program_ / "songs.zip";
    const std::string command =
        "cd '" + staging.Path() + "' && zip -q -0 -X '" + archive + "' big.mid";
    ASSERT_EQ(std::system(command.c_str()), 0);
    tmpfs_->Fill(4096); // room for a part of the member only
    AnswerNextModal();
    bar_->WMDropFiles({archive});
    EXPECT_EQ(lastModalText_, QString::fromUtf8("対応するMIDIファイルが存在していません。"));
    EXPECT_EQ(view_->Queue().Count(), 0);
    EXPECT_TRUE(NamesIn(TempFolder).empty());
    ExpectPlainSongPlays();
}

enum class FolderFault { Full, ReadOnly };

// The program folder (settings file, list file) lies on a tmpfs that turns full or
// read-only after the old files were written.
class ProgramFolderFaultTest : public PlayerTest, public ::testing::WithParamInterface<FolderFault>
{
protected:
    void SetUp() override
    {
        tmpfs_ = std::make_unique<SmallTmpfs>(program_.Path(), 256 * 1024);
        PlayerTest::SetUp();
    }

    // Applies the fault, leaving room for some bytes of a new file when it is Full.
    void Break(std::size_t room)
    {
        if (GetParam() == FolderFault::Full)
            tmpfs_->Fill(room);
        else
            tmpfs_->MakeReadOnly();
    }
    std::string Reason() const
    {
        return std::strerror(GetParam() == FolderFault::Full ? ENOSPC : EROFS);
    }

    std::unique_ptr<SmallTmpfs> tmpfs_;
};

// Catches settings lost silently at close, or a settings file left half-written.
TEST_P(ProgramFolderFaultTest, SettingsAtCloseAreReportedAndTheOldFileStaysWhole)
{
    std::string old = "; kept by the user\r\n[Main]\r\nX=10\r\nY=20\r\n";
    for (int i = 0; i < 200; ++i)
        old += "; a line the settings writer must keep: " + std::to_string(i) + "\r\n";
    const std::string path = program_.Write("Sonolux.ini", old);
    const std::vector<std::string> before = NamesIn(program_.Path());
    Break(1024);
    bar_->move(300, 400);
    LastFolder = "/home/user/music";
    AnswerNextModal();
    bar_->FormClose();
    EXPECT_TRUE(lastModalText_.contains("could not save its settings"))
        << lastModalText_.toStdString();
    EXPECT_TRUE(lastModalText_.contains(QString::fromStdString(Reason())));
    EXPECT_EQ(platform::ReadFile(path), old);
    std::vector<std::string> after = NamesIn(program_.Path());
    after.erase(std::remove(after.begin(), after.end(), "filler"), after.end());
    EXPECT_EQ(after, before);
}

// Catches a list lost at Save, a half-written list file, or a queue changed by a failed Save.
TEST_P(ProgramFolderFaultTest, ListSaveIsReportedAndTheOldFileStaysWhole)
{
    const std::string old = "Old\r\nold.mid\r\n/music/old.mid\r\n\r\n";
    const std::string path = program_.Write("Sonolux.lst", old);
    for (int i = 0; i < 200; ++i) {
        TPlayEntry entry;
        entry.Title = "Song " + std::to_string(i);
        entry.FileName = "song" + std::to_string(i) + ".mid";
        entry.FilePath = TempFolder + "/" + entry.FileName;
        entry.ArchivePath = "/music/archive.lzh";
        view_->Queue().Append(entry);
    }
    Break(2048); // the new file needs about 15 KB
    const std::string message = ErrorOf([this] { view_->SaveList(); });
    EXPECT_NE(message.find("Cannot write " + path), std::string::npos) << message;
    EXPECT_NE(message.find(Reason()), std::string::npos) << message;
    EXPECT_EQ(platform::ReadFile(path), old);
    EXPECT_EQ(view_->Queue().Entry(0).FilePath, TempFolder + "/song0.mid");
    for (const std::string &name : NamesIn(program_.Path()))
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
}

INSTANTIATE_TEST_SUITE_P(Faults, ProgramFolderFaultTest,
                         ::testing::Values(FolderFault::Full, FolderFault::ReadOnly),
                         [](const ::testing::TestParamInfo<FolderFault> &info) {
                             return info.param == FolderFault::Full ? "Full" : "ReadOnly";
                         });

} // namespace
