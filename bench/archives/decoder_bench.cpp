// Decoding speed of our own old-format readers, in process: Deflate64 on an 8 MB
// MIDI-like member made by 7-Zip, and the shared fixtures' Shrink, Reduce, Implode, RAR
// 1.3 to 3.x members decoded again and again. Prints MB/s of original bytes per method.
//
// Usage: bench_decoders [seconds per method]   (default 2)

#include "outside/arcengine/oldzipreader.h"
#include "outside/unrar/oldrarreader.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

const fs::path old = fs::path(SONOLUX_FIXTURES_DIR) / "archives/old";

// Every member's bytes once: how many, or 0 when a member failed.
template<typename Reader>
std::uint64_t ReadOnce(const std::string &path)
{
    int code = 0;
    std::string text;
    const auto reader = Reader::Open(path, code, text);
    if (!reader)
        return 0;
    std::uint64_t total = 0;
    arc::MemberInfo info;
    while (reader->Next(info) == 0) {
        for (;;) {
            arc::DataBlock block;
            bool fatal = false;
            if (reader->ReadBlock(block, fatal) != 0)
                return 0;
            if (block.size == 0)
                break;
            total += block.size;
        }
    }
    return total;
}

template<typename Reader>
void Measure(const char *method, const std::string &path, double seconds)
{
    std::uint64_t bytes = 0;
    const Clock::time_point start = Clock::now();
    double elapsed = 0;
    do {
        const std::uint64_t once = ReadOnce<Reader>(path);
        if (once == 0) {
            std::printf("%-22s failed on %s\n", method, path.c_str());
            return;
        }
        bytes += once;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < seconds);
    std::printf("%-22s %8.1f MB/s  (%.1f MB in %.2f s)\n", method, bytes / elapsed / 1e6,
                bytes / 1e6, elapsed);
}

std::string MakeDeflate64(const fs::path &folder)
{
    std::mt19937 random(20240516);
    std::string data = "MThd";
    while (data.size() < (8u << 20)) {
        const char note = static_cast<char>(36 + random() % 48);
        const char event[] = {
            static_cast<char>(random() % 4), '\x90', note, '\x64', '\x60', '\x80', note, '\0'};
        data.append(event, sizeof event);
    }
    fs::create_directories(folder);
    std::ofstream(folder / "song.mid", std::ios::binary) << data;
    const std::string zip = (folder / "song.zip").string();
    const std::string command =
        "cd '" + folder.string() + "' && 7z a -tzip -mm=Deflate64 song.zip song.mid >/dev/null";
    return std::system(command.c_str()) == 0 ? zip : std::string();
}

} // namespace

int main(int argc, char **argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 2;
    const fs::path temp =
        fs::temp_directory_path() / ("bench_decoders-" + std::to_string(getpid()));
    const std::string deflate64 = MakeDeflate64(temp);
    if (!deflate64.empty())
        Measure<arc::OldZipReader>("Deflate64 (8 MB)", deflate64, seconds);
    Measure<arc::OldZipReader>("Shrink", old / "zip2_shrink.zip", seconds);
    Measure<arc::OldZipReader>("Reduce (factor 4)", old / "zip2_reduce.zip", seconds);
    Measure<arc::OldZipReader>("Implode (8K, 3 trees)", old / "zip2_implode.zip", seconds);
    Measure<arc::OldZipReader>("Implode (4K, 2 trees)",
                               old / "commons-compress_imploding-4Kdict-2trees.zip", seconds);
    Measure<unrar::OldRarReader>(
        "RAR 1.5", old / "junrar_BoatModernEnglish-regular-unpack15-dos.rar", seconds);
    Measure<unrar::OldRarReader>("RAR 1.4 solid", old / "junrar_rar14-solid.rar", seconds);
    Measure<unrar::OldRarReader>("RAR 2.0 (unarr)",
                                 old / "junrar_BoatModernEnglish-regular-unpack20.rar", seconds);
    Measure<unrar::OldRarReader>("RAR 2.0 audio (unarr)",
                                 old / "junrar_BoatModernEnglish-audio-text-unpack20.rar", seconds);
    fs::remove_all(temp);
    return 0;
}
