#include "outside/rcpcv/track_converter.h"

#include "base/trimstring.h"

#include "outside/rcpcv/event_order.h"
#include "outside/rcpcv/exclusive.h"
#include "outside/rcpcv/limits.h"
#include "outside/rcpcv/track_events.h"
#include "outside/rcpcv/track_walker.h"

#include <algorithm>

namespace rcpcv {

namespace {

constexpr uint8_t kNoteOff = 0x80;
constexpr uint8_t kNoteOn = 0x90;
constexpr uint8_t kPolyPressure = 0xA0;
constexpr uint8_t kControl = 0xB0;
constexpr uint8_t kProgramChange = 0xC0;
constexpr uint8_t kChannelPressureStatus = 0xD0;
constexpr uint8_t kPitchBendStatus = 0xE0;
constexpr uint8_t kNoteOffVelocity = 0x40;
constexpr uint8_t kBankMsb = 0;
constexpr uint8_t kBankLsb = 32;
constexpr uint8_t kNoOutput = 0xFF;
constexpr int kChannels = 16;
constexpr int kKeys = 128;
constexpr size_t kSlots = 2 * kChannels * kKeys;
constexpr size_t kNoteEventBytes = 6;
constexpr size_t kReservedEvents = 16384;

std::string Meta(uint8_t type, const std::string &data)
{
    return std::string{static_cast<char>(0xFF), static_cast<char>(type)} + data;
}

std::string Channel(uint8_t status, uint8_t channel, uint8_t d1)
{
    return {static_cast<char>(status | channel), static_cast<char>(d1 & 0x7F)};
}

std::string Channel(uint8_t status, uint8_t channel, uint8_t d1, uint8_t d2)
{
    return Channel(status, channel, d1) + static_cast<char>(d2 & 0x7F);
}

// Text carried by comment and external-command events, without its padding.
std::string TrimPadding(std::string text)
{
    return base::TrimEnd(std::move(text),
                         [](unsigned char c) { return c == 0xF7 || c == 0x20 || c == 0x00; });
}

int SignedSeven(uint8_t value)
{
    const int shift = value & 0x7F;
    return shift >= 0x40 ? shift - 0x80 : shift;
}

struct SoundingNote
{
    int port;
    uint8_t channel;
    uint8_t key;
    int64_t off;
    // Where its note-on stands in the port's events.
    size_t onIndex;
};

struct DeviceAddress
{
    uint8_t device;
    uint8_t model;
    uint8_t high;
    uint8_t middle;
};

class TrackConverter
{
public:
    TrackConverter(const SongFile &song, const TrackInfo &track, int64_t offset, Budget &budget)
        : song_(song)
        , budget_(budget)
        , events_(track.events, song.variant)
        , walker_(events_)
        , shift_(offset + track.stShift)
        , transpose_((track.keyShift & 0x80) != 0 ? 0 : SignedSeven(track.keyShift) + song.playBias)
    {
        SetChannel(track.channel);
        out_.homePort = port_;
        // Room for one pass through a typical track; loops grow it as needed.
        const size_t expected = std::min(events_.Count(), kReservedEvents);
        out_.ports[port_].reserve(expected);
        out_.noteOffs[port_].reserve(expected / 2);
    }

    TrackOutput Run()
    {
        PlayedEvent played;
        while (walker_.Next(played)) {
            if (!Handle(played)) {
                walker_.Stop();
                break;
            }
        }
        int64_t end = walker_.Now();
        for (const SoundingNote &note : sounding_) {
            end = std::max(end, note.off);
            FinishNote(note);
        }
        out_.endTick = static_cast<uint32_t>(SongTick(end));
        for (std::vector<SmfEvent> &offs : out_.noteOffs)
            SortEvents(offs);
        return std::move(out_);
    }

private:
    // The header byte: 0xFF none, 0x00-0x0F port A, 0x10-0x1F port B; others none.
    void SetChannel(uint8_t value)
    {
        if (value == kNoOutput || value >= 2 * kChannels) {
            channel_ = -1;
            return;
        }
        channel_ = value % kChannels;
        port_ = value / kChannels;
    }

