#include "platform/files.h"

#include "support/tempfolder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;
using testing_support::TempFolder;

// Catches a dot in a folder name being taken for the file's extension.
TEST(FileNames, ExtensionComesFromTheNamePartOnly)
{
    EXPECT_EQ(ExtractFileExt("/music/old.songs/tune"), "");
    EXPECT_EQ(ExtractFileExt("/music/tune.MID"), ".MID");
    EXPECT_EQ(ExtractFileExt("/music/a.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileName("/music/tune.mid"), "tune.mid");
    EXPECT_EQ(ExtractFileDir("/music/tune.mid"), "/music");
    EXPECT_EQ(ExtractFileDir("/tune.mid"), "/");
    EXPECT_EQ(ChangeFileExt("/a.b/night.txt", ".mbd"), "/a.b/night.mbd");
    EXPECT_EQ(ChangeFileExt("/a.b/night", ".mbd"), "/a.b/night.mbd");
    EXPECT_EQ(IncludeTrailingDelimiter("/"), "/");
    EXPECT_EQ(IncludeTrailingDelimiter("/opt/x"), "/opt/x/");
}

// Catches listings that lose byte-exact names, include "." or "..", or match with case.
TEST(FileNames, ListFolderKeepsBytesAndMatchesMasks)
{
    TempFolder dir;
    dir.Write("GM.MID", "x");
    dir.Write("\x83\x65\x83\x58\x83\x67.mid", "x"); // a Shift-JIS name, not valid UTF-8
    dir.Write("notes.txt", "x");
    ASSERT_EQ(::mkdir((dir / "sub.mid").c_str(), 0700), 0);

    std::vector<std::string> names;
    for (const FolderEntry &e : ListFolder(dir.Path(), "*.mid"))
        names.push_back(e.name + (e.isDirectory ? "/" : ""));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"GM.MID", "sub.mid/", "\x83\x65\x83\x58\x83\x67.mid"}));
    EXPECT_EQ(ListFolder(dir / "missing").size(), 0u);
}

// Catches a write that leaves a half file, loses permissions, or replaces a link by a file.
TEST(AtomicWrite, ReplacesWholeFilesAndKeepsWhatItReplaced)
{
    TempFolder dir;
    const std::string target = dir.Write("Sonolux.ini", "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    WriteFileAtomic(target, "new contents");
    EXPECT_EQ(ReadFile(target), "new contents");
    struct stat st
    {
    };
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    ASSERT_EQ(::symlink(target.c_str(), (dir / "link.ini").c_str()), 0);
    WriteFileAtomic(dir / "link.ini", "through the link");
    EXPECT_EQ(ReadFile(target), "through the link");
    struct stat link
    {
    };
    ASSERT_EQ(::lstat((dir / "link.ini").c_str(), &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode));
    EXPECT_EQ(ListFolder(dir.Path()).size(), 2u) << "no temporary file may be left behind";
}

// Catches a failed write that damages the old file or leaves a temporary file.
TEST(AtomicWrite, FailureLeavesTheOldFileWhole)
{
    if (::geteuid() == 0) {
        // root ignores folder permissions; a missing folder fails for everyone.
        EXPECT_THROW(WriteFileAtomic("/nonexistent-folder/x.ini", "data"), std::runtime_error);
        return;
    }
    TempFolder dir;
    const std::string target = dir.Write("Sonolux.lst", "old list");
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0500), 0);
    EXPECT_THROW(WriteFileAtomic(target, "new list"), std::runtime_error);
    EXPECT_EQ(ReadFile(target), "old list");
}

// Catches a bounded read that refuses a file of exactly its bound, or reads on past it.
TEST(BoundedRead, FilesUpToTheBoundAreReadLongerOnesRefused)
{
    TempFolder dir;
    const std::string data(200000, 'x');
    const std::string path = dir.Write("data", data);
    EXPECT_EQ(ReadFile(path, data.size()), data);
    EXPECT_THROW(ReadFile(path, data.size() - 1), FileTooLargeError);
    EXPECT_EQ(ReadFile(dir.Write("empty", ""), 0), "");
}

// Catches a whole-file read that waits forever on a pipe, or reads a device without end,
// where a file was expected.
TEST(BoundedRead, PipesDevicesAndFoldersAreNotFiles)
{
    TempFolder dir;
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    EXPECT_THROW(ReadFile(dir / "pipe"), std::runtime_error);
    EXPECT_THROW(ReadFile("/dev/zero"), std::runtime_error);
    EXPECT_THROW(ReadFile(dir.Path()), std::runtime_error);
}

TEST(ProgramFolder, EndsInOneSlash)
{
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_NE(folder.substr(folder.size() < 2 ? 0 : folder.size() - 2), "//");
    EXPECT_TRUE(DirectoryExists(folder));
}
