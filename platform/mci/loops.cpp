#include "platform/mci/loops.h"

#include "platform/mci/notetracker.h"
#include "platform/mci/smfparser.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace mci {

namespace {

constexpr std::int64_t kDefaultTempo = 500000;

// A marker's text without blanks, in lower case: "Loop Start" reads as "loopstart".
std::string Folded(const std::string &text)
{
    std::string folded;
    for (const char c : text)
        if (c != ' ' && c != '\t')
            folded.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    return folded;
}

std::optional<LoopSection> MarkedSection(const Song &song)
{
    std::optional<std::int64_t> start;
    for (const SongText &text : song.texts) {
        if (text.type != 0x06)
            continue;
        const std::string name = Folded(text.bytes);
        if (!start && name == "loopstart")
            start = text.tick;
        else if (start && name == "loopend" && text.tick > *start)
            return LoopSection{*start, text.tick};
    }
    if (start && *start < song.lengthTicks)
        return LoopSection{*start, song.lengthTicks};
    return std::nullopt;
}

std::int64_t TempoAt(const std::vector<TempoChange> &changes, std::int64_t tick)
{
    std::int64_t tempo = kDefaultTempo;
    for (const TempoChange &change : changes) {
        if (change.tick > tick)
            break;
        tempo = change.microsecondsPerQuarter;
    }
    return tempo;
}

// Bit (port * 16 + channel) of every channel that plays a note.
std::uint64_t ChannelsWithNotes(const Song &song)
{
    std::uint64_t channels = 0;
    for (const SongEvent &event : song.events) {
        const MessageView m = song.Message(event);
        if (IsNoteOn(m))
            channels |= std::uint64_t{1} << ((m.port % kPorts) * 16 + m.Channel());
    }
    return channels;
}

// Builds the unrolled song, pass by pass.
class Unroller
{
public:
    // The section's events are song.events[first] up to, not including, song.events[last].
    Unroller(const Song &song, const LoopSection &section, std::size_t first, std::size_t last,
             int passes)
        : song_(song)
        , section_(section)
        , first_(first)
        , last_(last)
        , passes_(passes)
    {
    }

    Song Build(int loops);

private:
    void MakeTempo();
    void Emit(const SongEvent &event, std::int64_t tick, LoopFade &fade);
    void JumpBack(std::int64_t tick, LoopFade &fade);
    bool Pass(int pass, LoopFade &fade);
    void CopyTexts(std::int64_t endTick);

    const Song &song_;
    const LoopSection section_;
    const std::size_t first_;
    const std::size_t last_;
    const int passes_;
    Song out_;
    NoteTracker sounding_;
};

void Unroller::MakeTempo()
{
    if (song_.ticksPerQuarter == 0) {
        out_.tempo = song_.tempo; // SMPTE time: one rate throughout
        return;
    }
    const std::int64_t span = section_.endTick - section_.startTick;
    std::vector<TempoChange> &changes = out_.tempoChanges;
    for (const TempoChange &change : song_.tempoChanges)
        if (change.tick < section_.endTick)
            changes.push_back(change);
    const std::int64_t startTempo = TempoAt(song_.tempoChanges, section_.startTick);
    for (int pass = 1; pass < passes_; ++pass) {
        const std::int64_t offset = pass * span;
        changes.push_back(TempoChange{section_.startTick + offset, startTempo});
        for (const TempoChange &change : song_.tempoChanges)
            if (change.tick > section_.startTick && change.tick < section_.endTick)
                changes.push_back(TempoChange{change.tick + offset, change.microsecondsPerQuarter});
    }
    out_.tempo = TempoMap::Metrical(song_.ticksPerQuarter, changes);
}

void Unroller::Emit(const SongEvent &event, std::int64_t tick, LoopFade &fade)
{
    fade.StepsUntil(tick, out_.events);
    SongEvent copy = event;
    copy.tick = tick;
    if ((copy.bytes[0] & 0xF0) == 0xB0 && copy.bytes[1] == cc::Volume)
        fade.Scale(copy, out_.tempo.TickToNs(tick));
    sounding_.Apply(out_.Message(copy));
    out_.events.push_back(copy);
}

void Unroller::JumpBack(std::int64_t tick, LoopFade &fade)
{
    fade.StepsUntil(tick, out_.events);
    sounding_.ForEach([&](int port, int channel, int key, int count) {
        SongEvent off;
        off.tick = tick;
        off.bytes[0] = static_cast<std::uint8_t>(0x80 | channel);
        off.bytes[1] = static_cast<std::uint8_t>(key);
        off.port = static_cast<std::uint8_t>(port);
        out_.events.insert(out_.events.end(), static_cast<std::size_t>(count), off);
    });
    sounding_.Clear();
}

// Emits one pass of the section; false when the song's end came first.
bool Unroller::Pass(int pass, LoopFade &fade)
{
    const std::int64_t offset = pass * (section_.endTick - section_.startTick);
    if (pass > 0) {
        if (section_.startTick + offset > fade.EndTick())
            return false;
        JumpBack(section_.startTick + offset, fade);
    }
    for (std::size_t i = first_; i < last_; ++i) {
        const SongEvent &event = song_.events[i];
        if (event.tick + offset > fade.EndTick())
            return false;
        Emit(event, event.tick + offset, fade);
    }
    return true;
}

void Unroller::CopyTexts(std::int64_t endTick)
{
    const std::int64_t span = section_.endTick - section_.startTick;
    for (const SongText &text : song_.texts)
        if (text.tick < section_.startTick)
            out_.texts.push_back(text);
    for (int pass = 0; pass < passes_; ++pass) {
        for (SongText text : song_.texts) {
            if (text.tick < section_.startTick || text.tick >= section_.endTick)
                continue;
            text.tick += pass * span;
            if (text.tick > endTick || out_.texts.size() >= kMaxSongTexts)
                return;
            out_.texts.push_back(std::move(text));
        }
    }
}

Song Unroller::Build(int loops)
{
    out_.format = song_.format;
    out_.tracks = song_.tracks;
    out_.ticksPerQuarter = song_.ticksPerQuarter;
    out_.ports = song_.ports;
    out_.sysexData = song_.sysexData;
    MakeTempo();
    const std::int64_t span = section_.endTick - section_.startTick;
    const std::uint64_t channels = ChannelsWithNotes(song_);
    LoopFade fade(out_.tempo, out_.tempo.TickToNs(section_.startTick + loops * span), channels);
    out_.events = fade.Restore();
    out_.events.reserve(out_.events.size() + first_ +
                        (last_ - first_) * static_cast<std::size_t>(passes_));
    for (std::size_t i = 0; i < first_; ++i)
        Emit(song_.events[i], song_.events[i].tick, fade);
    for (int pass = 0; pass < passes_ && Pass(pass, fade); ++pass) {
    }
    fade.StepsUntil(fade.EndTick(), out_.events);
    CopyTexts(fade.EndTick());
    out_.lengthTicks = fade.EndTick();
    out_.lengthNs = out_.tempo.TickToNs(out_.lengthTicks);
    return std::move(out_);
}

} // namespace

