#include "outside/rcpcv/converter.h"

#include "outside/rcpcv/budget.h"
#include "outside/rcpcv/event_order.h"
#include "outside/rcpcv/setup_track.h"
#include "outside/rcpcv/song_file.h"
#include "outside/rcpcv/tempo_map.h"
#include "outside/rcpcv/text.h"
#include "outside/rcpcv/track_converter.h"

#include <algorithm>

namespace rcpcv {

namespace {

constexpr uint8_t kTrackName = 0x03;
constexpr uint8_t kText = 0x01;
constexpr uint8_t kTempo = 0x51;
constexpr uint8_t kTimeSignature = 0x58;
constexpr uint8_t kPort = 0x21;
constexpr char kClocksPerClick = 24;
constexpr char kThirtySecondsPerQuarter = 8;
constexpr unsigned kBothPorts = 3;

std::string Meta(uint8_t type, const std::string &data)
{
    return std::string{static_cast<char>(0xFF), static_cast<char>(type)} + data;
}

std::string TimeSignatureData(unsigned numerator, unsigned denominator)
{
    char power = 0;
    while ((1u << power) < denominator)
        ++power;
    return {static_cast<char>(numerator), power, kClocksPerClick, kThirtySecondsPerQuarter};
}

std::string TempoData(uint32_t usec)
{
    return {static_cast<char>(usec >> 16), static_cast<char>(usec >> 8), static_cast<char>(usec)};
}

std::string PortData(int port)
{
    return std::string{static_cast<char>(port)};
}

struct ConvertedTrack
{
    const TrackInfo *info;
    TrackOutput output;
};

class SongAssembler
{
public:
    SongAssembler(const SongFile &file, const Setup &setup)
        : file_(file)
        , setup_(setup)
    {
    }

    Song Assemble(std::vector<ConvertedTrack> tracks)
    {
        unsigned used = 0;
        for (const ConvertedTrack &track : tracks)
            used |= track.output.usedPorts;
        for (const TimedSetupMessage &timed : setup_.messages)
            used |= 1u << timed.message.port;
        bothPorts_ = used == kBothPorts;

        Song song;
        song.division = static_cast<uint16_t>(file_.timebase);
        song.tracks.push_back(Conductor(tracks));
        AddSetupTracks(song);
        for (ConvertedTrack &track : tracks)
            AddMusicTracks(song, track);
        uint32_t end = 0;
        for (const SmfTrack &track : song.tracks)
            end = std::max(end, track.endTick);
        song.tracks.front().endTick = end;
        return song;
    }

private:
    void Add(SmfTrack &track, uint32_t tick, std::string bytes)
    {
        track.events.push_back({tick, ++seq_, std::move(bytes)});
    }

    SmfTrack Conductor(std::vector<ConvertedTrack> &tracks)
    {
        SmfTrack conductor;
        Add(conductor, 0, Meta(kTrackName, TitleText(file_.titleField)));
        for (const ByteView &line : file_.memoLines) {
            std::string text = FieldText(line, true);
            if (!text.empty())
                Add(conductor, 0, Meta(kText, text));
        }
        Add(conductor, 0,
            Meta(kTimeSignature, TimeSignatureData(file_.beatNumerator, file_.beatDenominator)));
        Add(conductor, 0, KeySignatureEvent(file_.key));

        std::vector<TempoRequest> requests;
        for (ConvertedTrack &track : tracks) {
            requests.insert(requests.end(), track.output.tempo.begin(), track.output.tempo.end());
            for (SmfEvent &event : track.output.keySignatures)
                Add(conductor, event.tick, std::move(event.bytes));
        }
        for (const TempoPoint &point : BuildTempoMap(file_.tempo, file_.timebase, requests)) {
            Add(conductor, point.tick, Meta(kTempo, TempoData(point.usecPerQuarter)));
            conductor.endTick = std::max(conductor.endTick, point.tick);
        }
        SortEvents(conductor.events);
        return conductor;
    }

    void AddSetupTracks(Song &song) const
    {
        for (int port = 0; port < 2; ++port) {
            std::vector<SmfEvent> events;
            std::string name;
            for (const TimedSetupMessage &timed : setup_.messages) {
                if (timed.message.port != port)
                    continue;
                if (name.find(timed.source) == std::string::npos)
                    name += (name.empty() ? "" : ", ") + timed.source;
                events.push_back({timed.tick, 1, timed.message.bytes});
            }
            if (events.empty())
                continue;
            SmfTrack track;
            track.events = MergeEvents(Heads(name, port), {std::move(events)});
            track.endTick = setup_.leadIn;
            song.tracks.push_back(std::move(track));
        }
    }

    void AddMusicTracks(Song &song, ConvertedTrack &track) const
    {
        TrackOutput &output = track.output;
        // Texts stay with the music: on the one port used, else where the track starts.
        int textPort = output.homePort;
        if (output.usedPorts == 1 || output.usedPorts == 2)
            textPort = output.usedPorts == 1 ? 0 : 1;
        const std::string name = FieldText(track.info->name, false);
        for (int port = 0; port < 2; ++port) {
            std::vector<std::vector<SmfEvent>> lists;
            // Note-offs first within a tick: a note ending where the next one starts is
            // released before it.
            lists.push_back(std::move(output.noteOffs[port]));
            lists.push_back(std::move(output.ports[port]));
            if (port == textPort)
                lists.push_back(std::move(output.texts));
            std::vector<std::string> heads = Heads(name, port);
            const size_t headCount = heads.size();
            SmfTrack part;
            part.events = MergeEvents(std::move(heads), std::move(lists));
            part.endTick = output.endTick;
            if (part.events.size() > headCount) // a port with nothing to play has no track
                song.tracks.push_back(std::move(part));
        }
    }

    std::vector<std::string> Heads(const std::string &name, int port) const
    {
        std::vector<std::string> heads;
        if (!name.empty())
            heads.push_back(Meta(kTrackName, name));
        if (bothPorts_)
            heads.push_back(Meta(kPort, PortData(port)));
        return heads;
    }

    const SongFile &file_;
    const Setup &setup_;
    bool bothPorts_ = false;
    uint32_t seq_ = 0;
};

} // namespace

ConvertStatus ConvertSong(ByteView file, const ConvertOptions &options, Song &out)
{
    SongFile song;
    switch (ParseSongFile(file, song)) {
    case ParseStatus::kNotASong:
        return ConvertStatus::kNotASong;
    case ParseStatus::kDamaged:
        return ConvertStatus::kDamaged;
    case ParseStatus::kOk:
        break;
    }
    const Setup setup =
        options.controlFolder.empty() ? Setup{} : BuildSetup(song, options.controlFolder);

    Budget budget;
    std::vector<ConvertedTrack> tracks;
    for (const TrackInfo &track : song.tracks) {
        if (!track.muted)
            tracks.push_back({&track, ConvertTrack(song, track, setup.leadIn, budget)});
    }
    out = SongAssembler(song, setup).Assemble(std::move(tracks));
    return ConvertStatus::kOk;
}

} // namespace rcpcv
