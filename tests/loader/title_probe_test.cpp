#include "loader_module.h"

#include "platform/mbcs.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using loader_testing::LoaderModule;
using loader_testing::Outcome;
using loader_testing::SmfWithTrackData;
using loader_testing::SmfWithTrackName;

namespace {

const std::string NotFound = "Not found Title!";

// The module's bytes for "ファイル " and " は開けません", in UTF-8 and in Shift-JIS.
const std::string OpenErrorHead = "ファイル ";
const std::string OpenErrorTail = " は開けません";
const std::string OpenErrorHeadSjis = "\x83\x74\x83\x40\x83\x43\x83\x8b ";
const std::string OpenErrorTailSjis = " \x82\xcd\x8a\x4a\x82\xaf\x82\xdc\x82\xb9\x82\xf1";

class TitleProbeTest : public ::testing::Test
{
protected:
    void TearDown() override { platform::SetCodePage(platform::cpUtf8); }

    // An RCP song file with the given title field (zero bytes after a field shorter than 64).
    std::string WriteRcp(const std::string &name, const std::string &field) const
    {
        std::string bytes = "RCM-PC98V2.0(C)COME ON MUSIC\r\n";
        bytes.resize(32, '\0');
        bytes += field;
        if (bytes.size() < 96)
            bytes.resize(96, '\0');
        bytes += std::string(400, '\xFD');
        return folder.Write(name, bytes);
    }

    testing_support::TempFolder folder;
    LoaderModule module;
};

} // namespace

// Catches a reader chosen by content, by a case-sensitive test, or for ".rmi" and other names.
TEST_F(TitleProbeTest, ExtensionAloneChoosesTheReader)
{
    const std::string smf = SmfWithTrackName("Tune");
    EXPECT_EQ(module.ComLoad(folder.Write("TUNE.MID", smf)).text, "Tune");
    EXPECT_EQ(module.ComLoad(folder.Write("tune.Mid", smf)).text, "Tune");
    EXPECT_EQ(module.ComLoad(folder.Write("text.mid", "plain text, no marker")).text, NotFound);
    EXPECT_EQ(module.ComLoad(WriteRcp("SONG.R36", "Song")).text, "Song");
    EXPECT_EQ(module.ComLoad(WriteRcp("song.G36", "Song")).text, "Song");

    // Names that select no reader give the empty title without the file being opened:
    // none of these files exists, and no open error is raised.
    for (const std::string name : {"tune.rmi", "tune.txt", "tune", "old.songs/tune", "tune.midi",
                                   "dir.mid\\tune", "c.mid:tune"}) {
        const Outcome outcome = module.ComLoad(folder / name);
        EXPECT_EQ(outcome.code, 0) << name;
        EXPECT_EQ(outcome.text, "") << name;
    }
}

// Catches a separator or dot search that ignores the process code page: under Shift-JIS a
// lead byte swallows the byte after it, so "\x81." holds no dot; under UTF-8 it does.
TEST_F(TitleProbeTest, ExtensionSearchFollowsTheCodePage)
{
    const std::string name = folder / "tune\x81.mid";
    platform::SetCodePage(platform::cpShiftJis);
    EXPECT_EQ(module.ComLoad(name).code, 0);
    platform::SetCodePage(platform::cpUtf8);
    EXPECT_EQ(module.ComLoad(name).code, SONOLUX_IO_FILE_NOT_FOUND);
}

// Catches a search that walks the chunk structure, skips the delta byte, or decodes the
// length as a variable-length quantity.
TEST_F(TitleProbeTest, SmfTitleIsThePlainByteSearch)
{
    const std::string smf = SmfWithTrackName("First Light");
    ASSERT_EQ(smf.substr(23, 3), std::string("\xFF\x03\x0B"));
    EXPECT_EQ(module.ComLoad(folder.Write("a.mid", smf)).text, "First Light");

    // The first pair wins, even inside another event's data.
    const std::string inData = SmfWithTrackData(std::string("\0\xF0\x04\x41\xFF\x03\x02", 7) +
                                                "XY" + std::string("\0\xFF\x03\x04", 4) + "Name");
    EXPECT_EQ(module.ComLoad(folder.Write("b.mid", inData)).text, "XY");

    // A length byte of 0x81 is 129 characters, and the bytes after it already count.
    const std::string long129(129, 'L');
    const std::string vlq = SmfWithTrackData(std::string("\0\xFF\x03\x81", 4) + long129);
    EXPECT_EQ(module.ComLoad(folder.Write("c.mid", vlq)).text, long129);

    // Length 0 and no marker at all give the fallback text.
    EXPECT_EQ(module.ComLoad(folder.Write("d.mid", SmfWithTrackName(""))).text, NotFound);
    EXPECT_EQ(module.ComLoad(folder.Write("e.mid", "")).text, NotFound);
    EXPECT_EQ(module.ComLoad(folder.Write("f.mid", std::string(600, '\xFF'))).text, NotFound);

    // Title bytes are copied as they stand: Shift-JIS and zero bytes included.
    const std::string raw("\x8b\xc8\0\x96\xbc", 5);
    const Outcome rawTitle = module.ComLoad(folder.Write("g.mid", SmfWithTrackName(raw)));
    EXPECT_EQ(rawTitle.code, 0);
    EXPECT_EQ(rawTitle.text, raw);
}

