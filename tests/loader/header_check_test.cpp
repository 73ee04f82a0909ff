#include "loader_module.h"

#include "platform/files.h"
#include "platform/mbcs.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using loader_testing::LoaderModule;
using loader_testing::Outcome;
using loader_testing::SmfWithTrackName;

namespace {

class HeaderCheckTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(::mkdir(work.c_str(), 0700), 0); }
    void TearDown() override { platform::SetCodePage(platform::cpUtf8); }

    std::string Wrapped(const std::string &header, const std::string &body) const
    {
        return std::string(1, '\0') + header + body;
    }

    // The names in the work folder, to show that no temporary file was left behind.
    std::vector<std::string> WorkFolderNames() const
    {
        std::vector<std::string> names;
        for (const auto &entry : platform::ListFolder(work))
            names.push_back(entry.name);
        return names;
    }

    testing_support::TempFolder folder;
    const std::string work = folder / "SONOLUXTEMP";
    const std::string workFile = work + "/TEMP.MID";
    LoaderModule module;
};

} // namespace

// Catches a plain or RIFF file copied, renamed or written out instead of played as it is.
TEST_F(HeaderCheckTest, PlainFilesComeBackUnderTheirOwnName)
{
    folder.Write("SONOLUXTEMP/TEMP.MID", "old work file");
    const std::string smf = folder.Write("Tune.MID", SmfWithTrackName("Tune"));
    const std::string riff = folder.Write("tune.rmi", "RIFF\x10\0\0\0RMIDdata");
    for (const std::string &name : {smf, riff}) {
        const Outcome outcome = module.MacCheck(name, work);
        EXPECT_EQ(outcome.code, 0);
        EXPECT_EQ(outcome.text, name);
    }
    EXPECT_EQ(platform::ReadFile(workFile), "old work file");
}

// Catches a copy that starts at the wrong byte, tests more than the two letters M T,
// searches from the first byte, or drops the tail that is not a multiple of four.
TEST_F(HeaderCheckTest, WrappedFileIsCopiedFromTheFirstMT)
{
    const std::string smf = SmfWithTrackName("Wrapped");
    struct Case
    {
        std::string source;
        std::string copy;
    };
    const std::vector<Case> cases = {
        {Wrapped(std::string(127, '\x11'), smf), smf},
        {Wrapped("Title: Tea Time  (T alone)", smf), smf},
        {Wrapped("\x4D\x4D\x54", "hd.."), "\x4D\x54hd.."},
        {Wrapped("MTxy", smf), "MTxy" + smf},
        {Wrapped("head", "MT12345"), "MT12345"},
        {Wrapped("", "MT"), "MT"},
        {Wrapped("no pair here M", ""), ""},
        {std::string(1, '\0'), ""},
        {std::string("\0T", 2), ""},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const std::string source =
            folder.Write("wrapped" + std::to_string(i) + ".mid", cases[i].source);
        const Outcome outcome = module.MacCheck(source, work);
        EXPECT_EQ(outcome.code, 0) << i;
        EXPECT_EQ(outcome.text, workFile) << i;
        EXPECT_EQ(platform::ReadFile(workFile), cases[i].copy) << i;
    }
    EXPECT_EQ(WorkFolderNames(), std::vector<std::string>{"TEMP.MID"});
}

// Catches a copy that stops at a buffer boundary or loses bytes over a large file.
TEST_F(HeaderCheckTest, LargeWrappedFileIsCopiedWhole)
{
    std::string body = "MThd";
    for (int i = 0; body.size() < 200000; ++i)
        body += static_cast<char>((i * 7919) & 0xFF);
    // The pair straddles the scan's block boundaries as well.
    const std::string header = std::string(16383, 'h') + "\x4D";
    const std::string source = folder.Write("big.mid", Wrapped(header, "T" + body));
    ASSERT_EQ(module.MacCheck(source, work).code, 0);
    EXPECT_EQ(platform::ReadFile(workFile), "\x4DT" + body);
}

// Catches an old, longer work file overwritten only in part, a reader of the old file
// that sees it change, and a link under the name whose target gets written.
TEST_F(HeaderCheckTest, WorkFileIsReplacedAsAWhole)
{
    folder.Write("SONOLUXTEMP/TEMP.MID", std::string(5000, 'o'));
    const int reader = ::open(workFile.c_str(), O_RDONLY);
    ASSERT_GE(reader, 0);

    const std::string source = folder.Write("a.mid", Wrapped("hdr", "MT-new"));
    ASSERT_EQ(module.MacCheck(source, work).code, 0);
    EXPECT_EQ(platform::ReadFile(workFile), "MT-new");
    char old[8] = {};
    EXPECT_EQ(::pread(reader, old, sizeof(old), 4000), 8);
    EXPECT_EQ(std::string(old, 8), std::string(8, 'o'));
    ::close(reader);

    const std::string outside = folder.Write("outside.txt", "precious");
    ASSERT_EQ(::unlink(workFile.c_str()), 0);
    ASSERT_EQ(::symlink(outside.c_str(), workFile.c_str()), 0);
    ASSERT_EQ(module.MacCheck(source, work).code, 0);
    EXPECT_EQ(platform::ReadFile(outside), "precious");
    EXPECT_EQ(platform::ReadFile(workFile), "MT-new");
}

