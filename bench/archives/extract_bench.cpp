// Extracts a 200-member archive (ZIP, TAR, CAB, LZH -lh5-) and a large one (LZH -lh5- and
// ZIP deflate, 16 members of 2 MB) with the archiver libraries, the way the player does,
// and with `bsdtar -xf` on the same archive, and prints the median times and their ratio.
// The target is a ratio within 1.25. The LZH archives are made with jlha (Debian package
// jlha-utils); without it they are left out.
//
// Usage: bench_archives [runs]   (default 21 runs of each)

#include "outside/include/archiver_api.h"
#include "platform/dynlib.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int memberCount = 200;
constexpr int largeMemberCount = 16;
constexpr std::size_t largeMemberSize = 2u << 20;

// MIDI-like members: a header, then event runs that compress about as real songs do.
// Sizes are minSize plus up to spread bytes.
void MakeMembers(const fs::path &folder, int count, std::size_t minSize, std::size_t spread)
{
    std::mt19937 random(20240516);
    fs::create_directories(folder);
    for (int i = 0; i < count; ++i) {
        std::string data = "MThd";
        data.append("\0\0\0\6\0\1\0\2\1\xE0", 10);
        const std::size_t size = minSize + random() % spread;
        while (data.size() < size) {
            const unsigned char note = static_cast<unsigned char>(36 + random() % 48);
            const char event[] = {static_cast<char>(random() % 4),
                                  '\x90',
                                  static_cast<char>(note),
                                  '\x64',
                                  '\x60',
                                  '\x80',
                                  static_cast<char>(note),
                                  '\0'};
            data.append(event, sizeof event);
        }
        char name[32];
        std::snprintf(name, sizeof name, "song%03d.mid", i);
        std::ofstream(folder / name, std::ios::binary) << data;
    }
}

int Run(const std::vector<std::string> &command, const fs::path &in = {})
{
    std::vector<char *> argv;
    std::vector<std::string> copy = command;
    for (std::string &s : copy)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!in.empty())
        posix_spawn_file_actions_addchdir_np(&actions, in.c_str());
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 01, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Empties target before each run and checks afterwards that every member arrived.
template<typename Action>
double TimeOnce(const fs::path &target, int expected, Action action)
{
    fs::remove_all(target);
    fs::create_directories(target);
    const Clock::time_point start = Clock::now();
    action();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (std::distance(fs::directory_iterator(target), fs::directory_iterator()) != expected) {
        std::fprintf(stderr, "extraction into %s is incomplete\n", target.c_str());
        std::exit(1);
    }
    return ms;
}

// Where the player extracts: its private runtime folder (a tmpfs) when there is one.
fs::path WorkFolder()
{
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    fs::path base = runtime != nullptr && *runtime != '\0' ? fs::path(runtime)
                    : fs::is_directory("/dev/shm")         ? fs::path("/dev/shm")
                                                           : fs::temp_directory_path();
    return base / ("sonolux-bench-" + std::to_string(getpid()));
}

struct Format
{
    const char *name;
    const char *library;
    const char *entry;
    const char *archive;
    std::string commandPrefix; // command and switches as the back-end writes them
    char folderMark;
    int members;
};

// The player's extraction command line for format into folder.
std::string CommandLine(const Format &format, const std::string &archive, const fs::path &folder)
{
    std::string line = std::string(format.commandPrefix) + " \"" + archive + "\" ";
    if (format.commandPrefix.rfind("x --", 0) == 0)
        line += "-o ";
    line += "\"" + folder.string() + format.folderMark + "\"";
    for (const char *mask : {"*.mid", "*.rmi", "*.rcp", "*.r36", "*.g36"})
        line += std::string(" \"") + mask + "\"";
    return line + " ";
}

