#include "fakelibraries.h"

#include "archives/archives.h"
#include "archives/arcwindow.h"
#include "platform/files.h"

#include <gmock/gmock.h>
#include <stdexcept>

using namespace archives;
using namespace archives_test;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

class ArchiveFileTest : public FakeLibraryTest
{
protected:
    void SetUp() override
    {
        libs.Place("UNLHA32.DLL");
        archive = libs.Folder().Write("a.lzh", "LHA");
        file.SetFileName(archive);
    }

    std::string archive;
    TArchiveFile file;
};

struct ProgressRecord
{
    std::vector<std::int32_t> states;
    std::vector<std::string> members;
};

} // namespace

// Catches a listing that misses or repeats members, leaves its handle set after closing,
// or fails on an archive the library cannot open.
TEST_F(ArchiveFileTest, ListsAsThePlayerDoes)
{
    RecordingWindow bar;
    const HARC handle = file.OpenArchive(bar.Handle(), 0);
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(file.ArchiveHandle(), handle);
    std::vector<std::string> names;
    INDIVIDUALINFO info;
    for (int result = file.FindFirst("*.*", info); result == 0; result = file.FindNext(info))
        names.push_back(MemberFileName(info));
    file.CloseArchive();
    EXPECT_EQ(file.ArchiveHandle(), 0u);
    EXPECT_THAT(names, ElementsAre("song.mid", "sub/Tune.RMI", "readme.txt"));
    EXPECT_EQ(file.FindFirst("*.rmi", info), ERROR_HARC_ISNOT_OPENED);

    file.SetFileName(libs.Folder().Write("b.lzh", "not an archive"));
    EXPECT_EQ(file.OpenArchive(bar.Handle(), 0), 0u);
    EXPECT_NE(file.FindFirst("*.*", info), 0);
    file.CloseArchive();
}

// Catches a listing left open inside the library when the component goes.
TEST_F(ArchiveFileTest, DestroyingClosesAnOpenListing)
{
    {
        TArchiveFile other;
        other.SetFileName(archive);
        ASSERT_NE(other.OpenArchive(nullptr, 0), 0u);
    }
    EXPECT_THAT(libs.Calls("UNLHA32.DLL"), HasSubstr("UnlhaCloseArchive handle=open\n"));
}

// Catches an output buffer of the wrong size, not NUL-started, or handed over when empty.
TEST_F(ArchiveFileTest, OutputSizeSetsTheBufferHandedOver)
{
    file.SetOutputSize(8192);
    EXPECT_EQ(file.OutputSize(), 8192);
    file.Extract(nullptr, "/t", nullptr);
    EXPECT_EQ(file.OutputText(), "unlha32 Unlha: 0");
    file.SetOutputSize(16);
    file.Extract(nullptr, "/t", nullptr);
    file.SetOutputSize(0);
    file.Extract(nullptr, "/t", nullptr);
    file.SetOutputSize(-5);
    EXPECT_EQ(file.OutputSize(), 0);
    EXPECT_EQ(file.OutputText(), "");
    EXPECT_EQ(libs.Calls("UNLHA32.DLL"), "Unlha window=null size=8192 buffer=nul\n"
                                         "Unlha window=null size=16 buffer=nul\n"
                                         "Unlha window=null size=0 buffer=null\n");
}

// Catches a window created or registered when nobody listens to progress.
TEST_F(ArchiveFileTest, NoProgressHandlerNoWindow)
{
    file.Extract(nullptr, "/t", nullptr);
    EXPECT_EQ(file.ProgressWindow(), nullptr);
    EXPECT_THAT(libs.Calls("UNLHA32.DLL"), Not(HasSubstr("OwnerWindow")));
}

// Catches progress that never reaches the handler, states or records not passed through,
// the registration left in place, and the library's display left on.
TEST_F(ArchiveFileTest, ProgressReachesTheHandler)
{
    ProgressRecord record;
    TArchiveFile *sender = nullptr;
    file.SetOnProgress(
        [&](TArchiveFile &from, std::int32_t state, EXTRACTINGINFOEX *info, bool &abort) {
            sender = &from;
            EXPECT_FALSE(abort);
            record.states.push_back(state);
            if (state == ARCEXTRACT_INPROCESS && info != nullptr)
                record.members.push_back(info->exinfo.szSourceFileName);
        });
    EXPECT_EQ(file.Extract(nullptr, "/t", nullptr), 0);
    EXPECT_EQ(sender, &file);
    EXPECT_THAT(record.states, ElementsAre(0, 1, 1, 1, 2));
    EXPECT_THAT(record.members, ElementsAre("song.mid", "sub/Tune.RMI", "readme.txt"));
    EXPECT_NE(file.ProgressWindow(), nullptr);
    EXPECT_EQ(file.CommandLine(), "x -+ -n1  \"" + archive + "\" \"/t\\\" ");
    EXPECT_EQ(libs.Calls("UNLHA32.DLL"), "UnlhaSetOwnerWindowEx callback=null\n"
                                         "Unlha window=null size=0 buffer=null\n"
                                         "UnlhaKillOwnerWindowEx\n");
    EXPECT_EQ(file.Archiver()->OwnerWindow(), nullptr);

    // Messages other than "wm_arcextract" are answered with 0 and nothing else.
    const std::size_t seen = record.states.size();
    EXPECT_EQ(SendArcMessage(file.ProgressWindow(), WM_ACTIVATE, WA_ACTIVE, 0), 0);
    EXPECT_EQ(record.states.size(), seen);
}

