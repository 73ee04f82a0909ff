// The play position through the queue operations, the list file, and the play list
// window's requests (append, play an entry) as the core carries them out.
#include "corefixture.h"

#include "core/listfile.h"
#include "platform/files.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

using testing_support::CoreTest;

namespace {

class ListPositionTest : public CoreTest
{
protected:
    TPlayEntry PlainEntry(const std::string &name)
    {
        return TPlayEntry{"", "title of " + name, name, program_.Write(name, "MThd"), ""};
    }
    std::string ListLines(const std::vector<TPlayEntry> &entries)
    {
        std::string data;
        for (const TPlayEntry &e : entries)
            data += e.Title + "\r\n" + e.FileName + "\r\n" + e.FilePath + "\r\n" + e.ArchivePath +
                    "\r\n";
        return data;
    }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (const TPlayEntry &entry : Queue().Entries())
            names.push_back(entry.Marker + entry.FileName);
        return names;
    }
};

} // namespace

// Catches Delete or Load leaving CurrentIndex or LastIndex on an entry that no longer
// exists (or at -1), the missing entries not reported, and Delete of no entry removing one.
TEST_F(ListPositionTest, DeleteAndLoadKeepThePositionInTheList)
{
    Queue().Assign({PlainEntry("a.mid"), PlainEntry("b.mid"), PlainEntry("c.mid")});
    Queue().SetCurrentIndex(2);
    Queue().SetLastIndex(2);
    core_->DeleteEntry(-1);
    core_->DeleteEntry(3);
    EXPECT_EQ(Queue().Count(), 3);
    core_->DeleteEntry(2);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.mid", "b.mid"}));
    EXPECT_EQ(Queue().CurrentIndex(), 1);
    EXPECT_EQ(Queue().LastIndex(), 1);

    std::vector<std::string> reports;
    QObject::connect(
        core_.get(), &TPlayerCore::MissingEntries,
        [&](const std::string &, const std::string &report) { reports.push_back(report); });
    Queue().SetCurrentIndex(7);
    program_.Write("Sonolux.lst", ListLines({PlainEntry("x.mid")}));
    core_->LoadList();
    EXPECT_EQ(Queue().CurrentIndex(), 0);
    EXPECT_EQ(Queue().LastIndex(), 0);
    EXPECT_TRUE(reports.empty());

    program_.Write("Sonolux.lst", ListLines({{"", "", "gone.mid", program_ / "gone.mid", ""}}));
    core_->LoadList();
    EXPECT_EQ(Queue().Count(), 0);
    EXPECT_EQ(Queue().CurrentIndex(), 0);
    EXPECT_EQ(Queue().LastIndex(), 0);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("gone.mid"), std::string::npos) << reports[0];
}

// Catches a list file that cannot be read passing silently, losing the list in memory, or
// leaving the play position out of the list.
TEST_F(ListPositionTest, UnreadableListFileKeepsTheList)
{
    const std::string listFile = listfile::ListFilePath();
    // A regular file whose reading fails even for root: this process's own memory at 0.
    ASSERT_EQ(::symlink("/proc/self/mem", listFile.c_str()), 0);
    if (!platform::FileExists(listFile))
        GTEST_SKIP() << "no /proc/self/mem here";
    Queue().Assign({PlainEntry("a.mid")});
    Queue().SetCurrentIndex(3);
    Queue().SetLastIndex(5);
    try {
        core_->LoadList();
        ADD_FAILURE() << "reading the list file did not fail";
    } catch (const std::runtime_error &error) {
        EXPECT_NE(std::string(error.what()).find(listFile), std::string::npos) << error.what();
    }
    EXPECT_EQ(Names(), std::vector<std::string>{"a.mid"});
    EXPECT_EQ(Queue().CurrentIndex(), 0);
    EXPECT_EQ(Queue().LastIndex(), 0);
}

