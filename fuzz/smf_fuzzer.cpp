// The song reader (Standard MIDI Files and RIFF RMID) and the tempo map it builds: any
// bytes either make a song whose times are consistent or are refused with SongFormatError.
// The song is then played through on the silent output, on a virtual clock.

#include "fuzzsupport.h"

#include "platform/mci/chase.h"
#include "platform/mci/silentoutput.h"
#include "platform/mci/smfparser.h"

#include <chrono>
#include <cstdint>
#include <memory>

namespace {

void CheckTimes(const mci::Song &song)
{
    std::int64_t previousNs = 0;
    for (std::size_t i = 0; i < song.events.size(); ++i) {
        const std::int64_t tick = song.events[i].tick;
        if (tick < 0 || tick > song.lengthTicks)
            fuzzing::Fail("an event lies outside the song");
        const std::int64_t ns = song.EventNs(i);
        if (ns < previousNs)
            fuzzing::Fail("event times go backwards");
        previousNs = ns;
        // Converting back must land on the tick or on a later tick of the same time.
        const std::int64_t back = song.tempo.NsToTick(ns);
        if (back < tick || song.tempo.TickToNs(back) != ns)
            fuzzing::Fail("NsToTick does not invert TickToNs");
    }
    if (song.lengthNs < previousNs)
        fuzzing::Fail("the song ends before its last event");
}

void PlayThrough(const mci::Song &parsed)
{
    auto song = std::make_shared<const mci::Song>(parsed);
    auto clock = std::make_shared<mci::VirtualClock>();
    mci::SilentOutput output(clock, mci::SilentOutput::Options{44100, false});
    mci::PlayRequest request;
    request.song = song;
    request.firstEvent = song->FirstEventAtOrAfter(song->lengthNs / 2);
    request.startNs = song->lengthNs / 2;
    request.prelude = mci::ChaseMessages(*song, request.firstEvent);
    output.Start(std::move(request));
    clock->Advance(std::chrono::nanoseconds(song->lengthNs - song->lengthNs / 2));
    if (!output.Ended() || output.PositionNs() != song->lengthNs)
        fuzzing::Fail("the song did not end at its length");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    mci::Song song;
    try {
        song = mci::ParseSong(data, size);
    } catch (const mci::SongFormatError &) {
        return 0;
    }
    CheckTimes(song);
    PlayThrough(song);
    return 0;
}
