// Song intake: drops and chosen files becoming entries, titles through the loader module,
// and the failures of the run-time bindings.
#include "corefixture.h"

#include "platform/dynlib.h"

#include <sys/stat.h>

using testing_support::CoreTest;

namespace {

class IntakeTest : public CoreTest
{
protected:
    std::vector<std::string> Titles()
    {
        std::vector<std::string> titles;
        for (const TPlayEntry &entry : Queue().Entries())
            titles.push_back(entry.Title);
        return titles;
    }
};

} // namespace

// Catches files taken in out of order, titles not read, or the first song not started.
TEST_F(IntakeTest, DroppedSongsReplaceTheListInOrderAndPlay)
{
    Enqueue(Song("old.mid", 1000));
    const std::string a = Song("a.mid", 1000, "First");
    const std::string b = Song("B.MID", 1000, "Second");
    const std::string c = program_.Write("c.rmi", "RIFF....RMIDdata");
    core_->OpenFiles({b, a, c});
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Second", "First", ""}));
    EXPECT_EQ(Queue().Entry(0).FileName, "B.MID");
    EXPECT_EQ(Queue().Entry(0).FilePath, b);
    EXPECT_EQ(Queue().Entry(0).ArchivePath, "");
    EXPECT_EQ(Queue().CurrentIndex(), 0);
    EXPECT_EQ(Queue().LastIndex(), 2);
    EXPECT_EQ(Device().FileName(), b);
    EXPECT_EQ(Device().Mode(), mci::mpPlaying);
}

// Catches folders or unsupported files being taken in, and the view not told.
TEST_F(IntakeTest, NothingUsableIsReportedWithTheIdleIcon)
{
    ::mkdir((program_ / "folder").c_str(), 0700);
    const std::string rcp = program_.Write("song.rcp", std::string(64, 'x'));
    core_->OpenFiles({program_ / "folder", rcp});
    EXPECT_EQ(Queue().Count(), 0);
    EXPECT_EQ(noSongs_, 1);
    EXPECT_EQ(core_->ShownIcon(), StateIcon::Idle);
    EXPECT_EQ(Queue().LastIndex(), 0);
    EXPECT_FALSE(core_->IsLoaded());
}

// Catches a failed title probe leaving a half-filled entry or a play position past the list.
TEST_F(IntakeTest, FailedProbeLeavesNoEntryBehind)
{
    const std::string good = Song("good.mid", 1000, "Good");
    Queue().SetCurrentIndex(5);
    try {
        core_->OpenFiles({good, program_ / "gone.mid"});
        FAIL() << "no error";
    } catch (const std::runtime_error &error) {
        EXPECT_NE(std::string(error.what()).find("gone.mid"), std::string::npos) << error.what();
    }
    ASSERT_EQ(Queue().Count(), 1);
    EXPECT_EQ(Queue().Entry(0).Title, "Good");
    EXPECT_EQ(Queue().CurrentIndex(), 0);
}

// Catches a path longer than a short string being cut into the name of another file.
TEST_F(IntakeTest, OverlongPathsAreRefused)
{
    const std::string deep =
        program_.Write(std::string(120, 'd') + "/" + std::string(140, 'e') + ".mid",
                       testing_support::MakeSmf(100, "Deep"));
    EXPECT_GT(deep.size(), 255u);
    EXPECT_THROW(core_->OpenFiles({deep}), std::runtime_error);
    EXPECT_EQ(Queue().Count(), 0);
}

// Catches a missing loader module not reported as the designed error.
TEST_F(IntakeTest, MissingLoaderModuleIsReported)
{
    testing_support::TempFolder empty;
    platform::SetLibrarySearchFolder(empty.Path());
    ASSERT_FALSE(platform::CanLoadLibrary("sonolux.dll")) << "a copy on the system's loader path";
    try {
        ReadTitle(Song("a.mid", 100));
        FAIL() << "no error";
    } catch (const EDLLoadError &error) {
        EXPECT_STREQ(error.what(), "Unable to Load DLL");
    }
    EXPECT_THROW(CheckHeader(program_ / "a.mid"), EDLLoadError);
    EXPECT_THROW(ConvertRcp(program_ / "a.rcp"), EDLLoadError);
}

// Catches a wrapped file played under its own name instead of the rewritten copy.
TEST_F(IntakeTest, WrappedFilesPlayFromTheTemporaryCopy)
{
    const std::string wrapped =
        program_.Write("wrapped.mid", std::string(128, '\0') + testing_support::MakeSmf(500, "W"));
    Enqueue(wrapped);
    core_->StartCurrentSong();
    EXPECT_EQ(Device().FileName(), TempFolder + "/TEMP.MID");
    EXPECT_EQ(Device().Mode(), mci::mpPlaying);
}
