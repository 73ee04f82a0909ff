// Writing members into the target folder and nowhere else.

#include "archivertesting.h"
#include "outside/arcengine/folderwriter.h"
#include "outside/include/archiver_api.h"
#include "support/tempfolder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace arc;
namespace fs = std::filesystem;
using archiver_testing::ReadFile;
using archiver_testing::TreeOf;

// Catches a member visible under its name before it is complete, or a temporary file kept.
TEST(ArchiverFolderWriter, MembersAppearOnlyWhenComplete)
{
    testing_support::TempFolder temp;
    FolderWriter writer;
    ASSERT_EQ(writer.Open(temp / "new/deeper"), 0);
    int code = 0;
    {
        auto file = writer.Prepare({"sub", "song.mid"}, code);
        ASSERT_TRUE(file) << code;
        ASSERT_EQ(file->Create(), 0);
        ASSERT_EQ(file->Write("MThd", 4, 0), 0);
        EXPECT_FALSE(fs::exists(file->FinalPath()));
        EXPECT_TRUE(fs::exists(file->TempPath()));
        ASSERT_EQ(file->Commit(4, 1715860800), 0);
        EXPECT_EQ(ReadFile(temp / "new/deeper/sub/song.mid"), "MThd");
        EXPECT_EQ(fs::last_write_time(file->FinalPath()).time_since_epoch().count() != 0, true);
    }
    {
        auto file = writer.Prepare({"half.mid"}, code);
        ASSERT_TRUE(file);
        ASSERT_EQ(file->Create(), 0);
        ASSERT_EQ(file->Write("MT", 2, 0), 0);
    } // dropped before Commit
    EXPECT_EQ(TreeOf(temp / "new/deeper"), (std::vector<std::string>{"sub/", "sub/song.mid"}));
}

// Catches writes that follow links planted in the target folder to places outside it.
TEST(ArchiverFolderWriter, PlantedLinksAreNotFollowed)
{
    testing_support::TempFolder temp;
    const std::string outside = temp.Write("outside/victim.mid", "keep");
    fs::create_directories(temp / "target");
    fs::create_directory_symlink(temp / "outside", temp / "target/sub");
    fs::create_symlink(outside, temp / "target/victim.mid");

    FolderWriter writer;
    ASSERT_EQ(writer.Open(temp / "target"), 0);
    int code = 0;
    EXPECT_FALSE(writer.Prepare({"sub", "evil.mid"}, code));
    EXPECT_EQ(code, ERROR_MAKEDIRECTORY);
    EXPECT_NE(writer.MakeFolder({"sub", "deeper"}), 0);

    auto file = writer.Prepare({"victim.mid"}, code);
    ASSERT_TRUE(file);
    ASSERT_EQ(file->Create(), 0);
    ASSERT_EQ(file->Write("new", 3, 0), 0);
    ASSERT_EQ(file->Commit(3, 0), 0);
    EXPECT_FALSE(fs::is_symlink(temp / "target/victim.mid"));
    EXPECT_EQ(ReadFile(temp / "target/victim.mid"), "new");
    EXPECT_EQ(ReadFile(outside), "keep");
    EXPECT_EQ(TreeOf(temp / "outside"), std::vector<std::string>{"victim.mid"});
}

// Catches a sparse member cut short at its last written byte.
TEST(ArchiverFolderWriter, SparseMembersKeepTheirLength)
{
    testing_support::TempFolder temp;
    FolderWriter writer;
    ASSERT_EQ(writer.Open(temp.Path()), 0);
    int code = 0;
    auto file = writer.Prepare({"sparse.bin"}, code);
    ASSERT_TRUE(file);
    ASSERT_EQ(file->Create(), 0);
    ASSERT_EQ(file->Write("abc", 3, 10), 0);
    ASSERT_EQ(file->Commit(100, 0), 0);
    const std::string data = ReadFile(temp / "sparse.bin");
    ASSERT_EQ(data.size(), 100u);
    EXPECT_EQ(data.substr(10, 3), "abc");
    EXPECT_EQ(data[0], '\0');
}
