#include "app/appstate.h"
#include "app/datafolder.h"

#include "platform/files.h"
#include "platform/userfolders.h"
#include "support/scopedenv.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using Scratch = testing_support::TempFolder;
using testing_support::ScopedEnv;

namespace {

class DataFolderTest : public ::testing::Test
{
protected:
    void TearDown() override { SetProgramFolder(program.Path() + "/"); }
    Scratch program;
    Scratch home;
};

} // namespace

// Catches the user's files of an installed copy going beside the program, or its settings
// folder not being there to save into.
TEST_F(DataFolderTest, InstalledCopyKeepsUserFilesInTheUsersFolders)
{
    SetProgramFolder(program.Path() + "/");
    EXPECT_EQ(ConfigFolder, program.Path() + "/");
    EXPECT_EQ(DataFolder, program.Path() + "/");
    EXPECT_FALSE(platform::DirectoryExists(home / ".config"));

    program.Write(platform::InstalledMarkerName, "");
    const ScopedEnv noConfigHome("XDG_CONFIG_HOME", "");
    const ScopedEnv dataHome("XDG_DATA_HOME", home / "data");
    const ScopedEnv homeFolder("HOME", home.Path());
    SetProgramFolder(program.Path() + "/");
    EXPECT_EQ(ExeFolder, program.Path() + "/");
    EXPECT_EQ(ConfigFolder, home / ".config/sonolux/");
    EXPECT_EQ(DataFolder, home / "data/sonolux/");
    struct stat info
    {
    };
    ASSERT_EQ(::stat(ConfigFolder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_FALSE(platform::DirectoryExists(DataFolder)) << "made only when a design is saved";
}

// Catches a user's design or reset file not replacing the shipped one of the same name, or
// the shipped files no longer being found by an installed copy.
TEST_F(DataFolderTest, UsersOwnFilesComeFirstAndShippedOnesStayFound)
{
    program.Write("skin/default.mbd", "shipped");
    program.Write("skin/classic.mbd", "shipped");
    home.Write("skin/default.mbd", "own");
    ExeFolder = program.Path() + "/";
    DataFolder = home.Path() + "/";

    EXPECT_EQ(FindDataFile(SkinSubfolder, "default.mbd"), home / "skin/default.mbd");
    EXPECT_EQ(FindDataFile(SkinSubfolder, "classic.mbd"), program / "skin/classic.mbd");
    EXPECT_EQ(FindDataFile(FormatSubfolder, "GM.MID"), program / "format/GM.MID");
    EXPECT_EQ(DataFileFolders(SkinSubfolder),
              (std::vector<std::string>{home / "skin/", program / "skin/"}));

    DataFolder = ExeFolder;
    EXPECT_EQ(DataFileFolders(FormatSubfolder), std::vector<std::string>{program / "format/"});
}

// Catches a missing level of the user's folders not being made, or a file in the way being
// taken for a folder.
TEST(MakeFolderPath, MakesEveryLevelAndRefusesAFileInTheWay)
{
    Scratch root;
    MakeFolderPath(root / "a/b/c");
    EXPECT_TRUE(platform::DirectoryExists(root / "a/b/c"));
    MakeFolderPath(root / "a/b/c/"); // already there
    root.Write("file", "");
    EXPECT_THROW(MakeFolderPath(root / "file"), std::runtime_error);
    EXPECT_THROW(MakeFolderPath(root / "file/below"), std::runtime_error);
}
