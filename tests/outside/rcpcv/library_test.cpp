// The shared library and the tool as built into the program folder.

#include "smf_reader.h"
#include "song_builder.h"

#include "outside/rcpcv/rcpcv.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <dlfcn.h>
#include <fstream>
#include <set>
#include <sys/wait.h>

using namespace rcpcv_test;

namespace {

constexpr char kDist[] = SONOLUX_DIST_DIR;

std::string Contents(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Song()
{
    SongBuilder song;
    song.Title("Library");
    song.Track(0).events = {Note(60, 48, 24, 100)};
    return song.Build();
}

class Library : public ::testing::Test
{
protected:
    void SetUp() override
    {
        handle_ = ::dlopen((std::string(kDist) + "/librcpcv.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << ::dlerror();
        convert_ = reinterpret_cast<decltype(convert_)>(::dlsym(handle_, "rcpcvConvertFile"));
        save_ = reinterpret_cast<decltype(save_)>(::dlsym(handle_, "rcpcvSaveSMF"));
        delete_ = reinterpret_cast<decltype(delete_)>(::dlsym(handle_, "rcpcvDeleteObject"));
        ASSERT_TRUE(convert_ && save_ && delete_);
    }
    void TearDown() override
    {
        if (handle_ != nullptr)
            ::dlclose(handle_);
    }

    void *handle_ = nullptr;
    void *(*convert_)(const char *, int32_t, int32_t, int32_t, int32_t) = nullptr;
    int32_t (*save_)(void *, const char *) = nullptr;
    void (*delete_)(void *) = nullptr;
};

int ExitCode(const std::string &command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

// Catches the three entries missing, misbehaving across the boundary, or a failed save
// reported as success.
TEST_F(Library, ConvertsSavesAndReleasesThroughItsEntries)
{
    testing_support::TempFolder folder;
    const std::string song = folder.Write("tune.r36", Song()); // any name: the magic decides
    void *converted = convert_(song.c_str(), 0, 0, 0, 0);
    ASSERT_NE(converted, nullptr);
    const std::string out = folder / "TEMP.MID";
    EXPECT_EQ(save_(converted, out.c_str()), RCPCV_OK);
    const MidiFile file = ParseSmf(Contents(out));
    EXPECT_EQ(SmfProbeTitle(Contents(out)), "Library");
    EXPECT_EQ(Notes(file.tracks.at(1)), (std::vector<PlayedNote>{{0, 0, 60, 100, 24}}));

    EXPECT_NE(save_(converted, (folder / "no/such/folder.mid").c_str()), RCPCV_OK);
    EXPECT_NE(save_(converted, nullptr), RCPCV_OK);
    EXPECT_NE(save_(nullptr, out.c_str()), RCPCV_OK);
    delete_(converted);
    delete_(nullptr);
}

// Catches a handle given for files that are no songs or cannot be read.
TEST_F(Library, RefusesWhatItCannotConvert)
{
    testing_support::TempFolder folder;
    const std::string text = folder.Write("song.rcp", "just text");
    const std::string cut = folder.Write("cut.rcp", Song().substr(0, 100));
    for (const std::string &path : {text, cut, folder / "missing.rcp", folder.Path()})
        EXPECT_EQ(convert_(path.c_str(), 0, 0, 0, 0), nullptr) << path;
    EXPECT_EQ(convert_(nullptr, 0, 0, 0, 0), nullptr);
}

// Catches internal symbols leaking out of the library.
TEST(LibraryExports, OnlyTheThreeEntriesAreExported)
{
    FILE *pipe = ::popen(
        ("nm -D --defined-only " + std::string(kDist) + "/librcpcv.so 2>/dev/null").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> symbols;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::string text(line);
        text = text.substr(0, text.find_last_not_of("\n") + 1);
        const size_t space = text.find_last_of(' ');
        if (space != std::string::npos && text[space - 1] != 'A') // absolute: version nodes
            symbols.insert(text.substr(space + 1));
    }
    if (::pclose(pipe) != 0 || symbols.empty())
        GTEST_SKIP() << "nm is not available";
    EXPECT_EQ(symbols,
              (std::set<std::string>{"rcpcvConvertFile", "rcpcvSaveSMF", "rcpcvDeleteObject"}));
}

// Catches the command-line tool reporting success for failures, or failing to convert.
TEST(Rcp2Smf, ConvertsAndReportsFailures)
{
    testing_support::TempFolder folder;
    const std::string tool = std::string(kDist) + "/rcp2smf";
    const std::string song = folder.Write("tune.rcp", Song());
    const std::string text = folder.Write("notes.txt", "text");
    const std::string quiet = " 2>/dev/null";
    EXPECT_EQ(ExitCode(tool + quiet), 1);
    EXPECT_EQ(ExitCode(tool + " " + song + " " + (folder / "out.mid") + quiet), 0);
    EXPECT_EQ(SmfProbeTitle(Contents(folder / "out.mid")), "Library");
    EXPECT_EQ(ExitCode(tool + " " + text + " " + (folder / "x.mid") + quiet), 2);
    EXPECT_EQ(ExitCode(tool + " " + song + " " + (folder / "no/x.mid") + quiet), 3);
}