    bool HasOutput() const { return channel_ >= 0; }
    uint8_t Ch() const { return static_cast<uint8_t>(channel_); }

    int64_t SongTick(int64_t tick) const
    {
        return std::clamp<int64_t>(tick + shift_, 0, limits::kMaxTick);
    }

    SmfEvent Event(int64_t tick, std::string bytes, uint32_t seq) const
    {
        return {static_cast<uint32_t>(SongTick(tick)), seq, std::move(bytes)};
    }

    bool Take(size_t count, size_t bytes) { return budget_.Take(count, bytes); }

    // A message to the current port; false when the budget is spent.
    bool Send(int64_t tick, std::string bytes)
    {
        if (!HasOutput() || bytes.empty())
            return true;
        if (!Take(1, bytes.size()))
            return false;
        out_.ports[port_].push_back(Event(tick, std::move(bytes), ++seq_));
        out_.usedPorts |= 1u << port_;
        return true;
    }

    bool Text(int64_t tick, uint8_t type, std::string text)
    {
        if (text.empty())
            return true;
        std::string bytes = Meta(type, text);
        if (!Take(1, bytes.size()))
            return false;
        out_.texts.push_back(Event(tick, std::move(bytes), ++seq_));
        return true;
    }

    bool Handle(const PlayedEvent &played)
    {
        const uint8_t command = played.event.command;
        if (command < 0x80)
            return Note(played.tick, played.event);
        if (command < command::kYamahaFirst)
            return ExclusiveCommand(played);
        if (command < 0xE0)
            return DeviceCommand(played.tick, played.event);
        if (command < command::kKeySignature)
            return ChannelCommand(played.tick, played.event);
        return TextCommand(played);
    }

    // User and track exclusives, external commands.
    bool ExclusiveCommand(const PlayedEvent &played)
    {
        const TrackEvent &e = played.event;
        if (e.command >= command::kUserExclusive0 && e.command <= command::kUserExclusive7)
            return SendUserExclusive(played.tick, e);
        if (e.command == command::kTrackExclusive)
            return TrackExclusive(played.tick, played.index, e);
        if (e.command == command::kExternal)
            return Text(played.tick, 0x07, LongText(played.index, false));
        return true;
    }

    // Shortcuts for Yamaha and Roland modules, and the device and address they use.
    bool DeviceCommand(int64_t t, const TrackEvent &e)
    {
        const auto p1 = static_cast<uint8_t>(e.p1);
        switch (e.command) {
        case command::kYamahaBase:
            yamaha_.high = p1;
            yamaha_.middle = e.p2;
            return true;
        case command::kYamahaDevice:
            yamaha_.device = p1;
            yamaha_.model = e.p2;
            return true;
        case command::kYamahaParameter:
            return Yamaha(t, yamaha_.device, yamaha_.model, p1, e.p2);
        case command::kXgParameter:
            return Yamaha(t, 0x10, 0x4C, p1, e.p2);
        case command::kMks7:
            return !HasOutput() || Send(t, Mks7(p1, e.p2));
        case command::kRolandBase:
            roland_.high = p1;
            roland_.middle = e.p2;
            return true;
        case command::kRolandDevice:
            roland_.device = p1;
            roland_.model = e.p2;
            return true;
        case command::kRolandParameter:
            return RolandParameter(t, p1, e.p2);
        default:
            return !HasOutput() || Send(t, YamahaShortcut(e.command, Ch(), e.p1, e.p2));
        }
    }

