// Member names, masks and code pages as the archiver libraries see them.

#include "archivertesting.h"
#include "outside/arccommon/codepage.h"
#include "outside/arccommon/membername.h"

#include <gtest/gtest.h>

using namespace arc;
using archiver_testing::ScopedEnv;

namespace {

const std::string so = "\x83\x5C";    // Shift-JIS "so": its second byte is "\"
const std::string hyou = "\x95\x5C";  // Shift-JIS "hyou", likewise
const std::string kanji = "\x8A\xBF"; // Shift-JIS, no "\" inside

} // namespace

// Catches a folder mark found in the second byte of a Shift-JIS character, or missed.
TEST(ArchiverCodePage, FolderMarkIsAWholeCharacter)
{
    EXPECT_TRUE(EndsWithFolderMark("/run/user/0/SONOLUXTEMP\\", TextEncoding::Utf8));
    EXPECT_TRUE(EndsWithFolderMark("/tmp/x/", TextEncoding::ShiftJis));
    EXPECT_FALSE(EndsWithFolderMark("/tmp/" + so, TextEncoding::ShiftJis));
    EXPECT_TRUE(EndsWithFolderMark("/tmp/" + so + "\\", TextEncoding::ShiftJis));
    EXPECT_TRUE(EndsWithFolderMark("/tmp/" + so, TextEncoding::Utf8));
    EXPECT_FALSE(EndsWithFolderMark("", TextEncoding::Utf8));

    EXPECT_TRUE(IsValidUtf8("\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88.mid"));
    EXPECT_FALSE(IsValidUtf8(hyou + ".mid"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));     // overlong "/"
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")); // surrogate
    EXPECT_FALSE(IsValidUtf8("\xE3\x83"));     // cut short
    EXPECT_EQ(TruncateText("ab" + kanji, 3, TextEncoding::ShiftJis), "ab");
    EXPECT_EQ(TruncateText("ab\xE3\x83\x86", 4, TextEncoding::Utf8), "ab");
}

// Catches Shift-JIS names split at their second bytes, and folders of either separator missed.
TEST(ArchiverMemberName, SplitsOnlyAtRealSeparators)
{
    EXPECT_EQ(MemberBaseName("SUB\\" + so + ".MID"), so + ".MID");
    EXPECT_EQ(MemberBaseName(hyou + "\x82\xBE\x82\xE6\\" + kanji + ".txt"), kanji + ".txt");
    EXPECT_EQ(MemberBaseName("a/b\\c.mid"), "c.mid");
    EXPECT_EQ(MemberBaseName("dir/"), "dir");
    EXPECT_EQ(MemberBaseName("///"), "");
    {
        // Under code page 932 even a name that happens to be valid UTF-8 is Shift-JIS.
        ScopedEnv codePage("SONOLUX_CODEPAGE", "932");
        EXPECT_EQ(MemberBaseName("\xE3\x81\x81\x5C.mid"), "\xE3\x81\x81\x5C.mid");
    }
    EXPECT_EQ(MemberBaseName("\xE3\x81\x81\x5C.mid"), ".mid");
}

// Catches paths that leave the target folder through "..", a root or a drive.
TEST(ArchiverMemberName, SafePartsStayInsideTheFolder)
{
    std::vector<std::string> parts;
    ASSERT_TRUE(SafeRelativeParts("/abs/./song.mid", parts));
    EXPECT_EQ(parts, (std::vector<std::string>{"abs", "song.mid"}));
    ASSERT_TRUE(SafeRelativeParts("C:\\MIDI\\song.mid", parts));
    EXPECT_EQ(parts, (std::vector<std::string>{"MIDI", "song.mid"}));
    EXPECT_FALSE(SafeRelativeParts("../evil.mid", parts));
    EXPECT_FALSE(SafeRelativeParts("a/../../evil.mid", parts));
    EXPECT_FALSE(SafeRelativeParts("a\\..\\evil.mid", parts));
    EXPECT_FALSE(SafeRelativeParts("/", parts));
    EXPECT_FALSE(IsUsableFileName(".."));
    EXPECT_FALSE(IsUsableFileName(""));
    EXPECT_TRUE(IsUsableFileName("..song.mid"));
}

// Catches case folding beyond ASCII, "?" taking half a character, and masks matched
// against the wrong part of the name.
TEST(ArchiverMemberName, MasksMatchAsOnTheOriginalPlatform)
{
    EXPECT_TRUE(MemberMatchesMask("sub/deep/SONG.MID", "*.mid"));
    EXPECT_TRUE(MemberMatchesMask("Track3.RCP", "*.rcp"));
    EXPECT_FALSE(MemberMatchesMask("song.midi", "*.mid"));
    EXPECT_FALSE(MemberMatchesMask("\xC3\x89.mid", "\xC3\xA9.mid")); // only ASCII folds
    EXPECT_TRUE(MemberMatchesMask("README", "*.*"));
    EXPECT_TRUE(MemberMatchesMask("sub/song2.mid", "SONG2.MID"));
    EXPECT_TRUE(MemberMatchesMask("sub\\song2.mid", "sub/song2.mid"));
    EXPECT_TRUE(MemberMatchesMask("/sub/song2.mid", "sub\\*.mid"));
    EXPECT_FALSE(MemberMatchesMask("other/song2.mid", "sub/*.mid"));
    EXPECT_TRUE(MemberMatchesMask(kanji + ".mid", "?.mid"));
    EXPECT_TRUE(MemberMatchesAny("x.txt", {}));
    EXPECT_FALSE(MemberMatchesAny("x.txt", {"*.mid", "*.rmi"}));
}

// Catches a Shift-JIS mask scanned in the process code page (UTF-8): the second byte of
// "hyou" then reads as a folder separator and the member it names is never selected.
TEST(ArchiverMemberName, ShiftJisMaskMatchesInTheMembersEncoding)
{
    for (const char *codePage : {"", "932"}) {
        ScopedEnv page("SONOLUX_CODEPAGE", codePage);
        EXPECT_TRUE(MemberMatchesMask(hyou + ".txt", hyou + ".txt")) << codePage;
        EXPECT_TRUE(MemberMatchesMask("SUB\\" + hyou + ".MID", hyou + ".mid")) << codePage;
        EXPECT_TRUE(MemberMatchesMask(hyou + "\\" + so + ".mid", hyou + "/" + so + ".MID"));
        EXPECT_TRUE(MemberMatchesMask(so + kanji + ".mid", so + "*.mid")) << codePage;
        EXPECT_FALSE(MemberMatchesMask(hyou + ".txt", so + ".txt")) << codePage;
        // "?" is one whole character, never half of one.
        EXPECT_TRUE(MemberMatchesMask(hyou + ".txt", "?.txt")) << codePage;
        EXPECT_FALSE(MemberMatchesMask(hyou + ".txt", "??.txt")) << codePage;
    }
}
