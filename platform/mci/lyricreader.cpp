#include "platform/mci/lyricreader.h"

#include "platform/textcodec.h"

#include <map>

namespace mci {

namespace {

constexpr std::uint8_t kText = 0x01;
constexpr std::uint8_t kLyric = 0x05;

bool StartsWith(const std::string &text, const char *prefix)
{
    return text.rfind(prefix, 0) == 0;
}

bool IsTag(const SongText &text)
{
    return !text.bytes.empty() && text.bytes[0] == '@';
}

bool IsSoftKaraoke(const Song &song)
{
    bool tagged = false;
    bool marked = false;
    for (const SongText &text : song.texts) {
        if (text.type != kText)
            continue;
        if (StartsWith(text.bytes, "@KMIDI KARAOKE FILE"))
            return true;
        tagged = tagged || StartsWith(text.bytes, "@T") || StartsWith(text.bytes, "@L");
        marked = marked || StartsWith(text.bytes, "/") || StartsWith(text.bytes, "\\");
    }
    return tagged && marked;
}

bool IsLyric(const SongText &text, std::uint8_t type)
{
    return text.type == type && !(type == kText && IsTag(text));
}

// The track with the most lyrics of the type; -1 when there are none.
int LyricTrack(const Song &song, std::uint8_t type)
{
    std::map<int, int> counts;
    for (const SongText &text : song.texts)
        if (IsLyric(text, type))
            ++counts[text.track];
    int best = -1;
    int most = 0;
    for (const auto &[track, count] : counts) {
        if (count > most) {
            best = track;
            most = count;
        }
    }
    return best;
}

// Feeds one event's text to the builder, reading its codes.
void ReadEvent(const QString &text, std::int64_t ns, bool softKaraoke, LyricsBuilder &lyrics)
{
    QString syllable;
    const auto flush = [&] {
        lyrics.Add(ns, syllable);
        syllable.clear();
    };
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '/' || u == '\r' || u == '\n') {
            flush();
            lyrics.BreakLine();
        } else if (softKaraoke ? u == '\\' : u == '<') {
            flush();
            lyrics.BreakParagraph();
        } else if (!softKaraoke && (u == '^' || u == '>')) {
            syllable += QLatin1Char(' ');
        } else if (u >= 0x20 && u != 0x7F) {
            syllable += c;
        }
    }
    flush();
}

} // namespace

SongLyrics ReadLyrics(const Song &song)
{
    bool softKaraoke = IsSoftKaraoke(song);
    int track = softKaraoke ? LyricTrack(song, kText) : -1;
    if (track < 0) {
        softKaraoke = false;
        track = LyricTrack(song, kLyric);
    }
    LyricsBuilder lyrics;
    if (track < 0)
        return lyrics.Finish();
    const std::uint8_t type = softKaraoke ? kText : kLyric;
    for (const SongText &text : song.texts)
        if (text.track == track && IsLyric(text, type))
            ReadEvent(platform::DecodeText(text.bytes), song.tempo.TickToNs(text.tick), softKaraoke,
                      lyrics);
    return lyrics.Finish();
}

} // namespace mci
