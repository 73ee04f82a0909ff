// Converts 1,000 generated songs and prints songs per second: once in memory (parse,
// convert, serialise) and once from file to file as the player does it (read, convert,
// write atomically). The songs are typical of the collections: 18 tracks (every fourth
// song 36), a few thousand events with loops and same-measure bars, notes, controllers
// and program changes, every tenth song in G36 layout.

#include "outside/rcpcv/converter.h"
#include "outside/rcpcv/file_conversion.h"
#include "outside/rcpcv/smf_writer.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kSongs = 1000;
constexpr int kBarsPerTrack = 24;

struct Event
{
    uint8_t command;
    uint16_t step;
    uint16_t p1;
    uint8_t p2;
};

void Put(std::string &out, size_t offset, const std::string &bytes)
{
    out.replace(offset, bytes.size(), bytes);
}

void PutU16(std::string &out, size_t offset, unsigned value)
{
    out[offset] = static_cast<char>(value & 0xFF);
    out[offset + 1] = static_cast<char>(value >> 8);
}

void AppendEvent(std::string &out, const Event &e, bool g36)
{
    if (g36) {
        const char bytes[] = {static_cast<char>(e.command),     static_cast<char>(e.p2),
                              static_cast<char>(e.step & 0xFF), static_cast<char>(e.step >> 8),
                              static_cast<char>(e.p1 & 0xFF),   static_cast<char>(e.p1 >> 8)};
        out.append(bytes, sizeof bytes);
    } else {
        const char bytes[] = {static_cast<char>(e.command), static_cast<char>(e.step),
                              static_cast<char>(e.p1), static_cast<char>(e.p2)};
        out.append(bytes, sizeof bytes);
    }
}

std::vector<Event> TrackEvents(std::mt19937 &random, int channel)
{
    std::vector<Event> events{
        {0xEC, 0, static_cast<uint16_t>(random() % 128), 0}, {0xEB, 0, 7, 100}, {0xF9, 0, 0, 0}};
    for (int bar = 0; bar < kBarsPerTrack; ++bar) {
        if (bar % 6 == 5) { // repeat bar 1 of the loop body
            events.push_back({0xFC, 0, 0, 0});
            continue;
        }
        for (int beat = 0; beat < 8; ++beat) {
            const auto key = static_cast<uint8_t>(36 + random() % 48 + (channel == 9 ? 0 : 12));
            events.push_back({key, 24, static_cast<uint16_t>(12 + random() % 24),
                              static_cast<uint8_t>(40 + random() % 80)});
            if (beat % 4 == 0)
                events.push_back({0xEB, 0, 11, static_cast<uint8_t>(random() % 128)});
        }
        events.push_back({0xFD, 0, 0, 0});
    }
    events.push_back({0xF8, 2, 0, 0});
    events.push_back({0xFE, 0, 0, 0});
    return events;
}

std::string MakeSong(int index)
{
    std::mt19937 random(static_cast<unsigned>(index));
    const bool g36 = index % 10 == 9;
    const int tracks = index % 4 == 3 ? 36 : 18;
    const size_t headerSize = g36 ? 0xC98 : 0x586;
    const size_t trackHeaderSize = g36 ? 46 : 44;
    std::string song(headerSize, '\0');
    Put(song, 0,
        g36 ? std::string("COME ON MUSIC RECOMPOSER RCP3.0", 32)
            : std::string("RCM-PC98V2.0(C)COME ON MUSIC\r\n\0\0", 32));
    Put(song, 0x20, "Benchmark song " + std::to_string(index));
    if (g36) {
        PutU16(song, 0x208, tracks);
        PutU16(song, 0x20A, 48);
        PutU16(song, 0x20C, 120);
        song[0x20E] = 4;
        song[0x20F] = 4;
    } else {
        song[0x1C0] = 48;
        song[0x1C1] = 120;
        song[0x1C2] = 4;
        song[0x1C3] = 4;
        song[0x1E6] = static_cast<char>(tracks);
    }
    for (int t = 0; t < tracks; ++t) {
        std::string body;
        for (Event e : TrackEvents(random, t % 16)) {
            if (e.command == 0xFC) { // refer to the first bar after the loop start
                const size_t target = 3;
                if (g36)
                    e.p1 = static_cast<uint16_t>(target + 0x30);
                else {
                    const size_t offset = trackHeaderSize + target * 4;
                    e.p1 = static_cast<uint16_t>(offset & 0xFC);
                    e.p2 = static_cast<uint8_t>(offset >> 8);
                }
            }
            AppendEvent(body, e, g36);
        }
        std::string header(trackHeaderSize, ' ');
        const size_t length = trackHeaderSize + body.size();
        const size_t fields = g36 ? 4 : 2;
        if (g36) {
            PutU16(header, 0, static_cast<unsigned>(length & 0xFFFF));
            PutU16(header, 2, static_cast<unsigned>(length >> 16));
        } else {
            PutU16(header, 0, static_cast<unsigned>(length));
        }
        header[fields] = static_cast<char>(t + 1);
        header[fields + 1] = 0;
        header[fields + 2] = static_cast<char>(t < 32 ? t : 0xFF);
        header[fields + 3] = static_cast<char>(t % 16 == 9 ? 0x80 : 0);
        header[fields + 4] = 0;
        header[fields + 5] = 0;
        song += header + body;
    }
    return song;
}

double Seconds(std::chrono::steady_clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

} // namespace

int main()
{
    std::vector<std::string> songs;
    size_t inputBytes = 0;
    for (int i = 0; i < kSongs; ++i) {
        songs.push_back(MakeSong(i));
        inputBytes += songs.back().size();
    }

    size_t outputBytes = 0;
    const auto start = std::chrono::steady_clock::now();
    for (const std::string &data : songs) {
        rcpcv::Song song;
        const rcpcv::ByteView file(reinterpret_cast<const uint8_t *>(data.data()), data.size());
        if (rcpcv::ConvertSong(file, {}, song) != rcpcv::ConvertStatus::kOk) {
            std::fprintf(stderr, "a generated song did not convert\n");
            return EXIT_FAILURE;
        }
        outputBytes += rcpcv::WriteSmf(song).size();
    }
    const double memorySeconds = Seconds(std::chrono::steady_clock::now() - start);

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("rcpcv-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    for (int i = 0; i < kSongs; ++i)
        std::ofstream(folder / ("song" + std::to_string(i) + ".rcp"), std::ios::binary)
            << songs[static_cast<size_t>(i)];
    const auto fileStart = std::chrono::steady_clock::now();
    for (int i = 0; i < kSongs; ++i) {
        rcpcv::Song song;
        const std::string name = (folder / ("song" + std::to_string(i))).string();
        if (rcpcv::ConvertFile(name + ".rcp", song) != rcpcv::FileStatus::kOk ||
            !rcpcv::SaveSmf(song, name + ".mid")) {
            std::fprintf(stderr, "song %d failed from file to file\n", i);
            return EXIT_FAILURE;
        }
    }
    const double fileSeconds = Seconds(std::chrono::steady_clock::now() - fileStart);
    std::filesystem::remove_all(folder);

    std::printf("rcpcv: %d songs, %.1f MB in, %.1f MB of SMF out\n", kSongs, inputBytes / 1e6,
                outputBytes / 1e6);
    std::printf("in memory (parse, convert, serialise): %.3f s, %.0f songs/s\n", memorySeconds,
                kSongs / memorySeconds);
    std::printf("file to file (read, convert, write atomically with fsync): %.3f s, %.0f "
                "songs/s\n",
                fileSeconds, kSongs / fileSeconds);
    return EXIT_SUCCESS;
}