// Catches a window other than the first 500 bytes, a text cut at the window, or a read
// of the bytes beyond the end of a short file.
TEST_F(TitleProbeTest, SmfWindowIsTheFirst500Bytes)
{
    // The pair's FF at 498 is inside the window; its length and text lie beyond it.
    const std::string straddling = std::string(498, 'x') + "\xFF\x03\x05" + "Later";
    EXPECT_EQ(module.ComLoad(folder.Write("a.mid", straddling)).text, "Later");
    // At 499 the pair's second byte is the file's 501st: not found.
    const std::string outside = std::string(499, 'x') + "\xFF\x03\x05" + "Later";
    EXPECT_EQ(module.ComLoad(folder.Write("b.mid", outside)).text, NotFound);
    // A track name behind a 600-byte event is not found although the file has one.
    const std::string late =
        SmfWithTrackData(std::string("\0\xF0\x82\x58", 4) + std::string(600, '\x10') +
                         std::string("\0\xFF\x03\x04", 4) + "Late");
    EXPECT_EQ(module.ComLoad(folder.Write("c.mid", late)).text, NotFound);

    // A text cut short by the end of the file gives what there is.
    EXPECT_EQ(module
                  .ComLoad(folder.Write("d.mid", std::string("\xFF\x03\x10"
                                                             "abc")))
                  .text,
              "abc");
    EXPECT_EQ(module.ComLoad(folder.Write("e.mid", std::string("\xFF\x03\x10"))).text, NotFound);
    EXPECT_EQ(module.ComLoad(folder.Write("f.mid", std::string("\xFF\x03"))).text, NotFound);
}

// Catches a field read from the wrong offset, trimming of inner or double-byte blanks,
// a fallback text for RCP, or garbage past the end of a short file.
TEST_F(TitleProbeTest, RcpTitleIsTheTrimmedField)
{
    std::string padded = "  Word";
    padded.resize(64, ' ');
    EXPECT_EQ(module.ComLoad(WriteRcp("a.rcp", padded)).text, "Word");

    const std::string full = "\t " + std::string(60, 'A') + "\x01\x20";
    ASSERT_EQ(full.size(), 64u);
    EXPECT_EQ(module.ComLoad(WriteRcp("b.rcp", full)).text, std::string(60, 'A'));

    EXPECT_EQ(module.ComLoad(WriteRcp("c.rcp", "Two  Words\x81\x40  ")).text, "Two  Words\x81\x40");
    EXPECT_EQ(module.ComLoad(WriteRcp("d.rcp", std::string("Cut\0Hidden", 10))).text, "Cut");

    const Outcome blank = module.ComLoad(WriteRcp("e.rcp", std::string(64, ' ')));
    EXPECT_EQ(blank.code, 0);
    EXPECT_EQ(blank.text, "");
    EXPECT_EQ(module.ComLoad(folder.Write("f.rcp", std::string(20, 'R'))).text, "");
    EXPECT_EQ(module.ComLoad(folder.Write("g.rcp", std::string(40, 'R'))).text, "RRRRRRRR");
}