// Makes the archives in work; false when a tool that is needed is missing.
bool MakeArchives(const fs::path &work, bool &haveLzh)
{
    const fs::path members = work / "members";
    const fs::path large = work / "large";
    MakeMembers(members, memberCount, 8000, 40000);
    MakeMembers(large, largeMemberCount, largeMemberSize, 4096);
    if (Run({"zip", "-q", "-r", (work / "songs.zip").string(), "."}, members) != 0 ||
        Run({"zip", "-q", "-r", (work / "large.zip").string(), "."}, large) != 0 ||
        Run({"tar", "cf", (work / "songs.tar").string(), "."}, members) != 0 ||
        Run({"gcab", "-c", "-z", (work / "songs.cab").string(), "."}, members) != 0) {
        std::fprintf(stderr, "zip, tar and gcab are needed to make the archives\n");
        return false;
    }
    // jlha writes -lh5- members; it takes the names to add one by one.
    auto lzh = [](const fs::path &folder, const fs::path &archive) {
        std::vector<std::string> command = {"jlha", "a", archive.string()};
        for (const auto &entry : fs::directory_iterator(folder))
            command.push_back(entry.path().filename().string());
        return Run(command, folder) == 0;
    };
    haveLzh = lzh(members, work / "songs.lzh") && lzh(large, work / "large.lzh");
    if (!haveLzh)
        std::fprintf(stderr, "jlha (package jlha-utils) is missing: no LZH figures\n");
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    const fs::path work = WorkFolder();
    bool haveLzh = false;
    if (!MakeArchives(work, haveLzh))
        return 1;

    platform::SetLibrarySearchFolder(SONOLUX_DIST_DIR);
    const Format formats[] = {
        {"zip", "UNZIP32.DLL", "UnZip", "songs.zip", "-x --i -j ", '/', memberCount},
        {"tar", "tar32.dll", "Tar", "songs.tar", "x --display-dialog=0 --use-directory=0  -f", '\\',
         memberCount},
        {"cab", "CAB32.DLL", "Cab", "songs.cab", "-x -i -j ", '\\', memberCount},
        {"lzh", "UNLHA32.DLL", "Unlha", "songs.lzh", "x -+ -e1 -n1 -x0 ", '\\', memberCount},
        {"zip-large", "UNZIP32.DLL", "UnZip", "large.zip", "-x --i -j ", '/', largeMemberCount},
        {"lzh-large", "UNLHA32.DLL", "Unlha", "large.lzh", "x -+ -e1 -n1 -x0 ", '\\',
         largeMemberCount},
    };
    std::printf("%-9s %12s %12s %8s %10s   (median of %d runs)\n", "", "library ms", "bsdtar ms",
                "ratio", "MB/s", runs);
    for (const Format &format : formats) {
        if (!haveLzh && std::string(format.name).rfind("lzh", 0) == 0)
            continue;
        platform::DynamicLibrary library = platform::DynamicLibrary::Load(format.library);
        const auto command = library.Entry<ARC_COMMAND>(format.entry);
        if (command == nullptr) {
            std::fprintf(stderr, "%s: %s\n", format.library,
                         platform::DynamicLibrary::LastError().c_str());
            return 1;
        }
        const std::string archive = (work / format.archive).string();
        const fs::path ours = work / (std::string("ours-") + format.name);
        const fs::path theirs = work / (std::string("bsdtar-") + format.name);
        const std::string line = CommandLine(format, archive, ours);
        std::vector<char> output(8192);

        // Runs alternate, so that the load of a shared machine weighs on both alike.
        std::vector<double> libraryTimes, bsdtarTimes;
        for (int i = 0; i < runs; ++i) {
            libraryTimes.push_back(TimeOnce(ours, format.members, [&] {
                const int result = command(nullptr, line.c_str(), output.data(),
                                           static_cast<uint32_t>(output.size()));
                if (result != 0) {
                    std::fprintf(stderr, "%s failed with 0x%X: %s\n", format.entry, result,
                                 output.data());
                    std::exit(1);
                }
            }));
            bsdtarTimes.push_back(TimeOnce(theirs, format.members, [&] {
                Run({"bsdtar", "-xf", archive, "-C", theirs.string()});
            }));
        }
        const double library_ms = Median(libraryTimes);
        const double bsdtar_ms = Median(bsdtarTimes);
        std::uintmax_t bytes = 0;
        for (const auto &entry : fs::directory_iterator(ours))
            bytes += entry.file_size();
        std::printf("%-9s %12.2f %12.2f %8.3f %10.1f\n", format.name, library_ms, bsdtar_ms,
                    library_ms / bsdtar_ms, static_cast<double>(bytes) / 1e3 / library_ms);
    }
    if (std::getenv("SONOLUX_BENCH_KEEP") == nullptr)
        fs::remove_all(work);
    else
        std::printf("archives kept in %s\n", work.c_str());
    return 0;
}
