#include "outside/rcpcv/setup_track.h"

#include "outside/rcpcv/file_io.h"
#include "outside/rcpcv/limits.h"
#include "outside/rcpcv/tempo_map.h"
#include "outside/rcpcv/text.h"

namespace rcpcv {

namespace {

// 10 bits a byte at 31,250 bits per second.
constexpr uint64_t kUsecPerByte = 320;

std::string FileNameFor(const ControlFileRef &ref)
{
    std::string name = BaseName(ref.name);
    if (!name.empty() && name.find('.') == std::string::npos)
        name += ref.kind == ControlKind::kCm6 ? ".CM6" : ".GSD";
    return name;
}

// The messages of a control file, judged by its content whatever the slot named it.
std::vector<SetupMessage> MessagesOf(ByteView data, const ControlFileRef &ref)
{
    std::vector<SetupMessage> messages =
        ref.kind == ControlKind::kCm6 ? Cm6Messages(data, ref.port) : GsdMessages(data, ref.port);
    if (messages.empty())
        messages = ref.kind == ControlKind::kCm6 ? GsdMessages(data, ref.port)
                                                 : Cm6Messages(data, ref.port);
    return messages;
}

uint64_t CeilDiv(uint64_t value, uint64_t divisor)
{
    return (value + divisor - 1) / divisor;
}

uint32_t MeasureTicks(const SongFile &song)
{
    const uint64_t ticks = uint64_t{song.beatNumerator} * song.timebase * 4 / song.beatDenominator;
    return static_cast<uint32_t>(ticks == 0 ? 1 : ticks);
}

} // namespace

Setup TimeSetup(std::vector<TimedSetupMessage> messages, uint32_t usecPerQuarter, unsigned timebase,
                uint32_t measureTicks)
{
    Setup setup;
    if (messages.empty())
        return setup;
    uint64_t usec = 0;
    for (TimedSetupMessage &timed : messages) {
        timed.tick = static_cast<uint32_t>(CeilDiv(usec * timebase, usecPerQuarter));
        usec += timed.message.bytes.size() * kUsecPerByte + timed.message.settleUsec;
    }
    const uint64_t ticks = CeilDiv(usec * timebase, usecPerQuarter);
    const uint64_t measures = ticks == 0 ? 1 : CeilDiv(ticks, measureTicks);
    setup.leadIn = static_cast<uint32_t>(measures * measureTicks);
    setup.messages = std::move(messages);
    return setup;
}

Setup BuildSetup(const SongFile &song, const std::string &folder)
{
    std::vector<TimedSetupMessage> timed;
    for (const ControlFileRef &ref : song.controlFiles) {
        const std::optional<std::string> path = FindIgnoringCase(folder, FileNameFor(ref));
        std::vector<uint8_t> data;
        if (!path || ReadRegularFile(*path, limits::kMaxControlFileBytes, data) != ReadStatus::kOk)
            continue;
        for (SetupMessage &message : MessagesOf(ByteView(data.data(), data.size()), ref))
            timed.push_back({std::move(message), 0, BaseName(*path)});
    }
    return TimeSetup(std::move(timed), UsecPerQuarter(song.tempo), song.timebase,
                     MeasureTicks(song));
}

} // namespace rcpcv
