// Inputs far beyond what a user's files hold: the player plays them or refuses them with a
// message, and its memory stays bounded. (Times are printed by bench/resources, never
// checked here.)
#include "faultfixture.h"

#include "app/settingsfile.h"
#include "core/listfile.h"
#include "support/bigfiles.h"

#include "platform/files.h"
#include "platform/mci/smfparser.h"

#include <filesystem>

using testing_support::ErrorOf;
using testing_support::FaultTest;
using testing_support::PeakResidentBytes;

namespace {

constexpr std::uint64_t MiB = 1u << 20;
constexpr std::uint64_t TwoGiB = std::uint64_t{2} << 30;

class ResourceTest : public FaultTest
{
protected:
    void SetUp() override
    {
        FaultTest::SetUp();
        testing_support::ResetPeakResident();
        baseline_ = PeakResidentBytes();
    }
    // How much the peak resident memory rose since SetUp.
    std::uint64_t PeakGrowth() const { return PeakResidentBytes() - baseline_; }

    std::uint64_t baseline_ = 0;
};

// Catches millions of events unplayable or costing memory out of proportion, or unbounded.
TEST_F(ResourceTest, SongsWithMillionsOfEventsPlayOrAreRefused)
{
    const std::string big = program_.Write("big.mid", testing_support::MakeManyEventsSmf(4000000));
    Enqueue(big, "Big");
    bar_->StartCurrentSong();
    EXPECT_EQ(bar_->MediaPlayer1().Mode(), mci::mpPlaying);
    EXPECT_EQ(bar_->MediaPlayer1().Length(), 4000000);
    Advance(2000000);
    bar_->Timer1Timer();
    EXPECT_EQ(bar_->MediaPlayer1().Position(), 2000000);
    EXPECT_LT(PeakGrowth(), 768 * MiB); // 4 million events of 16 bytes, sorted and copied

    view_->Queue().Clear();
    const std::size_t tooMany = mci::kMaxSongEvents + 1;
    Enqueue(program_.Write("huge.mid", testing_support::MakeManyEventsSmf(tooMany)), "Huge");
    EXPECT_EQ(ErrorOf([this] { bar_->StartCurrentSong(); }),
              "\"" + program_ / "huge.mid" + "\" has too many events to play (more than " +
                  std::to_string(mci::kMaxSongEvents) + ").");
}

// Catches an archive of 100,000 members refused, its song lost, or memory out of proportion.
TEST_F(ResourceTest, ArchiveOfOneHundredThousandMembers)
{
    LibraryPresent[1] = true; // the zip library
    const std::string archive = program_ / "many.zip";
    testing_support::WriteManyMembersZip(archive, 100000, "last.mid",
                                         testing_support::MakeSmf(1500, "Last"));
    bar_->ExtractArchive(archive, std::string(), TMidi_main::PreviewMode);
    EXPECT_EQ(bar_->PreviewText(), "last.mid");

    bar_->WMDropFiles({archive});
    ASSERT_EQ(view_->Queue().Count(), 1);
    EXPECT_EQ(view_->Queue().Entry(0).Title, "Last");
    EXPECT_EQ(bar_->MediaPlayer1().Mode(), mci::mpPlaying);
    EXPECT_EQ(testing_support::NamesIn(TempFolder), std::vector<std::string>{"last.mid"});
    EXPECT_LT(PeakGrowth(), 256 * MiB);
}

// Catches a list of 100,000 entries that fails to load, save or play, or costs memory.
TEST_F(ResourceTest, ListFileOfOneHundredThousandEntries)
{
    const std::string song = Song("song.mid", 800, "Song");
    std::vector<TPlayEntry> entries(100000);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].Title = "Title " + std::to_string(i);
        entries[i].FileName = "song" + std::to_string(i) + ".mid";
        entries[i].FilePath = song;
    }
    const std::string data = listfile::FormatEntries(entries);
    const std::string path = program_.Write("Sonolux.lst", data);

    view_->LoadList();
    ASSERT_EQ(view_->Queue().Count(), 100000);
    EXPECT_EQ(view_->Queue().LastIndex(), 99999);
    view_->Queue().SetCurrentIndex(99999);
    bar_->StartCurrentSong();
    EXPECT_EQ(bar_->MediaPlayer1().Mode(), mci::mpPlaying);

    std::filesystem::remove(path);
    view_->SaveList();
    EXPECT_EQ(platform::ReadFile(path), data);
    EXPECT_LT(PeakGrowth(), 256 * MiB);
}

// Catches a 2 GB "song" read or copied whole into the temporary folder instead of refused.
TEST_F(ResourceTest, TwoGigabyteSongsAreRefusedWithoutBeingRead)
{
    const std::string wrapped = program_ / "wrapped.mid";
    testing_support::WriteSparseFile(wrapped, TwoGiB, std::string("\0MThd", 5));
    const std::string plain = program_ / "plain.mid";
    testing_support::WriteSparseFile(plain, TwoGiB, "MThd");
    for (const std::string &path : {wrapped, plain}) {
        // The title probe reads only the head; the start refuses the file.
        EXPECT_EQ(ErrorOf([&] { bar_->WMDropFiles({path}); }),
                  "\"" + path + "\" is too large for a MIDI file (more than " +
                      std::to_string(mci::kMaxSongBytes >> 20) + " MB).");
        EXPECT_EQ(view_->Queue().Count(), 1);
        EXPECT_FALSE(platform::FileExists(TempFolder + "/TEMP.MID"));
    }
    EXPECT_LT(PeakGrowth(), 64 * MiB);
}

// Catches a 2 GB list or settings file read into memory, or replaced although unread.
TEST_F(ResourceTest, TwoGigabyteListAndSettingsFilesAreRefused)
{
    const std::string list = program_ / "Sonolux.lst";
    testing_support::WriteSparseFile(list, TwoGiB, "Title\r\nsong.mid\r\n");
    const std::string message = ErrorOf([this] { view_->LoadList(); });
    EXPECT_NE(message.find("is too large for a list file"), std::string::npos) << message;

    const std::string settings = program_ / "Sonolux.ini";
    testing_support::WriteSparseFile(settings, TwoGiB, "[Main]\r\nX=77\r\n");
    EXPECT_EQ(ReadSettingsFile(settings).barPosition, QPoint(0, 0)); // the defaults
    const std::string refused = ErrorOf([&] { WriteSettingsFile(settings, StoredSettings()); });
    EXPECT_NE(refused.find("is too large for a settings file"), std::string::npos) << refused;
    EXPECT_EQ(std::filesystem::file_size(settings), TwoGiB);
    EXPECT_LT(PeakGrowth(), 64 * MiB);
}

// Catches a small list file of empty lines expanding into millions of entries in memory.
TEST_F(ResourceTest, ListFileOfMillionsOfEmptyEntriesIsRefused)
{
    program_.Write("Sonolux.lst", std::string((listfile::MaxListEntries + 1) * 4, '\r'));
    EXPECT_EQ(ErrorOf([this] { view_->LoadList(); }),
              "The list file " + program_ / "Sonolux.lst" + " holds more than " +
                  std::to_string(listfile::MaxListEntries) + " entries.");
    EXPECT_EQ(view_->Queue().Count(), 0);
    EXPECT_LT(PeakGrowth(), 64 * MiB);
}

} // namespace