std::optional<LoopSection> FindLoopSection(const Song &song)
{
    if (std::optional<LoopSection> marked = MarkedSection(song))
        return marked;
    for (const SongEvent &event : song.events) {
        if ((event.bytes[0] & 0xF0) == 0xB0 && event.bytes[1] == cc::LoopPoint) {
            if (event.tick < song.lengthTicks)
                return LoopSection{event.tick, song.lengthTicks};
            break;
        }
    }
    return std::nullopt;
}

Song ApplyLoops(Song song, int loops)
{
    if (loops <= 0)
        return song;
    const std::optional<LoopSection> section = FindLoopSection(song);
    if (!section)
        return song;
    const std::int64_t startNs = song.tempo.TickToNs(section->startTick);
    const std::int64_t loopNs = song.tempo.TickToNs(section->endTick) - startNs;
    if (loopNs < kMinLoopNs)
        return song;
    // One pass more than the fade needs, so that rounding never leaves it short.
    const std::int64_t fadePasses = kLoopFadeNs / loopNs + 1;
    const auto first =
        std::partition_point(song.events.begin(), song.events.end(),
                             [&](const SongEvent &e) { return e.tick < section->startTick; });
    const auto last = std::partition_point(
        first, song.events.end(), [&](const SongEvent &e) { return e.tick < section->endTick; });
    const auto before = static_cast<std::size_t>(first - song.events.begin());
    const auto after = static_cast<std::size_t>(last - song.events.begin());
    const auto perPass = std::max<std::int64_t>(static_cast<std::int64_t>(after - before), 1);
    const auto room =
        static_cast<std::int64_t>(kMaxUnrolledEvents - std::min(before, kMaxUnrolledEvents));
    loops =
        static_cast<int>(std::min<std::int64_t>({loops, kMaxLoops, room / perPass - fadePasses,
                                                 (kMaxSongNs - startNs) / loopNs - fadePasses}));
    if (loops < 1)
        return song;
    const int passes = loops + static_cast<int>(fadePasses);
    return Unroller(song, *section, before, after, passes).Build(loops);
}

int ParseLoops(const std::string &text)
{
    const char *begin = text.c_str();
    char *end = nullptr;
    const long value = std::strtol(begin, &end, 10);
    while (*end == ' ' || *end == '\t')
        ++end;
    if (end == begin || *end != '\0')
        return 0;
    return static_cast<int>(std::clamp<long>(value, 0, kMaxLoops));
}

} // namespace mci
