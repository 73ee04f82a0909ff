#include "platform/tempdir.h"

#include "platform/files.h"
#include "support/tempfolder.h"

#include <cstdlib>
#include <gtest/gtest.h>
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
    }
    void TearDown() override
    {
        Restore("XDG_RUNTIME_DIR", runtime_);
        Restore("TMPDIR", tmpdir_);
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
    std::pair<bool, std::string> runtime_, tmpdir_;
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
    ASSERT_EQ(::symlink(victim.Path().c_str(), own.c_str()), 0);
    const std::string avoided = GetTempPath();
    EXPECT_NE(avoided, own + "/");
    EXPECT_NE(avoided.find(own + "-"), std::string::npos);
    EXPECT_TRUE(S_ISDIR(ModeOf(avoided.substr(0, avoided.size() - 1))));
    EXPECT_EQ(ModeOf(avoided.substr(0, avoided.size() - 1)) & 0777, 0700u);
}
