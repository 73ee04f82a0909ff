#include "core/listfile.h"

#include "support/tempfolder.h"

#include <gtest/gtest.h>
#include <stdexcept>

using listfile::CheckedEntries;
using listfile::CheckEntries;
using listfile::FormatEntries;
using listfile::ParseEntries;

static bool operator==(const TPlayEntry &a, const TPlayEntry &b)
{
    return a.Marker == b.Marker && a.Title == b.Title && a.FileName == b.FileName &&
           a.FilePath == b.FilePath && a.ArchivePath == b.ArchivePath;
}

namespace {

TPlayEntry Entry(const std::string &title, const std::string &name, const std::string &path,
                 const std::string &archive)
{
    return TPlayEntry{"", title, name, path, archive};
}

} // namespace

// Catches a wrong line order or line end, a missing empty archive line, or a member written
// with its extracted copy's path instead of "Null".
TEST(ListFileFormat, PlainFileAndMemberGiveTheEightLines)
{
    const std::vector<TPlayEntry> entries = {
        Entry("First song", "a.mid", "/music/a.mid", ""),
        Entry("\x83\x65\x83\x58\x83\x67", "b.mid", "/tmp/SONOLUXTEMP/b.mid", "/music/set.lzh"),
    };
    EXPECT_EQ(FormatEntries(entries), "First song\r\na.mid\r\n/music/a.mid\r\n\r\n"
                                      "\x83\x65\x83\x58\x83\x67\r\nb.mid\r\nNull\r\n"
                                      "/music/set.lzh\r\n");
    EXPECT_EQ(FormatEntries({}), "");
}

// Catches entries that do not survive a write and a read byte for byte.
TEST(ListFileFormat, WrittenEntriesReadBackUnchanged)
{
    const std::vector<TPlayEntry> entries = {
        Entry("", "x.rmi", "/m/x.rmi", ""),
        Entry("Title\twith tab", "y.mid", "Null", "/m/y.zip"),
        Entry("", "", "", ""),
    };
    EXPECT_EQ(ParseEntries(FormatEntries(entries)), entries);
}

// Catches a title holding CR, LF or Ctrl-Z shifting every later field or cutting the list.
TEST(ListFileFormat, LineBreaksInsideFieldsAreWrittenAsSpaces)
{
    const std::vector<TPlayEntry> entries = {
        Entry("two\r\nlines\rand\nmore\x1A!", "a\nb.mid", "/m/a\nb.mid", ""),
        Entry("next", "c.mid", "/m/c.mid", ""),
    };
    const std::vector<TPlayEntry> read = ParseEntries(FormatEntries(entries));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0], Entry("two  lines and more !", "a b.mid", "/m/a b.mid", ""));
    EXPECT_EQ(read[1], entries[1]);
}

// Catches reading past a Ctrl-Z, wherever it stands, or losing the entries before it.
TEST(ListFileReading, CtrlZEndsTheFile)
{
    const std::string entry = "t\r\na.mid\r\n/m/a.mid\r\n\r\n";
    EXPECT_EQ(ParseEntries(entry + "\x1A" + entry).size(), 1u);
    const std::vector<TPlayEntry> cut = ParseEntries("t\r\nb.m\x1Aid\r\n/m/b.mid\r\n\r\n");
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0], Entry("t", "b.m", "", ""));
    EXPECT_TRUE(ParseEntries("\x1A" + entry).empty());
    EXPECT_TRUE(ParseEntries("").empty());
}

// Catches a list ending part-way through an entry being dropped silently, or its missing
// lines reading as anything but empty.
TEST(ListFileReading, MissingLinesAtTheEndReadAsEmpty)
{
    const std::vector<TPlayEntry> read = ParseEntries("t\r\na.mid\r\n/m/a.mid\r\n\r\nu\r\nb.mid");
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[1], Entry("u", "b.mid", "", ""));

    const CheckedEntries checked = CheckEntries({read[1]});
    EXPECT_TRUE(checked.kept.empty());
    EXPECT_EQ(checked.report, "b.mid\r\n");
}

// Catches one extra empty line at the end giving no entry (so no report line) or more than
// one.
TEST(ListFileReading, ExtraEmptyLineIsOneEmptyEntry)
{
    const std::vector<TPlayEntry> read = ParseEntries("t\r\na.mid\r\n/m/a.mid\r\n\r\n\r\n");
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[1], Entry("", "", "", ""));
    EXPECT_EQ(CheckEntries({read[1]}).report, "\r\n");
}

// Catches a CR without LF not ending its line, or a lone LF being taken as a line end
// (which would shift lists whose titles hold one).
TEST(ListFileReading, OnlyCrEndsALine)
{
    const std::vector<TPlayEntry> read = ParseEntries("t\rn\r\np\na\r\nr\r\n");
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0], Entry("t", "n", "p\na", "r"));
}

// Catches missing songs reported in the wrong form or order, members checked by their
// (stale) path instead of their archive, or existing entries dropped.
TEST(ListFileCheck, MissingSongsAreReportedOneALine)
{
    const testing_support::TempFolder folder;
    const std::string kept = folder.Write("c.mid", "MThd");
    const std::string archive = folder.Write("set.lzh", "-lh5-");
    const std::string gone = folder / "gone.lzh";

    const CheckedEntries checked = CheckEntries({
        Entry("", "a.mid", folder / "a.mid", ""),
        Entry("", "c.mid", kept, ""),
        Entry("", "b.mid", "Null", gone),
        Entry("", "d.mid", "Null", archive),
        Entry("", "e.mid", folder.Path(), ""),
    });
    ASSERT_EQ(checked.kept.size(), 2u);
    EXPECT_EQ(checked.kept[0].FileName, "c.mid");
    EXPECT_EQ(checked.kept[1].FileName, "d.mid");
    EXPECT_EQ(checked.report, "a.mid\r\nb.mid\t[" + gone + "]\r\ne.mid\r\n");
}

// Catches file failures passing silently or with a message that does not name the file,
// and a failed write touching what was there.
TEST(ListFileIo, FailuresNameTheFile)
{
    const testing_support::TempFolder folder;
    const std::string missing = folder / "none/Sonolux.lst";
    try {
        listfile::ReadListFile(missing);
        ADD_FAILURE() << "reading a missing file succeeded";
    } catch (const std::runtime_error &error) {
        EXPECT_NE(std::string(error.what()).find(missing), std::string::npos) << error.what();
    }
    try {
        listfile::WriteListFile(missing, {Entry("t", "a.mid", "/a.mid", "")});
        ADD_FAILURE() << "writing into a missing folder succeeded";
    } catch (const std::runtime_error &error) {
        EXPECT_NE(std::string(error.what()).find(missing), std::string::npos) << error.what();
    }

    const std::string path = folder.Write("Sonolux.lst", "old\r\n");
    listfile::WriteListFile(path, {Entry("t", "a.mid", "/a.mid", "")});
    EXPECT_EQ(listfile::ReadListFile(path).size(), 1u);
}
