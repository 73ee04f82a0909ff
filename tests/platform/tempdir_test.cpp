#include "platform/tempdir.h"

#include "platform/files.h"
#include "support/tempfolder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;
using testing_support::TempFolder;

namespace {

// Runs a test with XDG_RUNTIME_DIR and TMPDIR set as given, restoring both afterwards.
class TempPathTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Save("XDG_RUNTIME_DIR", runtime_);
        Save("TMPDIR", tmpdir_);
        Save("XDG_CACHE_HOME", cache_);
    }
    void TearDown() override
    {
        Restore("XDG_RUNTIME_DIR", runtime_);
        Restore("TMPDIR", tmpdir_);
        Restore("XDG_CACHE_HOME", cache_);
    }

private:
    static void Save(const char *name, std::pair<bool, std::string> &slot)
    {
        const char *v = std::getenv(name);
        slot = {v != nullptr, v != nullptr ? v : ""};
    }
    static void Restore(const char *name, const std::pair<bool, std::string> &slot)
    {
        if (slot.first)
            setenv(name, slot.second.c_str(), 1);
        else
            unsetenv(name);
    }
    std::pair<bool, std::string> runtime_, tmpdir_, cache_;
};

mode_t ModeOf(const std::string &path)
{
    struct stat st
    {
    };
    ::lstat(path.c_str(), &st);
    return st.st_mode;
}

} // namespace

// Catches a runtime folder that is used although others can enter it.
TEST_F(TempPathTest, RuntimeFolderIsUsedOnlyWhenPrivate)
{
    TempFolder base;
    ASSERT_EQ(::chmod(base.Path().c_str(), 0700), 0);
    setenv("XDG_RUNTIME_DIR", base.Path().c_str(), 1);
    EXPECT_EQ(GetTempPath(), base.Path() + "/");

    ASSERT_EQ(::chmod(base.Path().c_str(), 0755), 0);
    setenv("TMPDIR", base.Path().c_str(), 1);
    EXPECT_EQ(GetTempPath(), base.Path() + "/sonolux-" + std::to_string(::getuid()) + "/");
}

// Catches a temporary folder that another user or a symlink could hijack.
TEST_F(TempPathTest, OwnFolderIsPrivateAndNeverALink)
{
    unsetenv("XDG_RUNTIME_DIR");
    TempFolder base;
    setenv("TMPDIR", base.Path().c_str(), 1);
    const std::string own = base / ("sonolux-" + std::to_string(::getuid()));

    const std::string first = GetTempPath();
    EXPECT_EQ(first, own + "/");
    EXPECT_EQ(ModeOf(own) & 0777, 0700u);

    ASSERT_EQ(::chmod(own.c_str(), 0777), 0);
    EXPECT_EQ(GetTempPath(), own + "/");
    EXPECT_EQ(ModeOf(own) & 0777, 0700u) << "a widened folder is narrowed again";

    ASSERT_EQ(::rmdir(own.c_str()), 0);
    TempFolder victim;
    TempFolder cache;
    setenv("XDG_CACHE_HOME", cache.Path().c_str(), 1);
    ASSERT_EQ(::symlink(victim.Path().c_str(), own.c_str()), 0);
    const std::string fallback = cache / ("sonolux-" + std::to_string(::getuid()));
    EXPECT_EQ(GetTempPath(), fallback + "/");
    EXPECT_TRUE(S_ISDIR(ModeOf(fallback)));
    EXPECT_EQ(ModeOf(fallback) & 0777, 0700u);
    EXPECT_TRUE(ListFolder(victim.Path()).empty()) << "the link is never followed";
}

// Catches a fallback folder made afresh at each call (every copy then looks at a socket of
// its own, and a folder is left per call), and one used although others could enter it or
// it belongs to someone else.
TEST_F(TempPathTest, FallbackIsFoundAgainAndOnlyWhilePrivate)
{
    unsetenv("XDG_RUNTIME_DIR");
    TempFolder base;
    TempFolder cache;
    setenv("TMPDIR", base.Path().c_str(), 1);
    setenv("XDG_CACHE_HOME", cache.Path().c_str(), 1);
    const std::string name = "sonolux-" + std::to_string(::getuid());
    base.Write(name, ""); // the usual name is taken by a file

    const std::string fallback = cache / name;
    EXPECT_EQ(GetTempPath(), fallback + "/");
    EXPECT_EQ(GetTempPath(), fallback + "/");
    EXPECT_EQ(ListFolder(base.Path()).size(), 1u) << "nothing is left beside the usual name";
    EXPECT_EQ(ListFolder(cache.Path()).size(), 1u);

    ASSERT_EQ(::chmod(fallback.c_str(), 0750), 0);
    EXPECT_THROW(GetTempPath(), std::runtime_error);
    EXPECT_EQ(ModeOf(fallback) & 0777, 0750u) << "a folder others could enter is not adopted";

    ASSERT_EQ(::chmod(fallback.c_str(), 0700), 0);
    ASSERT_EQ(::rename(fallback.c_str(), (cache / "real").c_str()), 0);
    ASSERT_EQ(::symlink((cache / "real").c_str(), fallback.c_str()), 0);
    EXPECT_THROW(GetTempPath(), std::runtime_error) << "a link in its place is refused";

    // Another user's folders: every folder this process makes belongs to someone else
    // for a uid that is not its own.
    const uid_t other = ::getuid() + 1;
    base.Write("sonolux-" + std::to_string(other), "");
    EXPECT_THROW(GetTempPath(other), std::runtime_error);
    EXPECT_EQ(CheckFolder(cache / "real", other), FolderTrust::Foreign);
}

// Catches a folder judged through a link, or a missing one taken for usable.
TEST(FolderTrustTest, EachKindIsToldApart)
{
    TempFolder root;
    const uid_t me = ::getuid();
    ASSERT_EQ(::chmod(root.Path().c_str(), 0700), 0);
    EXPECT_EQ(CheckFolder(root.Path(), me), FolderTrust::Private);
    EXPECT_EQ(CheckFolder(root / "none", me), FolderTrust::Missing);
    EXPECT_EQ(CheckFolder(root.Write("file", ""), me), FolderTrust::NotFolder);
    ASSERT_EQ(::symlink(root.Path().c_str(), (root / "link").c_str()), 0);
    EXPECT_EQ(CheckFolder(root / "link", me), FolderTrust::NotFolder);
    ASSERT_EQ(::chmod(root.Path().c_str(), 0701), 0);
    EXPECT_EQ(CheckFolder(root.Path(), me), FolderTrust::TooOpen);
}