// Catches an open failure reported as an empty title, or a message without the name.
TEST_F(TitleProbeTest, UnopenableFileFailsWithTheOpenError)
{
    const std::string missing = folder / "missing.mid";
    const Outcome outcome = module.ComLoad(missing);
    EXPECT_EQ(outcome.code, SONOLUX_IO_FILE_NOT_FOUND);
    EXPECT_EQ(outcome.text, OpenErrorHead + missing + OpenErrorTail);

    platform::SetCodePage(platform::cpShiftJis);
    EXPECT_EQ(module.ComLoad(missing).text, OpenErrorHeadSjis + missing + OpenErrorTailSjis);
    platform::SetCodePage(platform::cpUtf8);

    // A folder, or a pipe that no writer holds, is refused at once, never waited on.
    ::mkdir((folder / "folder.mid").c_str(), 0700);
    EXPECT_EQ(module.ComLoad(folder / "folder.mid").code, SONOLUX_IO_ACCESS_DENIED);
    ASSERT_EQ(::mkfifo((folder / "pipe.rcp").c_str(), 0600), 0);
    const Outcome pipe = module.ComLoad(folder / "pipe.rcp");
    EXPECT_EQ(pipe.code, SONOLUX_IO_ACCESS_DENIED);
    EXPECT_EQ(pipe.text, OpenErrorHead + folder / "pipe.rcp" + OpenErrorTail);
}

// Catches an open that ignores another opener's lock, or a lock left behind by a call.
TEST_F(TitleProbeTest, FileHeldByAnotherOpenerCannotBeOpened)
{
    const std::string song = folder.Write("held.mid", SmfWithTrackName("Held"));
    for (const int lock : {LOCK_EX, LOCK_SH}) {
        const int other = ::open(song.c_str(), O_RDONLY);
        ASSERT_GE(other, 0);
        ASSERT_EQ(::flock(other, lock | LOCK_NB), 0);
        const Outcome held = module.ComLoad(song);
        EXPECT_EQ(held.code, SONOLUX_IO_SHARING_VIOLATION);
        EXPECT_EQ(held.text, OpenErrorHead + song + OpenErrorTail);
        ::close(other);
    }
    EXPECT_EQ(module.ComLoad(song).text, "Held");
    // The module released its own lock: another opener can take it exclusively now.
    const int after = ::open(song.c_str(), O_RDONLY);
    EXPECT_EQ(::flock(after, LOCK_EX | LOCK_NB), 0);
    ::close(after);
}

// Catches a name with a zero byte handed to the system, which would open the file named
// by the bytes before it.
TEST_F(TitleProbeTest, NameWithZeroByteNeverOpensAnotherFile)
{
    folder.Write("decoy", SmfWithTrackName("Decoy"));
    const std::string name = folder / std::string("decoy\0.mid", 10);
    const Outcome outcome = module.ComLoad(name);
    EXPECT_EQ(outcome.code, SONOLUX_IO_INVALID_NAME);
    EXPECT_EQ(outcome.text, OpenErrorHead + name + OpenErrorTail);
}

// Catches a message cut inside a character when the name fills the short string.
TEST_F(TitleProbeTest, LongMessageIsCutBetweenCharacters)
{
    // UTF-8: three-byte characters, so a cut at byte 255 would split one.
    std::string name = folder.Path() + "/";
    while (name.size() + 3 + 4 <= 255)
        name += "曲";
    name += ".mid";
    const Outcome utf8 = module.ComLoad(name);
    ASSERT_EQ(utf8.code, SONOLUX_IO_FILE_NOT_FOUND);
    const std::string whole = OpenErrorHead + name + OpenErrorTail;
    ASSERT_GT(whole.size(), 255u);
    EXPECT_EQ(utf8.text, whole.substr(0, utf8.text.size()));
    EXPECT_GE(utf8.text.size(), 253u);
    EXPECT_NE(static_cast<unsigned char>(whole[utf8.text.size()]) & 0xC0, 0x80);

    // Shift-JIS: double-byte characters placed so that the message's 255th byte is a lead
    // byte (head 9 bytes + 241 single bytes, then pairs); it must not stand alone at the end.
    platform::SetCodePage(platform::cpShiftJis);
    std::string sjisName = folder.Path() + "/";
    sjisName.resize(241, 'a');
    for (int i = 0; i < 5; ++i)
        sjisName += "\x8b\xc8";
    sjisName += ".mid";
    ASSERT_EQ(OpenErrorHeadSjis.size() + 241, 250u);
    const Outcome sjis = module.ComLoad(sjisName);
    ASSERT_EQ(sjis.code, SONOLUX_IO_FILE_NOT_FOUND);
    EXPECT_EQ(sjis.text.size(), 254u);
    EXPECT_EQ(sjis.text, (OpenErrorHeadSjis + sjisName).substr(0, 254));
}