    bool ChannelCommand(int64_t t, const TrackEvent &e)
    {
        const auto p1 = static_cast<uint8_t>(e.p1);
        switch (e.command) {
        case command::kBankLsbProgram:
            return Send(t, Channel(kControl, Ch(), kBankLsb, e.p2)) &&
                   Send(t, Channel(kProgramChange, Ch(), p1));
        case command::kBankMsbProgram:
            return Send(t, Channel(kControl, Ch(), kBankMsb, e.p2)) &&
                   Send(t, Channel(kProgramChange, Ch(), p1));
        case command::kChannel:
            ChangeChannel(e.p1);
            return true;
        case command::kTempo:
            return Tempo(t, e);
        case command::kChannelPressure:
            return Send(t, Channel(kChannelPressureStatus, Ch(), p1));
        case command::kControlChange:
            return Send(t, Channel(kControl, Ch(), p1, e.p2));
        case command::kProgram:
            return Send(t, Channel(kProgramChange, Ch(), p1));
        case command::kKeyPressure:
            return KeyPressure(t, p1, e.p2);
        case command::kPitchBend:
            return Send(t, Channel(kPitchBendStatus, Ch(), p1, e.p2));
        default:
            return true; // key scan and unknown commands do nothing in playback
        }
    }

    bool TextCommand(const PlayedEvent &played)
    {
        if (played.event.command == command::kKeySignature)
            return KeySignature(played.tick, static_cast<uint8_t>(played.event.step));
        if (played.event.command == command::kComment)
            return Text(played.tick, 0x01, LongText(played.index, true));
        return true;
    }

    // A note plays for its gate time; the same key struck again while it still sounds
    // ties on: no new note-on, the note now ends one gate time after the new event.
    bool Note(int64_t t, const TrackEvent &e)
    {
        const uint8_t velocity = e.p2 & 0x7F;
        const int key = e.command + transpose_;
        if (!HasOutput() || e.p1 == 0 || velocity == 0 || key < 0 || key >= kKeys)
            return true;
        const size_t slot =
            (static_cast<size_t>(port_) * kChannels + Ch()) * kKeys + static_cast<size_t>(key);
        if (slots_[slot] != 0) {
            SoundingNote &note = sounding_[slots_[slot] - 1];
            if (note.off > t) {
                note.off = t + e.p1;
                return true;
            }
            FinishNote(note);
            Release(slot);
        }
        if (!Take(2, kNoteEventBytes))
            return false;
        auto &events = out_.ports[port_];
        events.push_back(
            Event(t, Channel(kNoteOn, Ch(), static_cast<uint8_t>(key), velocity), ++seq_));
        sounding_.push_back({port_, Ch(), static_cast<uint8_t>(key), t + e.p1, events.size() - 1});
        slots_[slot] = static_cast<uint16_t>(sounding_.size());
        out_.usedPorts |= 1u << port_;
        return true;
    }

    // Drops the sounding note in slot, keeping the list dense.
    void Release(size_t slot)
    {
        const size_t index = slots_[slot] - 1u;
        slots_[slot] = 0;
        if (index + 1 != sounding_.size()) {
            sounding_[index] = sounding_.back();
            const SoundingNote &moved = sounding_[index];
            slots_[(static_cast<size_t>(moved.port) * kChannels + moved.channel) * kKeys +
                   moved.key] = static_cast<uint16_t>(index + 1);
        }
        sounding_.pop_back();
    }

    // Ends a note. A note moved wholly before the start of the song is dropped.
    void FinishNote(const SoundingNote &note)
    {
        if (note.off + shift_ <= 0) {
            out_.ports[note.port][note.onIndex].bytes.clear();
            return;
        }
        out_.noteOffs[note.port].push_back(
            Event(note.off, Channel(kNoteOff, note.channel, note.key, kNoteOffVelocity), 0));
    }

    bool KeyPressure(int64_t t, uint8_t key, uint8_t value)
    {
        const int shifted = (key & 0x7F) + transpose_;
        if (shifted < 0 || shifted >= kKeys)
            return true;
        return Send(t, Channel(kPolyPressure, Ch(), static_cast<uint8_t>(shifted), value));
    }

    // E6 numbers channels from 1: 1-16 port A, 17-32 port B; 0 turns output off.
    void ChangeChannel(uint16_t value)
    {
        if (value == 0)
            channel_ = -1;
        else if (value <= 2 * kChannels)
            SetChannel(static_cast<uint8_t>(value - 1));
    }