// Catches Clear stopping or restarting the song, or leaving a play position past the list.
TEST_F(ListPositionTest, ClearWhilePlayingLeavesTheSongPlaying)
{
    for (const char *name : {"a.mid", "b.mid", "c.mid"})
        Enqueue(Song(name, 3000));
    Queue().SetCurrentIndex(1);
    Queue().SetLastIndex(2);
    core_->StartCurrentSong();
    const int resets = ResetsSent();
    core_->ClearList();
    EXPECT_EQ(Queue().Count(), 0);
    EXPECT_EQ(Queue().CurrentIndex(), 0);
    EXPECT_EQ(Queue().LastIndex(), 0);
    EXPECT_EQ(Device().Mode(), mci::mpPlaying);
    EXPECT_EQ(Device().FileName(), program_ / "b.mid");
    EXPECT_EQ(ResetsSent(), resets);
}

// Catches song files with capital extensions taken as archives, the RCP test ignoring the
// converter's presence, or an append restarting playback or moving the play position.
TEST_F(ListPositionTest, AppendAddsSongsAndLeavesThePosition)
{
    Enqueue(Song("a.mid", 1000));
    Enqueue(Song("b.mid", 1000));
    Queue().SetCurrentIndex(1);
    Queue().SetLastIndex(0);
    const std::string upper = Song("SONG.MID", 1000, "Upper");
    const std::string rmi = program_.Write("Song.Rmi", "RIFF....RMIDdata");
    const std::string rcp = program_.Write("x.R36", std::string(64, 'x'));
    core_->AppendFiles({upper, rmi, program_.Write("set.LZH", "not an archive"), rcp});
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.mid", "b.mid", "SONG.MID", "Song.Rmi"}));
    EXPECT_EQ(Queue().Entry(2).Title, "Upper");
    EXPECT_EQ(Queue().CurrentIndex(), 1);
    EXPECT_EQ(Queue().LastIndex(), 0);
    EXPECT_FALSE(core_->IsLoaded());

    LibraryPresent[RcpConverterFlag] = true;
    core_->AppendFiles({rcp});
    EXPECT_EQ(Queue().Entry(Queue().Count() - 1).FileName, "x.R36");
}

// Catches a "Null" member played from the list without extracting it first, or its path
// not pointing at the extracted copy.
TEST_F(ListPositionTest, PlayingANullMemberExtractsItFirst)
{
    LibraryPresent[1] = true; // the zip library
    testing_support::TempFolder staging;
    staging.Write("b b.mid", testing_support::MakeSmf(800, "B"));
    const std::string archive = program_ / "set.zip";
    const std::string command =
        "cd '" + staging.Path() + "' && zip -q -0 -X '" + archive + "' 'b b.mid'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    Enqueue(Song("a.mid", 1000));
    Queue().Append({"", "B", "b b.mid", NullPath, archive});
    Queue().SetLastIndex(1);
    ClearTempFolder();
    core_->PlayEntry(1);
    EXPECT_EQ(Queue().CurrentIndex(), 1);
    EXPECT_EQ(Queue().LastIndex(), 1);
    EXPECT_EQ(Queue().Entry(1).FilePath, TempFolder + "/b b.mid");
    EXPECT_EQ(Device().FileName(), TempFolder + "/b b.mid");
    EXPECT_EQ(Device().Mode(), mci::mpPlaying);
}

namespace {

// Five songs a to e queued as an intake leaves them, c playing.
class PlayingEntryTest : public ListPositionTest
{
protected:
    void SetUp() override
    {
        ListPositionTest::SetUp();
        for (const char *name : {"a.mid", "b.mid", "c.mid", "d.mid", "e.mid"})
            Enqueue(Song(name, 2000));
        Queue().SetLastIndex(4);
        Queue().SetCurrentIndex(2);
        core_->StartCurrentSong();
    }
    // The file the device plays now.
    std::string Playing() { return platform::ExtractFileName(Device().FileName()); }
    void PlayToEnd()
    {
        Advance(Device().Length() - Device().Position());
        core_->Timer1Timer();
    }
};

} // namespace

