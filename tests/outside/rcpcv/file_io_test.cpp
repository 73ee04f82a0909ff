#include "outside/rcpcv/file_io.h"

#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

using namespace rcpcv;

namespace {

std::string Contents(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

size_t EntriesIn(const std::string &folder)
{
    size_t count = 0;
    for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

} // namespace

// Catches a save that leaves half a file, a temporary file, or damages the file it
// was meant to replace when it fails.
TEST(FileIo, WritesAreAtomic)
{
    testing_support::TempFolder folder;
    const std::string target = folder.Write("TEMP.MID", "old");
    ASSERT_TRUE(WriteFileAtomically(target, "new contents"));
    EXPECT_EQ(Contents(target), "new contents");
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);

    std::filesystem::create_directory(folder / "taken");
    folder.Write("taken/keep", "x");
    EXPECT_FALSE(WriteFileAtomically(folder / "taken", "data"));
    EXPECT_FALSE(WriteFileAtomically(folder / "missing/out.mid", "data"));
    EXPECT_EQ(Contents(folder / "taken/keep"), "x");
    EXPECT_EQ(EntriesIn(folder.Path()), 2u);
}

// Catches a read that blocks on a pipe, reads a folder, or swallows any size.
TEST(FileIo, OnlyRegularFilesOfBoundedSizeAreRead)
{
    testing_support::TempFolder folder;
    std::vector<uint8_t> data;
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    EXPECT_EQ(ReadRegularFile(folder / "pipe", 100, data), ReadStatus::kNotRegular);
    EXPECT_EQ(ReadRegularFile(folder.Path(), 100, data), ReadStatus::kNotRegular);
    EXPECT_EQ(ReadRegularFile(folder / "none", 100, data), ReadStatus::kCannotOpen);
    const std::string file = folder.Write("song.rcp", std::string(101, 'x'));
    EXPECT_EQ(ReadRegularFile(file, 100, data), ReadStatus::kTooLarge);
    ASSERT_EQ(ReadRegularFile(file, 101, data), ReadStatus::kOk);
    EXPECT_EQ(data.size(), 101u);
}

// Catches letter case taken into account, or names that lead out of the folder.
TEST(FileIo, FilesAreFoundWhateverTheirLetterCase)
{
    testing_support::TempFolder folder;
    folder.Write("Song.GSD", "a");
    folder.Write("SONG.gsd", "b");
    folder.Write("song.gsd", "c");
    EXPECT_EQ(FindIgnoringCase(folder.Path(), "song.gsd"), folder / "song.gsd");
    EXPECT_EQ(FindIgnoringCase(folder.Path(), "SONG.GSD"), folder / "SONG.gsd");
    EXPECT_EQ(FindIgnoringCase(folder.Path(), "other.gsd"), std::nullopt);
    EXPECT_EQ(FindIgnoringCase(folder / "sub", "../song.gsd"), std::nullopt);
    EXPECT_EQ(FindIgnoringCase(folder.Path(), ".."), std::nullopt);
}
