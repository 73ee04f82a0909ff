#include "outside/rcpcv/song_file.h"

#include "outside/rcpcv/limits.h"
#include "outside/rcpcv/text.h"

namespace rcpcv {

namespace {

constexpr char kRcpMagic[] = "RCM-PC98V2.0(C)COME ON MUSIC";
constexpr char kG36Magic[] = "COME ON MUSIC RECOMPOSER RCP3.0";
constexpr size_t kMagicSize = 32;
constexpr uint8_t kTrackEnd = 0xFE;
constexpr uint8_t kTrackEndAlternative = 0xFF;
constexpr unsigned kDefaultTimebase = 48;
constexpr unsigned kDefaultTempo = 120;
constexpr unsigned kMaxTimebase = 0x7FFF;
constexpr unsigned kClassicTracks = 18;
constexpr int kUnsignedShiftThreshold = 99;

// Where the fields of one variant stand.
struct Layout
{
    size_t headerSize;
    size_t titleSize;
    size_t memoOffset;
    size_t memoLineSize;
    size_t userExclusiveOffset;
    size_t userExclusiveNameSize;
    size_t trackHeaderSize;
    size_t trackFieldsOffset; // the track number, after the length field
};

constexpr Layout kRcpLayout{0x586, 64, 0x60, 28, 0x406, 24, 44, 2};
constexpr Layout kG36Layout{0xC98, 128, 0xA0, 30, 0xB18, 23, 46, 4};
constexpr size_t kTitleOffset = 0x20;
constexpr size_t kMemoLines = 12;
constexpr size_t kUserExclusiveSize = 48;
constexpr size_t kControlNameSize = 16;
constexpr size_t kTrackNameSize = 36;

const Layout &LayoutOf(Variant variant)
{
    return variant == Variant::kRcp ? kRcpLayout : kG36Layout;
}

std::string ControlName(ByteView file, size_t offset)
{
    return FieldText(file.Sub(offset, kControlNameSize), false);
}

void AddControlFile(SongFile &song, ControlKind kind, int port, std::string name)
{
    if (!name.empty())
        song.controlFiles.push_back({kind, port, std::move(name)});
}

void SetBeat(SongFile &song, unsigned numerator, unsigned denominator)
{
    const bool powerOfTwo = denominator != 0 && (denominator & (denominator - 1)) == 0;
    if (numerator == 0 || !powerOfTwo)
        return; // keeps 4/4
    song.beatNumerator = numerator;
    song.beatDenominator = denominator;
}

// Returns the track count the header gives.
unsigned ReadRcpFields(ByteView file, SongFile &song)
{
    const unsigned trackCount = file.U8(0x1E6);
    // Early files (count 0) have no high byte of the timebase.
    song.timebase = file.U8(0x1C0) | (trackCount != 0 ? file.U8(0x1E7) << 8 : 0);
    song.tempo = file.U8(0x1C1);
    SetBeat(song, file.U8(0x1C2), file.U8(0x1C3));
    song.key = file.U8(0x1C4);
    song.playBias = static_cast<int8_t>(file.U8(0x1C5));
    AddControlFile(song, ControlKind::kCm6, 0, ControlName(file, 0x1C6));
    AddControlFile(song, ControlKind::kGsd, 0, ControlName(file, 0x1D6));
    return trackCount;
}

unsigned ReadG36Fields(ByteView file, SongFile &song)
{
    song.timebase = file.U16(0x20A);
    song.tempo = file.U16(0x20C);
    SetBeat(song, file.U8(0x20E), file.U8(0x20F));
    song.key = file.U8(0x210);
    song.playBias = static_cast<int8_t>(file.U8(0x211));
    AddControlFile(song, ControlKind::kGsd, 0, ControlName(file, 0x298));
    AddControlFile(song, ControlKind::kGsd, 1, ControlName(file, 0x2A8));
    AddControlFile(song, ControlKind::kCm6, 0, ControlName(file, 0x2B8));
    return file.U16(0x208);
}

void ReadCommonFields(ByteView file, const Layout &layout, SongFile &song)
{
    song.titleField = file.Sub(kTitleOffset, layout.titleSize);
    for (size_t line = 0; line < kMemoLines; ++line)
        song.memoLines.push_back(
            file.Sub(layout.memoOffset + line * layout.memoLineSize, layout.memoLineSize));
    for (size_t i = 0; i < song.userExclusives.size(); ++i) {
        const size_t entry = layout.userExclusiveOffset + i * kUserExclusiveSize;
        song.userExclusives[i].name = file.Sub(entry, layout.userExclusiveNameSize);
        song.userExclusives[i].data = file.Sub(entry + layout.userExclusiveNameSize,
                                               kUserExclusiveSize - layout.userExclusiveNameSize);
    }
}

// The length field as stored. RCP keeps bits 16-17 of long tracks in the low two bits,
// which are otherwise zero since every track is a whole number of 4-byte events.
size_t StatedLength(ByteView file, size_t start, Variant variant)
{
    if (variant == Variant::kG36)
        return file.U32(start);
    const uint16_t field = file.U16(start);
    return (field & 0xFFFCu) | static_cast<size_t>(field & 3u) << 16;
}

bool IsTrackEnd(uint8_t command)
{
    return command == kTrackEnd || command == kTrackEndAlternative;
}

bool StatedLengthHolds(ByteView file, size_t start, size_t stated, const Layout &layout,
                       size_t eventSize)
{
    if (stated < layout.trackHeaderSize || stated > file.Size() - start)
        return false;
    const size_t eventBytes = stated - layout.trackHeaderSize;
    if (eventBytes % eventSize != 0)
        return false;
    return eventBytes == 0 || IsTrackEnd(file.U8(start + stated - eventSize));
}

// The end of the track that starts at start (a file offset past its whole events).
size_t TrackEnd(ByteView file, size_t start, const Layout &layout, Variant variant)
{
    const size_t eventSize = EventSize(variant);
    const size_t stated = StatedLength(file, start, variant);
    if (StatedLengthHolds(file, start, stated, layout, eventSize))
        return start + stated;
    // The length field cannot be trusted: the track runs to its first track-end event,
    // or, cut short, to the last whole event in the file.
    size_t at = start + layout.trackHeaderSize;
    while (file.Size() - at >= eventSize) {
        at += eventSize;
        if (IsTrackEnd(file.U8(at - eventSize)))
            break;
    }
    return at;
}

TrackInfo ReadTrackHeader(ByteView file, size_t start, size_t end, const Layout &layout)
{
    const size_t fields = start + layout.trackFieldsOffset;
    TrackInfo track;
    track.channel = file.U8(fields + 2);
    track.keyShift = file.U8(fields + 3);
    track.stShiftByte = file.U8(fields + 4);
    track.stShift = static_cast<int8_t>(track.stShiftByte);
    track.muted = (file.U8(fields + 5) & 1) != 0;
    track.name = file.Sub(fields + 6, kTrackNameSize);
    track.events = file.Sub(start + layout.trackHeaderSize, end - (start + layout.trackHeaderSize));
    return track;
}

void ReadTracks(ByteView file, unsigned count, const Layout &layout, SongFile &song)
{
    size_t start = layout.headerSize;
    for (unsigned i = 0; i < count; ++i) {
        if (file.Size() - start < layout.trackHeaderSize)
            break;
        if (file.Sub(start, 4).StartsWith("RCFW", 4))
            break; // the footer some editors append after the last track
        const size_t end = TrackEnd(file, start, layout, song.variant);
        song.tracks.push_back(ReadTrackHeader(file, start, end, layout));
        start = end;
    }
}

// Some early RCP files store the start shift unsigned; a value no editor would give as a
// signed shift betrays them.
void ApplyUnsignedShifts(SongFile &song)
{
    bool unsignedShifts = false;
    for (const TrackInfo &track : song.tracks)
        unsignedShifts = unsignedShifts || track.stShift < -kUnsignedShiftThreshold ||
                         track.stShift > kUnsignedShiftThreshold;
    if (!unsignedShifts)
        return;
    for (TrackInfo &track : song.tracks)
        track.stShift = track.stShiftByte;
}

} // namespace

size_t EventSize(Variant variant)
{
    return variant == Variant::kRcp ? 4 : 6;
}

std::optional<Variant> DetectVariant(ByteView file)
{
    if (file.Size() < kMagicSize)
        return std::nullopt;
    if (file.StartsWith(kRcpMagic, sizeof kRcpMagic - 1))
        return Variant::kRcp;
    if (file.StartsWith(kG36Magic, sizeof kG36Magic))
        return Variant::kG36; // the magic text and its closing zero
    return std::nullopt;
}

ParseStatus ParseSongFile(ByteView file, SongFile &out)
{
    const std::optional<Variant> variant = DetectVariant(file);
    if (!variant)
        return ParseStatus::kNotASong;
    const Layout &layout = LayoutOf(*variant);
    if (file.Size() < layout.headerSize)
        return ParseStatus::kDamaged;

    SongFile song;
    song.variant = *variant;
    const unsigned storedCount =
        *variant == Variant::kRcp ? ReadRcpFields(file, song) : ReadG36Fields(file, song);
    if (song.timebase == 0)
        song.timebase = kDefaultTimebase;
    if (song.timebase > kMaxTimebase)
        return ParseStatus::kDamaged;
    if (song.tempo == 0)
        song.tempo = kDefaultTempo;
    ReadCommonFields(file, layout, song);

    const unsigned count = storedCount == 0 ? kClassicTracks : storedCount;
    ReadTracks(file, count < limits::kMaxTracks ? count : limits::kMaxTracks, layout, song);
    if (*variant == Variant::kRcp && storedCount == 0)
        ApplyUnsignedShifts(song);
    out = std::move(song);
    return ParseStatus::kOk;
}

} // namespace rcpcv
