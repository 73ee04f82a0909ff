#include "platform/userfolders.h"

#include "support/scopedenv.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using platform::ProgramFolderType;
using Scratch = testing_support::TempFolder;
using testing_support::ScopedEnv;

namespace {

// The user id an unprivileged check runs as when the tests run as root.
constexpr uid_t Nobody = 65534;

// ProgramFolderKind(folder) as seen by a user who may not write there: as root (whom
// permission bits do not stop) the check runs in a child process that has become nobody.
ProgramFolderType KindForOrdinaryUser(const std::string &folder)
{
    if (::geteuid() != 0) {
        ::chmod(folder.c_str(), 0555);
        return platform::ProgramFolderKind(folder + "/");
    }
    ::chmod(folder.c_str(), 0755);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
            ::_exit(2);
        ::_exit(platform::ProgramFolderKind(folder + "/") == ProgramFolderType::Installed ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2) << "could not become nobody";
    return WEXITSTATUS(status) == 1 ? ProgramFolderType::Installed : ProgramFolderType::Portable;
}

} // namespace

// Catches an installed copy writing beside the program because it runs as root (who may
// write anywhere), or a portable folder being taken for an installed one.
TEST(ProgramFolderKind, InstalledWhenMarkedOrNotWritable)
{
    Scratch program;
    EXPECT_EQ(platform::ProgramFolderKind(program.Path() + "/"), ProgramFolderType::Portable);
    EXPECT_EQ(KindForOrdinaryUser(program.Path()), ProgramFolderType::Installed);
    ::chmod(program.Path().c_str(), 0700);

    program.Write(platform::InstalledMarkerName, "");
    EXPECT_EQ(platform::ProgramFolderKind(program.Path() + "/"), ProgramFolderType::Installed);
}

// Catches the XDG rules being misread: unset, empty and relative variables fall back to
// the home folder, absolute ones are taken as they are.
TEST(InstalledUserFolders, FollowTheXdgBaseDirectoryRules)
{
    platform::UserFolders folders = platform::InstalledUserFolders("/home/ann", nullptr, "");
    EXPECT_EQ(folders.config, "/home/ann/.config/sonolux/");
    EXPECT_EQ(folders.data, "/home/ann/.local/share/sonolux/");

    folders = platform::InstalledUserFolders("/home/ann/", "/cfg", "relative/data");
    EXPECT_EQ(folders.config, "/cfg/sonolux/");
    EXPECT_EQ(folders.data, "/home/ann/.local/share/sonolux/");

    folders = platform::InstalledUserFolders(nullptr, "/cfg/", "/data");
    EXPECT_EQ(folders.config, "/cfg/sonolux/");
    EXPECT_EQ(folders.data, "/data/sonolux/");

    EXPECT_THROW(platform::InstalledUserFolders(nullptr, nullptr, "/data"), std::runtime_error);
    EXPECT_THROW(platform::InstalledUserFolders("relative", "/cfg", nullptr), std::runtime_error);
}

// Catches a tool reading a portable copy's files from the user's folders (or an installed
// copy's from beside the program), or the lookup creating folders it only reads from.
TEST(UserFoldersFor, PortableKeepsFilesBesideTheProgramInstalledInTheUsersFolders)
{
    Scratch program;
    Scratch home;
    const ScopedEnv configHome("XDG_CONFIG_HOME", home / "cfg");
    const ScopedEnv dataHome("XDG_DATA_HOME", "");
    const ScopedEnv homeFolder("HOME", home.Path());

    platform::UserFolders folders = platform::UserFoldersFor(program.Path() + "/");
    EXPECT_EQ(folders.config, program.Path() + "/");
    EXPECT_EQ(folders.data, program.Path() + "/");

    program.Write(platform::InstalledMarkerName, "");
    folders = platform::UserFoldersFor(program.Path() + "/");
    EXPECT_EQ(folders.config, home / "cfg/sonolux/");
    EXPECT_EQ(folders.data, home / ".local/share/sonolux/");
    struct stat info
    {
    };
    EXPECT_NE(::stat((home / "cfg").c_str(), &info), 0) << "a lookup made a folder";
}