    ExclusiveParams Params(const TrackEvent &e) const
    {
        return {static_cast<uint8_t>(e.p1), e.p2, HasOutput() ? Ch() : uint8_t{0}};
    }

    bool SendUserExclusive(int64_t t, const TrackEvent &e)
    {
        const rcpcv::UserExclusive &entry =
            song_.userExclusives[e.command - command::kUserExclusive0];
        return !HasOutput() || Send(t, ExpandExclusive(entry.data, Params(e)));
    }

    bool TrackExclusive(int64_t t, size_t index, const TrackEvent &e)
    {
        if (!HasOutput())
            return true;
        std::string data;
        events_.AppendLongData(index, false, data);
        const ByteView tmpl(reinterpret_cast<const uint8_t *>(data.data()), data.size());
        return Send(t, ExpandExclusive(tmpl, Params(e)));
    }

    std::string LongText(size_t index, bool withOwn) const
    {
        std::string text;
        events_.AppendLongData(index, withOwn, text);
        return TrimPadding(std::move(text));
    }

    bool Yamaha(int64_t t, uint8_t device, uint8_t model, uint8_t low, uint8_t value)
    {
        if (!HasOutput())
            return true;
        const uint8_t bytes[] = {0xF0,           0x43, device, model, yamaha_.high,
                                 yamaha_.middle, low,  value,  0xF7};
        std::string message(reinterpret_cast<const char *>(bytes), sizeof bytes);
        for (size_t i = 1; i + 1 < message.size(); ++i)
            message[i] = static_cast<char>(message[i] & 0x7F);
        return Send(t, std::move(message));
    }

    std::string Mks7(uint8_t p1, uint8_t p2) const
    {
        const uint8_t bytes[] = {0xF0,
                                 0x41,
                                 0x32,
                                 Ch(),
                                 static_cast<uint8_t>(p1 & 0x7F),
                                 static_cast<uint8_t>(p2 & 0x7F),
                                 0xF7};
        return {reinterpret_cast<const char *>(bytes), sizeof bytes};
    }

    bool RolandParameter(int64_t t, uint8_t low, uint8_t value)
    {
        if (!HasOutput())
            return true;
        const uint8_t data = value;
        return Send(t, RolandDataSet(roland_.device, roland_.model,
                                     RolandAddress(roland_.high, roland_.middle, low),
                                     ByteView(&data, 1)));
    }

    bool Tempo(int64_t t, const TrackEvent &e)
    {
        const TempoRequest request{SongTick(t), e.p1, e.p2};
        if (!Take(TempoPointsOf(request), 0))
            return false;
        out_.tempo.push_back(request);
        return true;
    }

    bool KeySignature(int64_t t, uint8_t key)
    {
        std::string bytes = KeySignatureEvent(key);
        if (!Take(1, bytes.size()))
            return false;
        out_.keySignatures.push_back(Event(t, std::move(bytes), ++seq_));
        return true;
    }

    const SongFile &song_;
    Budget &budget_;
    const EventList events_;
    TrackWalker walker_;
    const int64_t shift_;
    const int transpose_;
    int channel_ = -1;
    int port_ = 0;
    DeviceAddress roland_{0x10, 0x16, 0x00, 0x10};
    DeviceAddress yamaha_{0x10, 0x4C, 0x00, 0x00};
    std::vector<SoundingNote> sounding_;
    std::array<uint16_t, kSlots> slots_{}; // index + 1 into sounding_, 0 for none
    uint32_t seq_ = 0;
    TrackOutput out_;
};

} // namespace

std::string KeySignatureEvent(uint8_t key)
{
    const int accidentals = key & 0x07;
    const int sharpsOrFlats = (key & 0x08) != 0 ? -accidentals : accidentals;
    const std::string data{static_cast<char>(sharpsOrFlats),
                           static_cast<char>((key & 0x10) != 0 ? 1 : 0)};
    return Meta(0x59, data);
}

TrackOutput ConvertTrack(const SongFile &song, const TrackInfo &track, int64_t offset,
                         Budget &budget)
{
    return TrackConverter(song, track, offset, budget).Run();
}

} // namespace rcpcv
