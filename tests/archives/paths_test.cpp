#include "archives/fullpath.h"
#include "archives/individualinfo.h"
#include "archives/selfextractor.h"
#include "archives/setaside.h"

#include "archives/archiveroptions.h"
#include "platform/files.h"
#include "support/tempfolder.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace archives;
using testing_support::TempFolder;

namespace {

// Runs a test inside its own current folder and puts the old one and PATH back afterwards.
class InFolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        oldFolder_ = std::filesystem::current_path();
        cwd = std::filesystem::canonical(folder.Path()).string();
        std::filesystem::current_path(cwd);
        const char *path = std::getenv("PATH");
        oldPath_ = path != nullptr ? path : "";
    }
    void TearDown() override
    {
        std::filesystem::current_path(oldFolder_);
        ::setenv("PATH", oldPath_.c_str(), 1);
    }

    TempFolder folder;
    std::string cwd;

private:
    std::filesystem::path oldFolder_;
    std::string oldPath_;
};

std::string ListNames(const std::string &folder)
{
    std::string names;
    for (const auto &entry : platform::ListFolder(folder))
        names += entry.name + ";";
    return names;
}

} // namespace

// Catches relative names handed on unexpanded, "." and ".." left in, and links resolved.
TEST_F(InFolderTest, ExpandFileNameMakesFullPathsWithoutResolvingLinks)
{
    EXPECT_EQ(ExpandFileName("a.lzh"), cwd + "/a.lzh");
    EXPECT_EQ(ExpandFileName("./x/../a.lzh"), cwd + "/a.lzh");
    EXPECT_EQ(ExpandFileName("/a//b/./c/../d"), "/a/b/d");
    EXPECT_EQ(ExpandFileName("/../a"), "/a");
    EXPECT_EQ(ExpandFileName("/a/b/"), "/a/b/");
    EXPECT_EQ(ExpandFileName("C:\\M\\a.cab"), "C:\\M\\a.cab");
    EXPECT_EQ(ExpandFileName(""), "");
    EXPECT_EQ(ExpandFileName(UnsetText()), "");

    std::filesystem::create_directories(folder / "real/inner");
    std::filesystem::create_directory_symlink(folder / "real/inner", folder / "link");
    EXPECT_EQ(ExpandFileName("link/../x.zip"), cwd + "/x.zip");
}

// Catches a search that misses the current folder or the search path, or finds folders.
TEST_F(InFolderTest, SearchFilePathLooksInCurrentFolderThenPath)
{
    TempFolder onPath;
    onPath.Write("kmtarsef.exe", "head");
    ::setenv("PATH", ("/nonexistent:" + onPath.Path()).c_str(), 1);
    EXPECT_EQ(SearchFilePath("kmtarsef.exe"), onPath / "kmtarsef.exe");

    folder.Write("kmtarsef.exe", "here");
    EXPECT_EQ(SearchFilePath("kmtarsef.exe"), cwd + "/kmtarsef.exe");

    std::filesystem::create_directory(folder / "sfx16.dat");
    EXPECT_EQ(SearchFilePath("sfx16.dat"), "");
    EXPECT_EQ(SearchFilePath("no-such-head.dat"), "");
}

// Catches an executable written beside the folder (joined with "\") or with the wrong name,
// and an executable that replaces its own archive losing the archive's bytes.
TEST(SelfExtractor, WritesHeadThenArchiveInsideTheFolder)
{
    TempFolder folder;
    EXPECT_EQ(SelfExtractorName("/a/b.zip", ""), "/a/b.EXE");
    EXPECT_EQ(SelfExtractorName("/a/b.zip", "/out"), "/out/b.EXE");
    EXPECT_EQ(SelfExtractorName("/a/b", "/out/"), "/out/b.EXE");

    const std::string head = folder.Write("head.dat", "HEAD");
    const std::string archive = folder.Write("a.zip", "ARCHIVE");
    std::filesystem::create_directory(folder / "out");
    EXPECT_EQ(WriteSelfExtractor(head, archive, folder / "out"), folder / "out/a.EXE");
    EXPECT_EQ(platform::ReadFile(folder / "out/a.EXE"), "HEADARCHIVE");

    const std::string self = folder.Write("s.EXE", "DATA");
    WriteSelfExtractor(head, self, "");
    EXPECT_EQ(platform::ReadFile(self), "HEADDATA");

    EXPECT_THROW(WriteSelfExtractor(head, folder / "missing.zip", ""), std::runtime_error);
    EXPECT_FALSE(platform::FileExists(folder / "missing.EXE"));
}

// Catches a file lost when the operation fails, a moved copy left behind on success, and a
// missing file that makes the guard fail.
TEST(SetAside, PutsTheFileBackUnlessCommitted)
{
    TempFolder folder;
    const std::string path = folder.Write("a.zip", "old");
    {
        SetAside aside(path);
        EXPECT_FALSE(platform::FileExists(path));
    }
    EXPECT_EQ(platform::ReadFile(path), "old");
    EXPECT_EQ(ListNames(folder.Path()), "a.zip;");
    {
        SetAside aside(path);
        aside.Commit();
    }
    EXPECT_EQ(ListNames(folder.Path()), "");
    {
        SetAside aside(folder / "none.zip");
    }
    EXPECT_EQ(ListNames(folder.Path()), "");
}

// Catches a member name read past its field when the library leaves it unterminated.
TEST(MemberFileName, StopsAtTheNulOrTheFieldEnd)
{
    INDIVIDUALINFO info;
    std::memset(&info, 0, sizeof info);
    std::strcpy(info.szFileName, "sub/a.mid");
    EXPECT_EQ(MemberFileName(info), "sub/a.mid");
    std::memset(&info, 'x', sizeof info);
    EXPECT_EQ(MemberFileName(info), std::string(FNAME_MAX32 + 1, 'x'));
}
