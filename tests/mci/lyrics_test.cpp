#include "platform/mci/lyricreader.h"
#include "platform/mci/mediaplayer.h"
#include "platform/mci/silentoutput.h"
#include "platform/mci/smfparser.h"
#include "platform/mci/songfile.h"
#include "platform/textcodec.h"
#include "support/tempfolder.h"

#include "fixturepaths.h"
#include "songs.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace songs;

constexpr std::int64_t kMs = 1000000;

mci::Song Parse(const std::string &bytes)
{
    return mci::ParseSong(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
}

std::vector<QString> LineTexts(const mci::SongLyrics &lyrics)
{
    std::vector<QString> texts;
    for (const mci::LyricLine &line : lyrics.Lines())
        texts.push_back(line.text);
    return texts;
}

QString Sjis(const char *bytes)
{
    return platform::DecodeText(bytes);
}

// Catches syllable times taken from the wrong tempo, or added up from rounded steps.
TEST(Lyrics, SyllablesAreTimedByTheTempoMap)
{
    mci::SmfWriter w(480, 0);
    w.Tempo(0, 500000).Tempo(1920, 250000);
    w.Meta(0, 0x05, "one ").Meta(960, 0x05, "two ").Meta(1920, 0x05, "three/");
    w.Meta(2400, 0x05, "four ").Meta(2401, 0x05, "five");
    w.Event(0, NoteOn(0, 60)).EndAt(3840);
    const mci::SongLyrics lyrics = mci::ReadLyrics(Parse(w.Bytes()));

    ASSERT_EQ(LineTexts(lyrics), (std::vector<QString>{"one two three", "four five"}));
    const auto &first = lyrics.Lines()[0].syllables;
    const auto &second = lyrics.Lines()[1].syllables;
    EXPECT_EQ(first[1].startNs, 1000 * kMs);
    EXPECT_EQ(first[2].startNs, 2000 * kMs);
    EXPECT_EQ(second[0].startNs, 2250 * kMs);
    EXPECT_EQ(second[1].startNs, 2250 * kMs + 520833); // a tick at 240 bpm, rounded down
    EXPECT_EQ(first[2].offset, 8);
    EXPECT_EQ(first[2].length, 5); // "three", the code gone
}

// Catches a line shown when nothing is sung, or a sung part that runs ahead or lags.
TEST(Lyrics, TheSungPartFollowsThePosition)
{
    mci::LyricsBuilder builder;
    builder.Add(1000 * kMs, "Ma");
    builder.Add(1500 * kMs, "ry ");
    builder.Add(2000 * kMs, "had");
    builder.BreakLine();
    builder.Add(10000 * kMs, "a lamb");
    const mci::SongLyrics lyrics = builder.Finish();
    ASSERT_EQ(lyrics.Lines().size(), 2u);
    // Two syllables of 500 ms: the last is held twice as long.
    EXPECT_EQ(lyrics.Lines()[0].endNs, 3000 * kMs);

    EXPECT_FALSE(lyrics.At(999 * kMs).Active());
    const mci::LyricProgress start = lyrics.At(1000 * kMs);
    EXPECT_EQ(start.text, "Mary had");
    EXPECT_EQ(start.sung, 0);
    EXPECT_EQ(start.singing, 2);
    EXPECT_DOUBLE_EQ(start.fraction, 0.0);
    const mci::LyricProgress inside = lyrics.At(1750 * kMs);
    EXPECT_EQ(inside.sung, 2);
    EXPECT_EQ(inside.singing, 3);
    EXPECT_DOUBLE_EQ(inside.fraction, 0.5);
    const mci::LyricProgress last = lyrics.At(2999 * kMs);
    EXPECT_EQ(last.sung, 5);
    EXPECT_EQ(last.singing, 3);
    EXPECT_NEAR(last.fraction, 0.999, 1e-9);
    EXPECT_FALSE(lyrics.At(3000 * kMs).Active()); // between the lines
    EXPECT_EQ(lyrics.At(10000 * kMs).line, 1);
    // A line of one syllable is shown for a while, then nothing after the last line.
    EXPECT_TRUE(lyrics.At(14999 * kMs).Active());
    EXPECT_FALSE(lyrics.At(15000 * kMs).Active());
}

// Catches Soft Karaoke tags or other tracks' texts taken for lyrics, and its codes not read.
TEST(Lyrics, SoftKaraokeTextsWithTheirCodes)
{
    mci::SmfWriter w(480, 1);
    w.Track().Meta(0, 0x01, "@KMIDI KARAOKE FILE").Meta(0, 0x01, "A comment").EndAt(10);
    w.Track().Meta(0, 0x01, "@LENGL").Meta(0, 0x01, "@TTitle");
    w.Meta(480, 0x01, "\\Hel").Meta(600, 0x01, "lo ").Meta(720, 0x01, "world");
    w.Meta(960, 0x01, "/Next ").Meta(1200, 0x01, "line");
    w.Meta(1440, 0x01, "\\\x83\x5C\x83\x93\x83\x4F"); // Shift-JIS "song": its 5C is no code
    w.Meta(1500, 0x05, "not this").EndAt(1920);
    const mci::SongLyrics lyrics = mci::ReadLyrics(Parse(w.Bytes()));

    ASSERT_EQ(LineTexts(lyrics),
              (std::vector<QString>{"Hello world", "Next line", Sjis("\x83\x5C\x83\x93\x83\x4F")}));
    EXPECT_TRUE(lyrics.Lines()[0].paragraph);
    EXPECT_FALSE(lyrics.Lines()[1].paragraph);
    EXPECT_TRUE(lyrics.Lines()[2].paragraph);
    EXPECT_EQ(lyrics.WholeText(), "Hello world\nNext line\n\n" + Sjis("\x83\x5C\x83\x93\x83\x4F"));
}

// Catches a real Soft Karaoke file (tags but no karaoke mark) whose lyrics are missed.
TEST(Lyrics, TheFixtureKaraokeFile)
{
    const std::string path = fixtures::Path("midi/jazz-soft-test-midi-files/test-karaoke-kar.mid");
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << "no fixture " << path;
    const mci::SongLyrics lyrics = mci::ReadLyrics(Parse(mci::ReadSongFile(path)));
    ASSERT_EQ(lyrics.Lines().size(), 5u);
    EXPECT_EQ(lyrics.Lines()[0].text, "Mary was a little lame,");
    EXPECT_EQ(lyrics.Lines()[4].text, "A little lame was she!");
    // 100 ticks a quarter at 666667 microseconds: tick 75 is 500000.25 ms.
    EXPECT_EQ(lyrics.Lines()[0].syllables[1].startNs, 500000250);
    EXPECT_FALSE(lyrics.WholeText().contains("Testing"));
}

// Catches XF codes shown as characters, or Shift-JIS lyrics decoded as something else.
TEST(Lyrics, XfCodesWithShiftJisText)
{
    mci::SmfWriter w(480, 0);
    w.Meta(0, 0x05, "\x82\xb3").Meta(100, 0x05, "\x82\xad").Meta(200, 0x05, "\x82\xe7/");
    w.Meta(300, 0x05, "\x82\xa9^").Meta(400, 0x05, "\x82\xdc>\x82\xa6<");
    w.Meta(500, 0x05, "\x8d\xf7\r\n").Meta(600, 0x05, "end\r");
    w.EndAt(960);
    const mci::SongLyrics lyrics = mci::ReadLyrics(Parse(w.Bytes()));

    ASSERT_EQ(LineTexts(lyrics),
              (std::vector<QString>{QString::fromUtf8("さくら"), QString::fromUtf8("か ま え"),
                                    QString::fromUtf8("桜"), "end"}));
    EXPECT_TRUE(lyrics.Lines()[2].paragraph);
    EXPECT_FALSE(lyrics.Lines()[3].paragraph);
    EXPECT_EQ(lyrics.Lines()[1].syllables.size(), 2u);
}

// Catches lyrics a song opened on the device does not offer on the time line of Position.
TEST(Lyrics, TheDeviceOffersTheOpenSongsLyrics)
{
    testing_support::TempFolder folder;
    auto output = std::make_shared<mci::SilentOutput>();
    mci::TMediaPlayer player(output);
    mci::SmfWriter w(500, 0); // a tick is a millisecond
    w.Meta(1000, 0x05, "\xe6\xad\x8c ").Meta(1500, 0x05, "words").EndAt(4000);
    player.SetFileName(folder.Write("song.mid", w.Bytes()));
    player.Open();
    EXPECT_EQ(player.Lyrics().WholeText(), QString::fromUtf8("歌 words"));
    EXPECT_FALSE(player.LyricAt(999).Active());
    EXPECT_EQ(player.LyricAt(1500).sung, 2);
    player.Close();
    EXPECT_TRUE(player.Lyrics().Empty());
}

} // namespace
