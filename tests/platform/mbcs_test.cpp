#include "platform/mbcs.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

// Restores UTF-8 after tests that switch the process to Shift-JIS.
class CodePageTest : public ::testing::Test
{
protected:
    void TearDown() override { SetCodePage(cpUtf8); }
};

// "表" in Shift-JIS is 95 5C: its second byte is the backslash.
const std::string Hyou = "\x95\x5C";

} // namespace

// Catches a scan that takes the trail byte 0x5C of a double-byte character for "\".
TEST_F(CodePageTest, LastDelimiterSkipsTrailBytesUnderShiftJis)
{
    SetCodePage(cpShiftJis);
    const std::string path = "C:\\" + Hyou + "a.mid";
    EXPECT_EQ(LastDelimiter("\\", path), 2u);
    EXPECT_EQ(LastDelimiter("\\", Hyou), std::string::npos);

    SetCodePage(cpUtf8);
    EXPECT_EQ(LastDelimiter("\\", path), 4u); // a plain byte scan sees the 0x5C
}

// Catches a setting that does not reach libraries loaded later (they read the environment).
TEST_F(CodePageTest, SettingIsPublishedToTheEnvironment)
{
    SetCodePage(cpShiftJis);
    EXPECT_STREQ(getenv("SONOLUX_CODEPAGE"), "932");
    EXPECT_EQ(CodePage(), cpShiftJis);
    EXPECT_THROW(SetCodePage(1252), std::invalid_argument);
    EXPECT_EQ(CodePage(), cpShiftJis);
}

// Catches case folding that touches bytes outside A-Z (it would change Shift-JIS text).
TEST_F(CodePageTest, CaseFoldingIsAsciiOnly)
{
    EXPECT_EQ(AsciiLowerCase("TUNE.MID\x82\x60\xC4"), "tune.mid\x82\x60\xC4");
    EXPECT_EQ(AsciiUpperCase("a.mid\x82\x81"), "A.MID\x82\x81");
    EXPECT_TRUE(SameTextAscii("Song.Rmi", "SONG.RMI"));
    EXPECT_FALSE(SameTextAscii("\xC4", "\xE4"));
}

// Catches truncation that splits a character in half.
TEST_F(CodePageTest, TruncateKeepsWholeCharacters)
{
    EXPECT_EQ(TruncateText("ab\xE3\x81\x82", 4), "ab");
    EXPECT_EQ(TruncateText("ab\xE3\x81\x82", 5), "ab\xE3\x81\x82");
    SetCodePage(cpShiftJis);
    EXPECT_EQ(TruncateText("a" + Hyou, 2), "a");
    EXPECT_EQ(TruncateText("a" + Hyou, 3), "a" + Hyou);
}

// Catches masks compared with letter case, or "?" taking half of a double-byte character.
TEST_F(CodePageTest, MasksMatchWithoutLetterCase)
{
    EXPECT_TRUE(MatchesMask("GM.MID", "*.mid"));
    EXPECT_TRUE(MatchesMask("song.mid", "*.MID"));
    EXPECT_FALSE(MatchesMask("song.midi", "*.mid"));
    EXPECT_TRUE(MatchesMask("noextension", "*.*"));
    EXPECT_TRUE(MatchesMask("a.b.rcp", "*.rcp"));
    EXPECT_FALSE(MatchesMask(".mid.txt", "*.mid"));
    SetCodePage(cpShiftJis);
    EXPECT_TRUE(MatchesMask(Hyou + ".mid", "?.mid"));
    EXPECT_FALSE(MatchesMask(Hyou + ".mid", "??.mid"));
}
