// Libraries the player loads at run time that are gone when it needs them: each failure
// is reported with its designed message, what was done before it stays, and the player
// plays again once the library is back.
#include "faultfixture.h"

#include "platform/dynlib.h"
#include "platform/files.h"

#include <cstdlib>
#include <filesystem>

using testing_support::ErrorOf;
using testing_support::FaultTest;

namespace {

class MissingLibraryTest : public FaultTest
{
protected:
    // A library folder holding copies of the named files of the built program folder.
    void UseLibraries(const std::vector<std::string> &names)
    {
        for (const std::string &name : names)
            std::filesystem::copy_file(std::string(SONOLUX_DIST_DIR) + "/" + name,
                                       libraries_ / name);
        platform::SetLibrarySearchFolder(libraries_.Path());
    }
    std::string Zip(const std::string &archive, const std::string &member, const std::string &data)
    {
        testing_support::TempFolder staging;
        staging.Write(member, data);
        const std::string path = program_ / archive;
        const std::string command =
            "cd '" + staging.Path() + "' && zip -q -X '" + path + "' '" + member + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return path;
    }

    testing_support::TempFolder libraries_;
};

// Catches a missing loader module not reported as designed, or the player stuck after it.
TEST_F(MissingLibraryTest, LoaderModuleMissingAtIntakeAndStart)
{
    const std::string song = Song("a.mid", 800, "A");
    UseLibraries({});
    ASSERT_FALSE(platform::CanLoadLibrary("sonolux.dll")) << "a copy on the system's loader path";

    EXPECT_EQ(ErrorOf([&] { bar_->WMDropFiles({song}); }), "Unable to Load DLL");
    EXPECT_EQ(view_->Queue().Count(), 0);

    Enqueue(song, "A");
    EXPECT_EQ(ErrorOf([this] { bar_->StartCurrentSong(); }), "Unable to Load DLL");
    EXPECT_FALSE(bar_->Timer1.isActive());
    EXPECT_NE(bar_->MediaPlayer1().Mode(), mci::mpPlaying);

    platform::SetLibrarySearchFolder(SONOLUX_DIST_DIR);
    bar_->StartCurrentSong();
    EXPECT_EQ(bar_->MediaPlayer1().Mode(), mci::mpPlaying);
}

// Catches an intake that loses earlier songs, or reports nothing, when a library has gone.
TEST_F(MissingLibraryTest, ArchiverLibraryGoneBetweenTwoArchivesOfOneIntake)
{
    UseLibraries({"libsonolux.so", "libunzip32.so", "libunlha32.so", "arcworker"});
    LibraryPresent[0] = true; // the start-up probe found the LHA library...
    LibraryPresent[1] = true;
    const std::string first = Zip("first.zip", "a.mid", testing_support::MakeSmf(900, "First"));
    const std::string second = program_.Write("second.lzh", "-lh5- not read at all");
    // ...and it is gone when the intake reaches the second archive. Libraries load when an
    // archive of their kind is first handled, so removing it now is removing it mid-intake.
    std::filesystem::remove(libraries_ / "libunlha32.so");
    view_->Queue().SetLastIndex(0);

    const std::string message = ErrorOf([&] { bar_->WMDropFiles({first, second}); });
    EXPECT_EQ(message, "Lha 形式書庫を扱うには UNLHA32.DLL が 必要です。");
    ASSERT_EQ(view_->Queue().Count(), 1);
    EXPECT_EQ(view_->Queue().Entry(0).ArchivePath, first);
    EXPECT_NE(bar_->MediaPlayer1().Mode(), mci::mpPlaying);

    bar_->StartCurrentSong(); // as a double-click in the play list does
    EXPECT_EQ(bar_->MediaPlayer1().Mode(), mci::mpPlaying);
    EXPECT_EQ(bar_->MediaPlayer1().FileName(), TempFolder + "/a.mid");
}

} // namespace
