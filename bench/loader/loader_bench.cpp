// Titles read per second over a folder of songs, binding the loader module for every
// single call as the player does (load "sonolux.dll", look up "ComLoad", call, unload),
// side by side with the same loop over a trivial library that only opens and reads
// 500 bytes: the floor that loading a library at all sets on this machine.
//
// Usage: loader_bench [songs (10000)] [rounds (5)]

#include "loader/sonolux_module.h"
#include "platform/dynlib.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Binding
{
    std::string folder; // searched first, as the program folder is
    std::string library;
    std::string entry;
};

std::string ShortString(const std::string &text)
{
    std::string buffer(256, '\0');
    buffer[0] = static_cast<char>(text.size());
    buffer.replace(1, text.size(), text);
    return buffer;
}

// A small Standard MIDI File whose track name and size vary from song to song.
std::string Song(int number)
{
    const std::string name = "Song number " + std::to_string(number);
    std::string track("\0\xFF\x03", 3);
    track += static_cast<char>(name.size());
    track += name;
    for (int i = 0; i < 64 + number % 200; ++i)
        track += std::string("\0\x90\x3C\x40\x30\x80\x3C\x40", 8);
    track += std::string("\0\xFF\x2F\0", 4);
    std::string smf("MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk", 18);
    for (int shift = 24; shift >= 0; shift -= 8)
        smf += static_cast<char>((track.size() >> shift) & 0xFF);
    return smf + track;
}

std::vector<std::string> MakeSongs(const std::string &folder, int count)
{
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::string path = folder + "/song" + std::to_string(i) + ".mid";
        const std::string bytes = Song(i);
        std::ofstream(path, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        names.push_back(ShortString(path));
    }
    return names;
}

// Seconds for one pass over all songs, binding the library for each call.
double BoundPass(const Binding &binding, const std::vector<std::string> &songs)
{
    platform::SetLibrarySearchFolder(binding.folder);
    std::string title(256, '\0');
    const Clock::time_point start = Clock::now();
    for (const std::string &song : songs) {
        const platform::DynamicLibrary library = platform::DynamicLibrary::Load(binding.library);
        const auto call = library.Entry<ComLoadFunction>(binding.entry);
        if (call == nullptr)
            throw std::runtime_error(binding.library + ": " +
                                     platform::DynamicLibrary::LastError());
        if (call(reinterpret_cast<unsigned char *>(title.data()),
                 reinterpret_cast<const unsigned char *>(song.data())) != 0)
            throw std::runtime_error("call failed: " + title.substr(1));
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Seconds for one pass with the module loaded once: the cost of the calls alone.
double CallsOnlyPass(const std::vector<std::string> &songs)
{
    platform::SetLibrarySearchFolder(SONOLUX_DIST_DIR);
    const platform::DynamicLibrary library = platform::DynamicLibrary::Load("sonolux.dll");
    const auto comLoad = library.Entry<ComLoadFunction>("ComLoad");
    if (comLoad == nullptr)
        throw std::runtime_error("sonolux.dll: " + platform::DynamicLibrary::LastError());
    std::string title(256, '\0');
    const Clock::time_point start = Clock::now();
    for (const std::string &song : songs)
        comLoad(reinterpret_cast<unsigned char *>(title.data()),
                reinterpret_cast<const unsigned char *>(song.data()));
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    char pattern[] = "/tmp/sonolux-bench-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string folder = pattern;
    try {
        const std::vector<std::string> songs = MakeSongs(folder, count);
        const Binding module{SONOLUX_DIST_DIR, "sonolux.dll", "ComLoad"};
        const Binding floor{LOADER_BENCH_FLOOR_DIR, "titlefloor.dll", "ReadHead"};

        // Warm the page cache and the loader's caches, then alternate the two loops so
        // that drifts of a shared machine touch both alike.
        BoundPass(module, songs);
        BoundPass(floor, songs);
        std::vector<double> moduleSeconds, floorSeconds, callSeconds;
        for (int round = 0; round < rounds; ++round) {
            moduleSeconds.push_back(BoundPass(module, songs));
            floorSeconds.push_back(BoundPass(floor, songs));
            callSeconds.push_back(CallsOnlyPass(songs));
        }

        const double moduleRate = count / Median(moduleSeconds);
        const double floorRate = count / Median(floorSeconds);
        const double callRate = count / Median(callSeconds);
        std::printf("songs: %d, rounds: %d (medians)\n", count, rounds);
        std::printf("sonolux.dll, bound per call: %9.0f titles/s  %7.1f us/title\n", moduleRate,
                    1e6 / moduleRate);
        std::printf("floor library, bound per call: %9.0f titles/s  %7.1f us/title\n", floorRate,
                    1e6 / floorRate);
        std::printf("sonolux.dll, loaded once:  %9.0f titles/s  %7.1f us/title\n", callRate,
                    1e6 / callRate);
        std::printf("module rate / floor rate: %.1f %% (target: at least 90 %%)\n",
                    100.0 * moduleRate / floorRate);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "loader_bench: %s\n", error.what());
        std::filesystem::remove_all(folder);
        return 1;
    }
    std::filesystem::remove_all(folder);
    return 0;
}