// Catches failures reported as success, the wrong code or text, a work file created
// for a source that cannot be read, and a temporary file left behind.
TEST_F(HeaderCheckTest, FailuresCarryTheirCodeAndMessage)
{
    const std::string wrapped = folder.Write("w.mid", Wrapped("hdr", "MThd"));
    struct Case
    {
        std::string source;
        std::string folder;
        int code;
        std::string text;
    };
    const std::vector<Case> cases = {
        {folder / "missing.mid", work, 2, "ファイルが見つかりません"},
        {folder.Write("empty.mid", ""), work, 100, "ファイルの末尾以降を読み込みました"},
        {wrapped, folder / "no-such-folder", 3, "不正なファイル名です"},
        {wrapped, folder.Write("a-file", "x"), 3, "不正なファイル名です"},
        {wrapped, "", 3, "不正なファイル名です"},
        {folder / std::string("w.mid\0.x", 8), work, 3, "不正なファイル名です"},
        {wrapped, work + std::string("\0/x", 3), 3, "不正なファイル名です"},
        {folder / "SONOLUXTEMP", work, 5, "ファイルへのアクセスが拒否されました"},
    };
    for (const Case &c : cases) {
        const Outcome outcome = module.MacCheck(c.source, c.folder);
        EXPECT_EQ(outcome.code, c.code) << c.source << " -> " << c.folder;
        EXPECT_EQ(outcome.text, c.text) << c.source << " -> " << c.folder;
    }
    EXPECT_TRUE(WorkFolderNames().empty());

    // A folder named TEMP.MID cannot be replaced.
    ASSERT_EQ(::mkdir(workFile.c_str(), 0700), 0);
    const Outcome folderInTheWay = module.MacCheck(wrapped, work);
    EXPECT_EQ(folderInTheWay.code, 5);
    EXPECT_EQ(folderInTheWay.text, "ファイルへのアクセスが拒否されました");
    EXPECT_EQ(WorkFolderNames(), std::vector<std::string>{"TEMP.MID"});

    platform::SetCodePage(platform::cpShiftJis);
    EXPECT_EQ(module.MacCheck(folder / "missing.mid", work).text,
              "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xaa\x8c\xa9\x82\xc2\x82\xa9\x82\xe8\x82\xdc"
              "\x82\xb9\x82\xf1");
}

// Catches a lock of another opener ignored on the source or on the old work file, and
// the old work file lost when the call fails.
TEST_F(HeaderCheckTest, FilesHeldByAnotherOpenerAreNotTouched)
{
    const std::string source = folder.Write("w.mid", Wrapped("hdr", "MThd"));
    const std::string oldWork = folder.Write("SONOLUXTEMP/TEMP.MID", "old");
    for (const std::string &held : {source, oldWork}) {
        const int other = ::open(held.c_str(), O_RDONLY);
        ASSERT_GE(other, 0);
        ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
        const Outcome outcome = module.MacCheck(source, work);
        EXPECT_EQ(outcome.code, SONOLUX_IO_SHARING_VIOLATION) << held;
        EXPECT_EQ(outcome.text, "I/O エラー (32)") << held;
        ::close(other);
        EXPECT_EQ(platform::ReadFile(oldWork), "old");
        EXPECT_EQ(WorkFolderNames(), std::vector<std::string>{"TEMP.MID"});
    }
    // Shared holders (readers) do not stand in the way.
    const int reader = ::open(oldWork.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(reader, LOCK_SH | LOCK_NB), 0);
    EXPECT_EQ(module.MacCheck(source, work).code, 0);
    ::close(reader);
    EXPECT_EQ(platform::ReadFile(workFile), "MThd");
}

// Catches a work name cut to 255 bytes, which would name another file, and an error
// for a folder whose work name still fits.
TEST_F(HeaderCheckTest, WorkNameLongerThanAShortStringFails)
{
    const std::string source = folder.Write("w.mid", Wrapped("hdr", "MThd"));
    std::string fits = folder.Path();
    while (fits.size() + 9 < 255)
        fits += "/" + std::string(std::min<std::size_t>(100, 255 - 9 - fits.size() - 1), 'd');
    ASSERT_EQ(fits.size() + 9, 255u);
    std::filesystem::create_directories(fits);
    const Outcome atLimit = module.MacCheck(source, fits);
    EXPECT_EQ(atLimit.code, 0);
    EXPECT_EQ(atLimit.text, fits + "/TEMP.MID");

    const std::string tooLong = fits + "x";
    ASSERT_EQ(::mkdir(tooLong.c_str(), 0700), 0);
    const Outcome outcome = module.MacCheck(source, tooLong);
    EXPECT_EQ(outcome.code, SONOLUX_IO_NAME_TOO_LONG);
    EXPECT_EQ(outcome.text, "ファイル名が長すぎます");
    EXPECT_TRUE(platform::ListFolder(tooLong).empty());
    // Cut to 255 bytes the name would have been this file: it must not be written.
    EXPECT_FALSE(platform::FileExists(tooLong + "/TEMP.MI"));
}
