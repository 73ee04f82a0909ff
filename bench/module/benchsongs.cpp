#include "benchsongs.h"

#include "platform/mci/smfwriter.h"
#include "support/modulesongs.h"

#include <utility>

namespace bench {

namespace {

using mci::MidiMessage;
using namespace modulesongs;

constexpr int kSetupTick = 12;

MidiMessage Cc(int channel, int controller, int value)
{
    return mci::ControlChange(channel, controller, value);
}

MidiMessage Pc(int channel, int program)
{
    return Bytes({0xC0 | channel, program});
}

MidiMessage Note(int channel, int key, int velocity)
{
    return Bytes({0x90 | channel, key, velocity});
}

// The messages a song sends on one port: the first at tick 0 (the reset), the others a
// little later, as sequencers leave the module time for its reset.
struct PortSetup
{
    int port = 0;
    std::vector<MidiMessage> messages;
};

std::string SetupSong(const std::vector<PortSetup> &ports)
{
    mci::SmfWriter w(96, 1);
    for (const PortSetup &setup : ports) {
        w.Track();
        if (setup.port != 0)
            w.Meta(0, 0x21, std::string(1, static_cast<char>(setup.port)));
        for (std::size_t i = 0; i < setup.messages.size(); ++i)
            w.Event(i == 0 && setup.port == 0 ? 0 : kSetupTick, setup.messages[i]);
        w.EndAt(96);
    }
    return w.Bytes();
}

ModuleSong GsBand()
{
    ModuleSong song{"GS band (SC-55)", "", {}};
    song.bytes = SetupSong(
        {{0,
          {GsReset(), Cc(0, 0, 8), Cc(0, 32, 3), Pc(0, 4), Cc(1, 0, 0), Pc(1, 33), Cc(2, 0, 8),
           Pc(2, 48), Cc(3, 0, 16), Pc(3, 0), GsRhythmPart(5, 1), GsRhythmPart(5, 0), Pc(4, 19),
           Pc(9, 25), GsRhythmPart(10, 2), Pc(10, 32), GsRhythmPart(15, 1), Pc(15, 48)}}});
    song.parts = {
        {0, 0, "MSB 8 LSB 3 PC 4", false, 8, 4, "variation 8:4 (LSB 3 is the map)"},
        {0, 1, "MSB 0 PC 33", false, 0, 33, "capital tone 0:33"},
        {0, 2, "MSB 8 PC 48", false, 8, 48, "variation 8:48"},
        {0, 3, "MSB 16 PC 0", false, 16, 0, "variation 16:0"},
        {0, 4, "40 15 15 01, 00, PC 19", false, 0, 19, "capital tone 0:19, normal part again"},
        {0, 9, "PC 25", true, 128, 25, "kit 25 (TR-808)"},
        {0, 10, "40 1A 15 02, PC 32", true, 128, 32, "rhythm part: kit 32 (Jazz)"},
        {0, 15, "40 1F 15 01, PC 48", true, 128, 48, "rhythm part: kit 48 (Orchestra)"},
    };
    return song;
}

ModuleSong GsTwoPorts()
{
    ModuleSong song{"GS two ports (SC-88)", "", {}};
    song.bytes = SetupSong({{0, {Roland(0x10, 0x00, 0x00, 0x7F, {0x00}), Pc(0, 0), Pc(1, 24)}},
                            {1, {Pc(0, 40), Pc(9, 16), GsRhythmPart(2, 1, true), Pc(1, 24)}}});
    song.parts = {
        {0, 0, "PC 0", false, 0, 0, "A01 capital tone 0:0"},
        {0, 1, "PC 24", false, 0, 24, "A02 capital tone 0:24"},
        {0, 9, "(nothing)", true, 128, 0, "A10 kit 0 (Standard)"},
        {1, 0, "PC 40", false, 0, 40, "B01 capital tone 0:40"},
        {1, 1, "50 12 15 01, PC 24", true, 128, 24, "B02 rhythm part: kit 24 (Electronic)"},
        {1, 9, "PC 16", true, 128, 16, "B10 kit 16 (Power)"},
    };
    return song;
}

ModuleSong XgBand()
{
    ModuleSong song{"XG band (MU80)", "", {}};
    song.bytes = SetupSong(
        {{0,
          {XgOn(), Cc(0, 0, 0), Cc(0, 32, 1), Pc(0, 0), Cc(1, 0, 0), Cc(1, 32, 0), Pc(1, 33),
           Cc(3, 0, 127), Pc(3, 25), Cc(4, 0, 126), Pc(4, 0), Cc(5, 0, 64), Pc(5, 32), Cc(9, 0, 0),
           Pc(9, 48), XgPartMode(10, 2), Cc(15, 0, 127), Pc(15, 40)}}});
    song.parts = {
        {0, 0, "MSB 0 LSB 1 PC 0", false, 1, 0, "variation LSB 1 PC 0"},
        {0, 1, "MSB 0 LSB 0 PC 33", false, 0, 33, "voice 0:33"},
        {0, 3, "MSB 127 PC 25", true, 128, 25, "kit 25 (Analog) on part 4"},
        {0, 4, "MSB 126 PC 0", true, 126, 0, "SFX kit 1"},
        {0, 5, "MSB 64 PC 32", false, 64, 32, "SFX voice 64:32"},
        {0, 9, "MSB 0 PC 48", false, 0, 48, "voice 0:48 on part 10"},
        {0, 10, "08 0A 07 02", true, 128, 0, "drum part (DrumS1), kit 0"},
        {0, 15, "MSB 127 PC 40", true, 128, 40, "kit 40 (Brush) on part 16"},
    };
    return song;
}

ModuleSong XgTwoPorts()
{
    ModuleSong song{"XG two ports (MU128)", "", {}};
    song.bytes =
        SetupSong({{0, {XgOn(), Pc(0, 19)}},
                   {1, {Cc(0, 0, 127), Pc(0, 8), Cc(9, 0, 0), Pc(9, 0), XgPartMode(0x12, 1)}}});
    song.parts = {
        {0, 0, "PC 19", false, 0, 19, "A01 voice 0:19"},
        {0, 9, "(nothing)", true, 128, 0, "A10 kit 0 (Standard)"},
        {1, 0, "MSB 127 PC 8", true, 128, 8, "B01 kit 8 (Room)"},
        {1, 2, "08 12 07 01", true, 128, 0, "B03 drum part, kit 0"},
        {1, 9, "MSB 0 PC 0", false, 0, 0, "B10 voice 0:0"},
    };
    return song;
}

// The parts of the band: channel, program, pan and volume, as a GS or XG arrangement of
// the time sets them (drums on channel 10).
struct BandPart
{
    int channel;
    int program;
    int pan;
    int volume;
};
constexpr BandPart kBand[] = {
    {0, 0, 48, 100}, {1, 33, 64, 110}, {2, 48, 84, 90},  {3, 73, 70, 100}, {4, 61, 40, 90},
    {5, 27, 96, 85}, {6, 16, 30, 80},  {7, 89, 100, 80}, {8, 71, 56, 90},  {9, 0, 64, 100},
};

constexpr int kBarTicks = 1920;
constexpr int kRoots[] = {48, 45, 41, 43}; // C, Am, F, G
constexpr int kThirds[] = {4, 3, 4, 4};

void Hold(mci::SmfWriter &w, int channel, int key, int velocity, std::int64_t at,
          std::int64_t ticks)
{
    w.Event(at, Note(channel, key, velocity)).Event(at + ticks, Note(channel, key, 0));
}

// Piano chords on the half bar, strings, organ and pad held, guitar arpeggios in eighths
// and brass stabs on the off-beats.
void AddHarmony(mci::SmfWriter &w, std::int64_t t, int bar)
{
    const int root = kRoots[bar % 4];
    const int chord[] = {root + 12, root + 12 + kThirds[bar % 4], root + 19};
    for (const int key : chord) {
        Hold(w, 2, key, 80, t, kBarTicks - 20);
        Hold(w, 6, key - 12, 75, t, kBarTicks - 20);
        Hold(w, 7, key + 12, 70, t, kBarTicks - 20);
        for (int half = 0; half < 2; ++half)
            Hold(w, 0, key, 90, t + half * 960, 880);
        Hold(w, 4, key, 95, t + 720, 200);
        Hold(w, 4, key, 95, t + 1680, 200);
    }
    for (int eighth = 0; eighth < 8; ++eighth)
        Hold(w, 5, chord[eighth % 3] + (eighth / 3) * 12, 85, t + eighth * 240, 230);
}

// Bass on every quarter, kick and snare, hi-hat eighths and a crash every four bars.
void AddRhythm(mci::SmfWriter &w, std::int64_t t, int bar)
{
    const int root = kRoots[bar % 4];
    for (int beat = 0; beat < 4; ++beat) {
        const std::int64_t b = t + beat * 480;
        Hold(w, 1, root - 12, 100, b, 400);
        Hold(w, 9, beat % 2 ? 38 : 36, beat % 2 ? 100 : 115, b, 60);
        for (int eighth = 0; eighth < 2; ++eighth)
            Hold(w, 9, 42, 80, b + eighth * 240, 60);
    }
    if (bar % 4 == 0)
        Hold(w, 9, 49, 105, t, 60);
}

// The melody in eighths and a counter-melody in quarters.
void AddMelody(mci::SmfWriter &w, std::int64_t t, int bar)
{
    const int root = kRoots[bar % 4];
    const int chord[] = {root + 24, root + 24 + kThirds[bar % 4], root + 31};
    for (int eighth = 0; eighth < 8; ++eighth)
        Hold(w, 3, chord[(eighth * 2 + bar) % 3], 100, t + eighth * 240, 220);
    for (int beat = 0; beat < 4; ++beat)
        Hold(w, 8, chord[(beat + 1) % 3] - 12, 90, t + beat * 480, 440);
}

std::string Band(const std::vector<MidiMessage> &reset)
{
    mci::SmfWriter w(480, 0);
    w.Tempo(0, 500000);
    for (const MidiMessage &message : reset)
        w.Event(0, message);
    for (const BandPart &part : kBand) {
        if (part.channel != 9)
            w.Event(kSetupTick, Pc(part.channel, part.program));
        w.Event(kSetupTick, Cc(part.channel, 7, part.volume));
        w.Event(kSetupTick, Cc(part.channel, 10, part.pan));
    }
    for (int bar = 0; bar < 8; ++bar) {
        const std::int64_t t = 480 + bar * kBarTicks;
        AddHarmony(w, t, bar);
        AddRhythm(w, t, bar);
        AddMelody(w, t, bar);
    }
    w.EndAt(480 + 8 * kBarTicks + 960);
    return w.Bytes();
}

} // namespace

std::vector<ModuleSong> ModuleSongs()
{
    return {GsBand(), GsTwoPorts(), XgBand(), XgTwoPorts()};
}

std::vector<BandSong> BandSongs()
{
    return {
        {"built: GM band", Band({GmOn()})},
        {"built: GS band", Band({GsReset(), Cc(0, 0, 8)})},
        {"built: XG band", Band({XgOn(), Cc(9, 0, 127), Pc(9, 0)})},
    };
}

} // namespace bench
