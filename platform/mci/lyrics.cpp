#include "platform/mci/lyrics.h"

#include <algorithm>

namespace mci {

SongLyrics::SongLyrics(std::vector<LyricLine> lines)
    : lines_(std::move(lines))
{
}

LyricProgress SongLyrics::At(std::int64_t ns) const
{
    LyricProgress progress;
    const auto after =
        std::upper_bound(lines_.begin(), lines_.end(), ns,
                         [](std::int64_t t, const LyricLine &line) { return t < line.StartNs(); });
    if (after == lines_.begin())
        return progress;
    const LyricLine &line = *(after - 1);
    if (ns >= line.endNs)
        return progress;
    const auto next = std::upper_bound(
        line.syllables.begin(), line.syllables.end(), ns,
        [](std::int64_t t, const LyricSyllable &syllable) { return t < syllable.startNs; });
    const LyricSyllable &syllable = *(next - 1);
    const std::int64_t endNs = next == line.syllables.end() ? line.endNs : next->startNs;
    progress.line = static_cast<int>(after - 1 - lines_.begin());
    progress.text = line.text;
    progress.sung = syllable.offset;
    progress.singing = syllable.length;
    if (endNs > syllable.startNs)
        progress.fraction = static_cast<double>(ns - syllable.startNs) /
                            static_cast<double>(endNs - syllable.startNs);
    return progress;
}

QString SongLyrics::WholeText() const
{
    QString text;
    for (const LyricLine &line : lines_) {
        if (!text.isEmpty())
            text += line.paragraph ? QStringLiteral("\n\n") : QStringLiteral("\n");
        text += line.text;
    }
    return text;
}

void LyricsBuilder::Add(std::int64_t ns, QString text)
{
    if (current_.syllables.empty()) {
        const auto blank =
            std::find_if(text.begin(), text.end(), [](QChar c) { return !c.isSpace(); });
        text.remove(0, static_cast<int>(blank - text.begin()));
    }
    if (text.isEmpty())
        return;
    LyricSyllable syllable;
    syllable.startNs = ns;
    syllable.offset = static_cast<int>(current_.text.size());
    syllable.length = static_cast<int>(text.size());
    current_.syllables.push_back(syllable);
    current_.text += text;
}

void LyricsBuilder::BreakLine()
{
    EndLine();
}

void LyricsBuilder::BreakParagraph()
{
    EndLine();
    paragraph_ = true;
}

// Blanks at the end of a line are not shown: the syllables lose them (and a syllable of
// nothing but blanks goes).
void LyricsBuilder::EndLine()
{
    if (current_.syllables.empty())
        return;
    while (!current_.text.isEmpty() && current_.text.back().isSpace())
        current_.text.chop(1);
    const int size = static_cast<int>(current_.text.size());
    while (current_.syllables.back().offset >= size)
        current_.syllables.pop_back();
    LyricSyllable &last = current_.syllables.back();
    last.length = std::min(last.length, size - last.offset);
    current_.paragraph = paragraph_;
    paragraph_ = false;
    lines_.push_back(std::move(current_));
    current_ = LyricLine();
}

SongLyrics LyricsBuilder::Finish()
{
    EndLine();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        LyricLine &line = lines_[i];
        const std::int64_t last = line.syllables.back().startNs;
        const auto gaps = static_cast<std::int64_t>(line.syllables.size()) - 1;
        const std::int64_t hold =
            gaps > 0 ? std::clamp(2 * (last - line.StartNs()) / gaps, kMinHoldNs, kMaxHoldNs)
                     : kSingleHoldNs;
        line.endNs = last + hold;
        if (i + 1 < lines_.size())
            line.endNs = std::max(last, std::min(line.endNs, lines_[i + 1].StartNs()));
    }
    return SongLyrics(std::move(lines_));
}

} // namespace mci
