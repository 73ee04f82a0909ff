// Songs taken out of archives: extraction into the temporary folder, entries carrying
// their archive, members extracted again before they play.
#include "corefixture.h"

#include "platform/files.h"
#include "support/storedzip.h"


using testing_support::CoreTest;

namespace {

class ArchiveIntakeTest : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        LibraryPresent[1] = true; // the zip library, as the start-up probe finds it
    }
    // A zip archive in the program folder holding the named files (written first).
    std::string Zip(const std::string &archive, const testing_support::Members &files)
    {
        const std::string path = program_ / archive;
        EXPECT_TRUE(testing_support::WriteStoredZip(path, files));
        return path;
    }
    // damaged.zip: songs a.mid and c.mid intact, b.mid with data that fails its CRC-32.
    std::string DamagedZip()
    {
        const std::string path =
            Zip("damaged.zip", {{"a.mid", testing_support::MakeSmf(1000, "Good one")},
                                {"b.mid", testing_support::MakeSmf(1000, "Damaged one")},
                                {"c.mid", testing_support::MakeSmf(1000, "Good two")}});
        std::string bytes = platform::ReadFile(path);
        const std::size_t title = bytes.find("Damaged one");
        EXPECT_NE(title, std::string::npos);
        if (title != std::string::npos)
            bytes[title] = 'd'; // stored data no longer matches its CRC-32
        program_.Write("damaged.zip", bytes);
        return path;
    }
};

} // namespace

// Catches members listed twice, entries losing the archive they came from, or the
// converter's work file taken for a song.
TEST_F(ArchiveIntakeTest, MembersBecomeEntriesOnceWithTheirFirstArchive)
{
    const std::string song = testing_support::MakeSmf(1000, "Packed");
    const std::string first =
        Zip("first.zip", {{"a.mid", song}, {"TEMP.MID", song}, {"notes.txt", "x"}});
    const std::string second = Zip("SECOND.ZIP", {{"A.MID", song}, {"b.rmi", "RIFF"}});
    core_->OpenFiles({first, second});

    const PlayQueue &queue = Queue();
    ASSERT_EQ(queue.Count(), 2);
    EXPECT_EQ(queue.Entry(0).FileName, "a.mid");
    EXPECT_EQ(queue.Entry(0).ArchivePath, first);
    EXPECT_EQ(queue.Entry(0).FilePath, TempFolder + "/a.mid");
    EXPECT_EQ(queue.Entry(0).Title, "Packed");
    EXPECT_EQ(queue.Entry(1).FileName, "b.rmi");
    EXPECT_EQ(queue.Entry(1).ArchivePath, second);
    EXPECT_EQ(Device().Mode(), mci::mpPlaying);
}

// Catches a member whose copy is unknown ("Null") played without being extracted first.
TEST_F(ArchiveIntakeTest, NullMembersAreExtractedBeforeTheyPlay)
{
    const std::string archive = Zip("songs.zip", {{"x.mid", testing_support::MakeSmf(800, "X")}});
    TPlayEntry member;
    member.Title = "X";
    member.FileName = "x.mid";
    member.FilePath = NullPath;
    member.ArchivePath = archive;
    Queue().Append(member);
    ClearTempFolder();
    core_->StartCurrentSong();
    EXPECT_EQ(Queue().Entry(0).FilePath, TempFolder + "/x.mid");
    EXPECT_TRUE(platform::FileExists(TempFolder + "/x.mid"));
    EXPECT_EQ(Device().FileName(), TempFolder + "/x.mid");
    EXPECT_EQ(Device().Mode(), mci::mpPlaying);
}

// Catches RCP songs taken out of archives while the converter is missing.
TEST_F(ArchiveIntakeTest, RcpSongsNeedTheConverter)
{
    const std::string archive = Zip("rcp.zip", {{"song.rcp", std::string(400, '\0')}});
    const std::string loose = program_.Write("loose.rcp", std::string(400, '\0'));
    core_->OpenFiles({archive, loose});
    EXPECT_EQ(Queue().Count(), 0);
    EXPECT_FALSE(platform::FileExists(TempFolder + "/loose.rcp"));
}

// Catches the preview listing members that are not songs, or losing the archive order.
TEST_F(ArchiveIntakeTest, PreviewListsTheSongMembers)
{
    const std::string archive =
        Zip("mixed.zip", {{"b.mid", "MThd"}, {"readme.txt", "x"}, {"a.rmi", "RIFF"}});
    EXPECT_EQ(core_->ArchiveSongList(archive), "b.mid\r\na.rmi");
    const std::string texts = Zip("texts.zip", {{"readme.txt", "x"}});
    EXPECT_EQ(core_->ArchiveSongList(texts), "対応するMIDIファイルがありません。");
    EXPECT_EQ(core_->ArchiveSongList(program_.Write("plain.mid", "MThd")), std::nullopt);
}

// Catches the intake stopping (or playing the damaged song) when one member of an archive
// fails its CRC: the library's error code is ignored by design, the intact songs arrive
// and play, and the damaged one is simply not there.
TEST_F(ArchiveIntakeTest, DamagedMemberIsLeftOutAndTheRestPlays)
{
    const std::string path = DamagedZip();
    core_->OpenFiles({path});
    const PlayQueue &queue = Queue();
    ASSERT_EQ(queue.Count(), 2);
    EXPECT_EQ(queue.Entry(0).FileName, "a.mid");
    EXPECT_EQ(queue.Entry(1).FileName, "c.mid");
    EXPECT_FALSE(platform::FileExists(TempFolder + "/b.mid"));
    EXPECT_EQ(Device().Mode(), mci::mpPlaying);
}

// Catches a play-list entry for a Shift-JIS member ("hyou", whose second byte is "\")
// that cannot be extracted again under the UTF-8 code page, so it never plays.
TEST_F(ArchiveIntakeTest, ShiftJisNullMemberIsExtractedBeforeItPlays)
{
    const std::string name = "\x95\x5C\x8B\xC8.mid";
    const std::string archive = Zip("sjis.zip", {{name, testing_support::MakeSmf(800, "X")}});
    TPlayEntry member;
    member.Title = "X";
    member.FileName = name;
    member.FilePath = NullPath;
    member.ArchivePath = archive;
    Queue().Append(member);
    ClearTempFolder();
    core_->StartCurrentSong();
    EXPECT_TRUE(platform::FileExists(TempFolder + "/" + name));
    EXPECT_EQ(Device().FileName(), TempFolder + "/" + name);
    EXPECT_EQ(Device().Mode(), mci::mpPlaying);
}

// Catches the damaged bytes of a member played when its play-list entry ("Null") asks for
// it again: nothing arrives, so the song is not there to play, and the next intact one
// still extracts and plays.
TEST_F(ArchiveIntakeTest, DamagedNullMemberNeverPlays)
{
    const std::string archive = DamagedZip();
    for (const char *name : {"b.mid", "c.mid"}) {
        TPlayEntry member;
        member.Title = name;
        member.FileName = name;
        member.FilePath = NullPath;
        member.ArchivePath = archive;
        Queue().Append(member);
    }
    ClearTempFolder();
    EXPECT_ANY_THROW(core_->StartCurrentSong());
    EXPECT_FALSE(platform::FileExists(TempFolder + "/b.mid"));
    EXPECT_NE(Device().Mode(), mci::mpPlaying);

    Queue().SetCurrentIndex(Queue().CurrentIndex() + 1);
    core_->StartCurrentSong();
    EXPECT_EQ(Device().FileName(), TempFolder + "/c.mid");
    EXPECT_EQ(Device().Mode(), mci::mpPlaying);
}