// Catches an abort request that does not reach the library.
TEST_F(ArchiveFileTest, HandlerCanAbort)
{
    std::vector<std::int32_t> states;
    file.SetOnProgress([&](TArchiveFile &, std::int32_t state, EXTRACTINGINFOEX *, bool &abort) {
        states.push_back(state);
        abort = states.size() == 3;
    });
    EXPECT_EQ(file.Extract(nullptr, "/t", nullptr), ERROR_USER_CANCEL);
    EXPECT_THAT(states, ElementsAre(0, 1, 1));
}

// Catches an exception unwinding through the library, lost, or leaving the window
// registered; and CommandLine updated by a failed extraction.
TEST_F(ArchiveFileTest, HandlerExceptionStopsAndReachesTheCaller)
{
    file.Extract(nullptr, "/first", nullptr);
    const std::string previous = file.CommandLine();
    int calls = 0;
    file.SetOnProgress([&](TArchiveFile &, std::int32_t, EXTRACTINGINFOEX *, bool &) {
        ++calls;
        throw std::runtime_error("handler failed");
    });
    EXPECT_THROW(file.Extract(nullptr, "/second", nullptr), std::runtime_error);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(file.CommandLine(), previous);
    EXPECT_THAT(libs.Calls("UNLHA32.DLL"), HasSubstr("UnlhaKillOwnerWindowEx\n"));

    file.SetOnProgress(nullptr);
    EXPECT_EQ(file.Extract(nullptr, "/third", nullptr), 0);
    EXPECT_THAT(file.CommandLine(), HasSubstr("/third"));
}

// Catches a failing registration (ZIP without UNZIP32) that fails the extraction.
TEST(ArchiveFileProgress, RegistrationFailuresAreSwallowed)
{
    FakeLibraryFolder libs;
    libs.Place("LMZIP32.DLL");
    TArchiveFile file;
    file.SetFileName("a.zip");
    int calls = 0;
    file.SetOnProgress([&](TArchiveFile &, std::int32_t, EXTRACTINGINFOEX *, bool &) { ++calls; });
    EXPECT_EQ(file.Extract(nullptr, "/t", nullptr), 0);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(file.CommandLine(), R"(-x  "a.zip" "/t/" )");
}

// Catches response files with wrong quoting, line ends or delimiters, the list not replaced
// by the single "@" item, and settings read from the wrong options object.
TEST(ResponseFile, LongListsGoThroughTheFile)
{
    FakeLibraryFolder libs;
    libs.Place("UNZIP32.DLL");
    const std::string list = libs.Folder() / "list.txt";
    TArchiveFile file;
    file.SetFileName("a.zip");
    file.Options().ResFileName = list;
    const TStringList files{"*.mid", "a\\b.mid"};
    file.Extract(nullptr, "/t", &files);
    EXPECT_EQ(platform::ReadFile(list), "\"*.mid\"\r\n\"a/b.mid\"\r\n");
    EXPECT_EQ(file.CommandLine(), "-x  \"a.zip\" \"/t/\" \"@" + list + "\" ");

    TArchiverOptions other;
    other.x = 0;
    const TStringList one{"c.mid"};
    file.Extract(nullptr, &other, &one, "/t");
    EXPECT_EQ(platform::ReadFile(list), "\"c.mid\"\r\n");
    EXPECT_EQ(file.CommandLine(), "-x -j  \"a.zip\" \"/t/\" \"@" + list + "\" ");

    file.Options().ResFileUsage = TResFileUsage::All().Exclude(TResFileUse::ruOnUnpack);
    file.Extract(nullptr, "/t", &files);
    EXPECT_EQ(file.CommandLine(), R"(-x  "a.zip" "/t/" "*.mid" "a/b.mid" )");
    EXPECT_EQ(platform::ReadFile(list), "\"c.mid\"\r\n");

    file.Options().ResFileUsage = TResFileUsage::All();
    file.Extract(nullptr, "/t", nullptr);
    EXPECT_EQ(file.CommandLine(), R"(-x  "a.zip" "/t/" )");
    file.Options().ResFileName = UnsetText();
    file.Extract(nullptr, "/t", &one);
    EXPECT_EQ(file.CommandLine(), R"(-x  "a.zip" "/t/" "c.mid" )");
}

// Catches a response file that cannot be written being ignored (the library would get a
// stale list) or leaving the progress window registered.
TEST(ResponseFile, UnwritableFileFailsTheExtraction)
{
    FakeLibraryFolder libs;
    libs.Place("UNLHA32.DLL");
    TArchiveFile file;
    file.SetFileName("a.lzh");
    file.Options().ResFileName = libs.Folder() / "missing/list.txt";
    file.SetOnProgress([](TArchiveFile &, std::int32_t, EXTRACTINGINFOEX *, bool &) {});
    const TStringList one{"c.mid"};
    EXPECT_THROW(file.Extract(nullptr, "/t", &one), std::runtime_error);
    EXPECT_EQ(libs.Calls("UNLHA32.DLL"), "UnlhaSetOwnerWindowEx callback=null\n"
                                         "UnlhaKillOwnerWindowEx\n");
    EXPECT_EQ(file.CommandLine(), "");
}
