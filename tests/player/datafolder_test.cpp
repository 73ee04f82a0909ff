#include "player/appstate.h"
#include "player/datafolder.h"

#include "platform/files.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using Scratch = testing_support::TempFolder;

namespace {

// The user id an unprivileged check runs as when the tests run as root.
constexpr uid_t Nobody = 65534;

// ProgramFolderKind(folder) as seen by a user who may not write there: as root (whom
// permission bits do not stop) the check runs in a child process that has become nobody.
TProgramFolderKind KindForOrdinaryUser(const std::string &folder)
{
    if (::geteuid() != 0) {
        ::chmod(folder.c_str(), 0555);
        return ProgramFolderKind(folder + "/");
    }
    ::chmod(folder.c_str(), 0755);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
            ::_exit(2);
        ::_exit(ProgramFolderKind(folder + "/") == TProgramFolderKind::Installed ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2) << "could not become nobody";
    return WEXITSTATUS(status) == 1 ? TProgramFolderKind::Installed : TProgramFolderKind::Portable;
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const std::string &value)
        : name_(name)
    {
        if (const char *old = std::getenv(name))
            old_ = old;
        had_ = std::getenv(name) != nullptr;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (had_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char *name_;
    std::string old_;
    bool had_ = false;
};

class DataFolderTest : public ::testing::Test
{
protected:
    void TearDown() override { SetProgramFolder(program.Path() + "/"); }
    Scratch program;
    Scratch home;
};

} // namespace

// Catches an installed copy writing beside the program because it runs as root (who may
// write anywhere), or a portable folder being taken for an installed one.
TEST_F(DataFolderTest, InstalledWhenMarkedOrNotWritable)
{
    EXPECT_EQ(ProgramFolderKind(program.Path() + "/"), TProgramFolderKind::Portable);
    EXPECT_EQ(KindForOrdinaryUser(program.Path()), TProgramFolderKind::Installed);
    ::chmod(program.Path().c_str(), 0700);

    program.Write(InstalledMarkerName, "");
    EXPECT_EQ(ProgramFolderKind(program.Path() + "/"), TProgramFolderKind::Installed);
}

// Catches the XDG rules being misread: unset, empty and relative variables fall back to
// the home folder, absolute ones are taken as they are.
TEST(InstalledUserFolders, FollowTheXdgBaseDirectoryRules)
{
    TUserFolders folders = InstalledUserFolders("/home/ann", nullptr, "");
    EXPECT_EQ(folders.config, "/home/ann/.config/sonolux/");
    EXPECT_EQ(folders.data, "/home/ann/.local/share/sonolux/");

    folders = InstalledUserFolders("/home/ann/", "/cfg", "relative/data");
    EXPECT_EQ(folders.config, "/cfg/sonolux/");
    EXPECT_EQ(folders.data, "/home/ann/.local/share/sonolux/");

    folders = InstalledUserFolders(nullptr, "/cfg/", "/data");
    EXPECT_EQ(folders.config, "/cfg/sonolux/");
    EXPECT_EQ(folders.data, "/data/sonolux/");

    EXPECT_THROW(InstalledUserFolders(nullptr, nullptr, "/data"), std::runtime_error);
    EXPECT_THROW(InstalledUserFolders("relative", "/cfg", nullptr), std::runtime_error);
}

// Catches the user's files of an installed copy going beside the program, or its settings
// folder not being there to save into.
TEST_F(DataFolderTest, InstalledCopyKeepsUserFilesInTheUsersFolders)
{
    SetProgramFolder(program.Path() + "/");
    EXPECT_EQ(ConfigFolder, program.Path() + "/");
    EXPECT_EQ(DataFolder, program.Path() + "/");
    EXPECT_FALSE(platform::DirectoryExists(home / ".config"));

    program.Write(InstalledMarkerName, "");
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
