#pragma once
// A song's lyrics: lines of syllables on the song's time line, and what of a line has been
// sung at a given moment.
//
// Each syllable is sung from its start until the next syllable of its line starts; the
// last one until the line's end. A line is shown from its first syllable to its end, so
// nothing is shown before the first line, between a line's end and the next line's
// start, or after the last line (LyricsBuilder sets the ends).

#include <QString>

#include <cstdint>
#include <vector>

namespace mci {

struct LyricSyllable
{
    std::int64_t startNs = 0; // song time it is sung at
    int offset = 0;           // where its characters start in the line's text
    int length = 0;           // its characters (UTF-16 code units, as QString counts), > 0
};

struct LyricLine
{
    QString text;                         // the line as shown: its syllables one after another
    std::vector<LyricSyllable> syllables; // in time order; at least one
    std::int64_t endNs = 0;               // when it has been sung (>= the last syllable's start)
    bool paragraph = false;               // it starts a paragraph (a verse, a new page)

    std::int64_t StartNs() const { return syllables.front().startNs; }
};

// Where singing stands at one moment.
struct LyricProgress
{
    int line = -1;       // the line being sung (index into SongLyrics::Lines()); -1 for none
    QString text;        // that line's text; empty for none
    int sung = 0;        // characters of text already sung: the syllables before the current one
    int singing = 0;     // characters of the syllable being sung, right after those
    double fraction = 0; // how much of that syllable has been sung, 0 to below 1

    bool Active() const { return line >= 0; }
};

class SongLyrics
{
public:
    SongLyrics() = default;
    // lines in time order, each as LyricLine describes.
    explicit SongLyrics(std::vector<LyricLine> lines);

    bool Empty() const { return lines_.empty(); }
    const std::vector<LyricLine> &Lines() const { return lines_; }

    // What is being sung at song time ns.
    LyricProgress At(std::int64_t ns) const;

    // Every line, joined with line feeds; a paragraph after the first is set off by an
    // empty line. Empty without lyrics.
    QString WholeText() const;

private:
    std::vector<LyricLine> lines_;
};

// Gathers syllables into lines as a song's lyric events come, in time order.
class LyricsBuilder
{
public:
    // A line whose last syllable has nothing after it is shown for as long as its
    // syllables took on average, twice over, within these bounds; a line of one syllable
    // for kSingleHoldNs. It ends earlier when the next line starts.
    static constexpr std::int64_t kMinHoldNs = 500000000;
    static constexpr std::int64_t kMaxHoldNs = 3000000000;
    static constexpr std::int64_t kSingleHoldNs = 5000000000;

    // Text sung at ns, added to the current line. Blanks that would start a line are
    // dropped; empty text adds nothing.
    void Add(std::int64_t ns, QString text);
    // Ends the current line; the next text starts a new one (of a new paragraph).
    void BreakLine();
    void BreakParagraph();

    SongLyrics Finish();

private:
    void EndLine();

    std::vector<LyricLine> lines_;
    LyricLine current_;
    bool paragraph_ = true;
};

} // namespace mci
