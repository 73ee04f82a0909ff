#include "loader_module.h"

#include "platform/files.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fcntl.h>
#include <set>
#include <sys/file.h>
#include <unistd.h>

using loader_testing::FromShortString;
using loader_testing::LoaderModule;
using loader_testing::OpenDescriptorCount;
using loader_testing::ShortString;
using loader_testing::SmfWithTrackName;

namespace {

const std::string ModulePath = SONOLUX_DIST_DIR "/libsonolux.so";

// Lines printed by a command, for looking at the built library with binutils.
std::vector<std::string> CommandLines(const std::string &command)
{
    std::vector<std::string> lines;
    FILE *pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return lines;
    std::array<char, 512> line{};
    while (std::fgets(line.data(), line.size(), pipe) != nullptr)
        lines.emplace_back(line.data());
    ::pclose(pipe);
    return lines;
}

} // namespace

// Catches internal functions or runtime symbols exported, and a dependency on the C++
// runtime that would make every load slower.
TEST(LoaderModuleTest, ExportsTwoEntriesAndNeedsOnlyTheCLibrary)
{
    LoaderModule module;
    EXPECT_EQ(module.Library().Path(), ModulePath);

    std::set<std::string> exported;
    for (const std::string &line : CommandLines("nm -D --defined-only '" + ModulePath + "'")) {
        const std::size_t name = line.find_last_of(' ');
        exported.insert(line.substr(name + 1, line.size() - name - 2));
    }
    EXPECT_EQ(exported, (std::set<std::string>{"ComLoad", "MacCheck"}));

    // Sanitizer builds add their own runtimes; nothing else may appear.
    std::vector<std::string> needed;
    for (const std::string &line : CommandLines("readelf -d '" + ModulePath + "'")) {
        const bool sanitizer = line.find("[libasan.") != std::string::npos ||
                               line.find("[libubsan.") != std::string::npos;
        if (line.find("(NEEDED)") != std::string::npos && !sanitizer)
            needed.push_back(line.substr(line.find('[')));
    }
    EXPECT_EQ(needed, std::vector<std::string>{"[libc.so.6]\n"});
}

// Catches a module that reads its input after writing its output (so one buffer cannot
// serve as both), writes the caller's input buffers, or leaves a stale title on failure.
TEST(LoaderModuleTest, CallerBuffersAreRespected)
{
    testing_support::TempFolder folder;
    LoaderModule module;
    const std::string song = folder.Write("song.mid", SmfWithTrackName("Shared Buffer"));

    std::string buffer = ShortString(song);
    module.RawComLoad()(reinterpret_cast<unsigned char *>(buffer.data()),
                        reinterpret_cast<const unsigned char *>(buffer.data()));
    EXPECT_EQ(FromShortString(buffer), "Shared Buffer");

    const std::string wrapped = folder.Write("w.mid", std::string("\0MThd", 5));
    std::string name = ShortString(wrapped);
    std::string where = ShortString(folder.Path());
    const std::string nameBefore = name;
    const std::string whereBefore = where;
    std::string result(256, '\x55');
    ASSERT_EQ(module.RawMacCheck()(reinterpret_cast<unsigned char *>(result.data()),
                                   reinterpret_cast<const unsigned char *>(name.data()),
                                   reinterpret_cast<const unsigned char *>(where.data())),
              0);
    EXPECT_EQ(name, nameBefore);
    EXPECT_EQ(where, whereBefore);
    EXPECT_EQ(FromShortString(result), folder / "TEMP.MID");

    // The output buffer doubles as the folder: the folder was copied before the write.
    ASSERT_EQ(module.RawMacCheck()(reinterpret_cast<unsigned char *>(where.data()),
                                   reinterpret_cast<const unsigned char *>(name.data()),
                                   reinterpret_cast<const unsigned char *>(where.data())),
              0);
    EXPECT_EQ(FromShortString(where), folder / "TEMP.MID");

    // Null pointers are refused, not followed.
    std::string title(256, '\x55');
    EXPECT_EQ(module.RawComLoad()(reinterpret_cast<unsigned char *>(title.data()), nullptr),
              SONOLUX_IO_INVALID_NAME);
    EXPECT_EQ(FromShortString(title), "不正なファイル名です");
    EXPECT_EQ(module.RawComLoad()(nullptr, reinterpret_cast<const unsigned char *>(name.data())),
              SONOLUX_IO_INVALID_NAME);
    EXPECT_EQ(module.RawMacCheck()(reinterpret_cast<unsigned char *>(result.data()),
                                   reinterpret_cast<const unsigned char *>(name.data()), nullptr),
              SONOLUX_IO_INVALID_NAME);
}

// Catches descriptors or locks left behind by any path through either entry.
TEST(LoaderModuleTest, NoDescriptorOutlivesACall)
{
    testing_support::TempFolder folder;
    LoaderModule module;
    const std::string smf = folder.Write("a.mid", SmfWithTrackName("Song"));
    const std::string rcp = folder.Write("a.rcp", std::string(96, 'R'));
    const std::string wrapped = folder.Write("w.mid", std::string("\0hdrMThd", 8));
    const std::string empty = folder.Write("empty.mid", "");
    const std::string held = folder.Write("held.mid", SmfWithTrackName("Held"));
    const std::string missing = folder / "missing.mid";
    const int holder = ::open(held.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);

    const int before = OpenDescriptorCount();
    int failures = 0;
    for (int i = 0; i < 1000; ++i) {
        failures += module.ComLoad(smf).code != 0;
        failures += module.ComLoad(rcp).code != 0;
        failures += module.ComLoad(missing).code == 0;
        failures += module.ComLoad(held).code == 0;
        failures += module.MacCheck(smf, folder.Path()).code != 0;
        failures += module.MacCheck(wrapped, folder.Path()).code != 0;
        failures += module.MacCheck(empty, folder.Path()).code == 0;
        failures += module.MacCheck(missing, folder.Path()).code == 0;
        failures += module.MacCheck(wrapped, folder / "no-folder").code == 0;
        failures += module.MacCheck(held, folder.Path()).code == 0;
    }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(OpenDescriptorCount(), before);
    ::close(holder);

    // Every lock was released with its descriptor.
    for (const std::string &file : {smf, rcp, wrapped, folder / "TEMP.MID"}) {
        const int fd = ::open(file.c_str(), O_RDONLY);
        EXPECT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0) << file;
        ::close(fd);
    }
}

// Catches a module that cannot be unloaded cleanly or keeps state from one load to the next.
TEST(LoaderModuleTest, LoadCallUnloadRepeats)
{
    testing_support::TempFolder folder;
    const std::string song = folder.Write("a.mid", SmfWithTrackName("Again"));
    const int before = OpenDescriptorCount();
    for (int i = 0; i < 200; ++i) {
        LoaderModule module;
        ASSERT_EQ(module.ComLoad(song).text, "Again");
    }
    EXPECT_EQ(OpenDescriptorCount(), before);
}