// Catches a delete above the playing song moving CurrentIndex onto the next entry (which
// the advance then skips), or LastIndex no longer on the last entry.
TEST_F(PlayingEntryTest, DeleteAboveKeepsThePlayingEntryCurrent)
{
    core_->DeleteEntry(0);
    EXPECT_EQ(Queue().CurrentIndex(), 1);
    EXPECT_EQ(Queue().LastIndex(), 3);
    EXPECT_EQ(Names()[1], ">c.mid");
    core_->DeleteEntry(3); // below: nothing moves but the end of the range
    EXPECT_EQ(Queue().CurrentIndex(), 1);
    EXPECT_EQ(Queue().LastIndex(), 2);
    PlayToEnd();
    EXPECT_EQ(Playing(), "d.mid");
}

// Catches deleting the playing entry skipping the entry after it (Next would step past the
// entry that took its place) or Previous skipping the one before; and, for the last entry,
// Next replaying or running off the list.
TEST_F(PlayingEntryTest, DeletingThePlayingEntryMakesTheOneAfterItNext)
{
    core_->DeleteEntry(2);
    EXPECT_EQ(Queue().CurrentIndex(), 2); // d.mid
    EXPECT_EQ(Device().Mode(), mci::mpPlaying) << "the song goes on";
    PlayToEnd();
    EXPECT_EQ(Playing(), "d.mid");
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.mid", "b.mid", ">d.mid", "e.mid"}));

    core_->DeleteEntry(2);
    core_->PreviousSong();
    EXPECT_EQ(Playing(), "b.mid");

    core_->PlayEntry(2); // e.mid, the last
    core_->DeleteEntry(2);
    EXPECT_EQ(Queue().CurrentIndex(), 1);
    core_->NextSong(false);
    EXPECT_EQ(Playing(), "e.mid") << "nothing follows the last entry";
    core_->PreviousSong();
    EXPECT_EQ(Playing(), "b.mid");
}

// Catches a reorder leaving CurrentIndex on the old place (Next would then skip or repeat
// songs), or moving the end of the range.
TEST_F(PlayingEntryTest, ReorderKeepsThePlayingEntryCurrent)
{
    Queue().Move(2, 0);
    EXPECT_EQ(Queue().CurrentIndex(), 0);
    Queue().Move(4, 0); // e above c
    Queue().Move(2, 3); // a below b
    EXPECT_EQ(Names(), (std::vector<std::string>{"e.mid", ">c.mid", "b.mid", "a.mid", "d.mid"}));
    EXPECT_EQ(Queue().CurrentIndex(), 1);
    EXPECT_EQ(Queue().LastIndex(), 4);
    core_->NextSong(false);
    EXPECT_EQ(Playing(), "b.mid");
}

// Catches Load leaving CurrentIndex at its old index when the playing song is in the loaded
// list at another place (Next would play the wrong entry), or dropping its play mark; and a
// playing song missing from the loaded list leaving the position out of the list.
TEST_F(PlayingEntryTest, LoadFindsThePlayingEntryAgain)
{
    std::vector<TPlayEntry> listed;
    for (const char *name : {"e.mid", "c.mid", "a.mid"})
        listed.push_back({"", "", name, program_ / name, ""});
    program_.Write("Sonolux.lst", ListLines(listed));
    core_->LoadList();
    EXPECT_EQ(Names(), (std::vector<std::string>{"e.mid", ">c.mid", "a.mid"}));
    EXPECT_EQ(Queue().CurrentIndex(), 1);
    EXPECT_EQ(Queue().LastIndex(), 2);
    core_->NextSong(false);
    EXPECT_EQ(Playing(), "a.mid");

    listed.pop_back(); // a.mid, playing now, is not in the next list
    program_.Write("Sonolux.lst", ListLines(listed));
    core_->LoadList();
    EXPECT_EQ(Names(), (std::vector<std::string>{"e.mid", "c.mid"}));
    EXPECT_EQ(Queue().CurrentIndex(), 1);
}
