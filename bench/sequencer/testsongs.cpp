#include "testsongs.h"

#include "platform/mci/smfparser.h"
#include "platform/mci/smfwriter.h"

namespace bench {

namespace {

constexpr int kChannel = 9;
constexpr int kKey = 37; // side stick: a click that dies away within 0.1 s

void Note(mci::SmfWriter &w, std::int64_t tick)
{
    w.Event(tick, {0x90 | kChannel, kKey, 110}).Event(tick + 20, {0x80 | kChannel, kKey, 0});
}

TestSong Finish(std::string name, mci::SmfWriter &w, std::vector<std::int64_t> ticks, int changes)
{
    TestSong song;
    song.name = std::move(name);
    song.bytes = w.Bytes();
    song.song = mci::ParseSong(reinterpret_cast<const std::uint8_t *>(song.bytes.data()),
                               song.bytes.size());
    song.ticks = std::move(ticks);
    song.tempoChanges = changes;
    return song;
}

} // namespace

TestSong SteadySong()
{
    mci::SmfWriter w(480, 0);
    w.Tempo(0, 461538);
    Note(w, 0);
    std::vector<std::int64_t> ticks;
    for (int i = 0; i < 400; ++i) {
        ticks.push_back(960 + i * 300 + (i * 131) % 97);
        Note(w, ticks.back());
    }
    w.EndAt(ticks.back() + 480);
    return Finish("steady, 2 min", w, ticks, 0);
}

TestSong TempoChangeSong()
{
    mci::SmfWriter w(480, 0);
    w.Tempo(0, 500000);
    Note(w, 0);
    std::vector<std::int64_t> ticks;
    std::int64_t tick = 960;
    int changes = 0;
    for (int i = 0; i < 1120; ++i) {
        ticks.push_back(tick);
        Note(w, tick);
        if (i % 5 == 2 && changes < 200) {
            w.Tempo(tick + 100 + (i * 29) % 200, 300000 + (i * 7919) % 400000);
            ++changes;
        }
        tick += 480 + (i * 53) % 71;
    }
    w.EndAt(tick);
    return Finish("200 tempo changes, 10 min", w, ticks, changes);
}

TestSong CalibrationSong()
{
    mci::SmfWriter w(480, 0);
    w.Tempo(0, 500000);
    Note(w, 0);
    Note(w, 1024);
    w.EndAt(2048);
    return Finish("calibration", w, {1024}, 0);
}

TestSong DenseSong()
{
    mci::SmfWriter w(480, 1);
    w.Tempo(0, 500000);
    for (int channel = 0; channel < 16; ++channel) {
        w.Track();
        for (int i = 0; i < 3000; ++i) {
            const std::int64_t tick = i * 60 + channel;
            const auto key = static_cast<std::uint8_t>(36 + (i * 7 + channel) % 48);
            const auto status = static_cast<std::uint8_t>(channel);
            w.Event(tick, {static_cast<std::uint8_t>(0x90 | status), key, 100});
            w.Event(tick + 50, {static_cast<std::uint8_t>(0x80 | status), key, 0});
            if (i % 3 == 0)
                w.Event(tick, {static_cast<std::uint8_t>(0xB0 | status), 11,
                               static_cast<std::uint8_t>(i % 128)});
        }
    }
    return Finish("dense, 16 x 3000 notes", w, {}, 0);
}

TestSong GameSong()
{
    mci::SmfWriter w(480, 1);
    w.Tempo(0, 500000);
    for (int channel = 0; channel < 4; ++channel) {
        w.Track();
        w.Event(0, {static_cast<std::uint8_t>(0xB0 | channel), 111, 0});
        for (int i = 0; i < 3000; ++i) {
            const std::int64_t tick = i * 60 + channel;
            const auto key = static_cast<std::uint8_t>(36 + (i * 5 + channel) % 48);
            const auto status = static_cast<std::uint8_t>(channel);
            w.Event(tick, {static_cast<std::uint8_t>(0x90 | status), key, 100});
            w.Event(tick + 50, {static_cast<std::uint8_t>(0x80 | status), key, 0});
        }
    }
    return Finish("game song, 4 x 3000 notes looped", w, {}, 0);
}

} // namespace bench
