// Each archiver library driven through its C entries exactly as the program's back-ends
// drive it, on archives made by Debian's tools or built byte by byte.

#include "archivebuilders.h"
#include "archivertesting.h"
#include "support/tempfolder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace archiver_testing;
namespace fs = std::filesystem;

namespace {

// Members in archive order; the song files among them are what the player extracts.
const std::vector<std::string> memberNames = {
    "Song1.MID", "sub/song2.mid", "readme.txt", "sub/deep/Track3.RCP",
    "x.r36",     "y.G36",         "z.rmi",      "notes.doc"};
const std::vector<std::string> songFiles = {"Song1.MID", "Track3.RCP", "song2.mid",
                                            "x.r36",     "y.G36",      "z.rmi"};

std::string DataOf(const std::string &name)
{
    std::string data;
    while (data.size() < 3000)
        data += "MThd of " + name + ";";
    return data;
}

std::string BaseName(const std::string &name)
{
    return name.substr(name.rfind('/') + 1);
}

struct Case
{
    std::string name;   // test name and archive extension
    std::string format; // library format
};

// Makes the test archive of kind c.name in temp; its path.
std::string MakeArchive(const Case &c, const testing_support::TempFolder &temp)
{
    for (const std::string &name : memberNames)
        temp.Write("src/" + name, DataOf(name));
    const std::string archive = temp / ("songs." + c.name);
    std::vector<std::string> tool;
    if (c.name == "lzh" || c.name == "rar") {
        std::vector<StoredMember> members;
        for (const std::string &name : memberNames) {
            std::string stored = name;
            std::replace(stored.begin(), stored.end(), '/', '\\'); // as MS-DOS archivers wrote
            members.push_back({stored, DataOf(name)});
        }
        temp.Write("songs." + c.name, c.name == "lzh" ? BuildLzh(members, 0) : BuildRar4(members));
        return archive;
    }
    if (c.name == "zip")
        tool = {"zip", "-q", archive};
    else if (c.name == "arj")
        tool = {"arj", "a", "-m1", "-y", archive};
    else if (c.name == "cab")
        tool = {"gcab", "-c", "-z", archive};
    else
        tool = {"tar", c.name == "tgz" ? "czf" : c.name == "tbz" ? "cjf" : "cf", archive};
    tool.insert(tool.end(), memberNames.begin(), memberNames.end());
    EXPECT_EQ(RunTool(tool, temp / "src"), 0);
    return archive;
}

class ArchiverLibrary : public ::testing::TestWithParam<Case>
{
protected:
    void SetUp() override
    {
        format_ = FormatNamed(GetParam().format);
        archiver_ = std::make_unique<Archiver>(format_);
        ASSERT_TRUE(archiver_->Loaded()) << platform::DynamicLibrary::LastError();
        archive_ = MakeArchive(GetParam(), temp_);
    }

    testing_support::TempFolder temp_;
    Format format_;
    std::unique_ptr<Archiver> archiver_;
    std::string archive_;
};

} // namespace

// Catches members listed out of order, missing, or with their folders lost.
TEST_P(ArchiverLibrary, ListsMembersInArchiveOrder)
{
    bool opened = false;
    EXPECT_EQ(archiver_->List(archive_, &opened), memberNames);
    EXPECT_TRUE(opened);

    const HARC handle = archiver_->Open(archive_, 0);
    INDIVIDUALINFO info;
    ASSERT_EQ(archiver_->FindFirst(handle, "*.rcp", &info), 0);
    EXPECT_STREQ(info.szFileName, "sub/deep/Track3.RCP");
    EXPECT_EQ(info.dwOriginalSize, DataOf("sub/deep/Track3.RCP").size());
    EXPECT_EQ(archiver_->FindNext(handle, &info), -1);
    EXPECT_EQ(archiver_->Close(handle), 0);
    EXPECT_EQ(archiver_->FindNext(handle, &info), ERROR_HARC_ISNOT_OPENED);
}

// Catches song members missed, other members extracted, folders kept, contents changed,
// the folder not created, or temporary files left: the player's own extraction.
TEST_P(ArchiverLibrary, PlayersExtractionLandsSongsFlat)
{
    const std::string folder = temp_ / "run/user/0/SONOLUXTEMP";
    std::string report;
    ASSERT_EQ(archiver_->Command(PlayerCommandLine(format_, archive_, folder), &report), 0)
        << report;
    EXPECT_EQ(TreeOf(folder), songFiles);
    for (const std::string &name : memberNames) {
        const std::string file = folder + "/" + BaseName(name);
        EXPECT_TRUE(!fs::exists(file) || ReadFile(file) == DataOf(name)) << name;
    }
    EXPECT_FALSE(HasLinksOrTempFiles(folder));

    // One member by the name the play list knows it by, in any letter case.
    fs::remove_all(folder);
    ASSERT_EQ(archiver_->Command(PlayerCommandLine(format_, archive_, folder, {"SONG2.MID"})), 0);
    EXPECT_EQ(TreeOf(folder), std::vector<std::string>{"song2.mid"});
}

// Catches stored folders dropped (or escaped) when the command asks to keep them.
TEST_P(ArchiverLibrary, KeepsStoredFoldersWhenAsked)
{
    const std::string folder = temp_ / "kept";
    ASSERT_EQ(archiver_->Command(KeepFoldersCommandLine(format_, archive_, folder)), 0);
    EXPECT_EQ(TreeOf(folder),
              (std::vector<std::string>{"Song1.MID", "notes.doc", "readme.txt", "sub/", "sub/deep/",
                                        "sub/deep/Track3.RCP", "sub/song2.mid", "x.r36", "y.G36",
                                        "z.rmi"}));
    EXPECT_EQ(ReadFile(folder + "/sub/deep/Track3.RCP"), DataOf("sub/deep/Track3.RCP"));
}

// Catches a probe that misses its own kind or claims another library's archives, and
// checks that disagree with the data.
TEST_P(ArchiverLibrary, ProbeAndCheckKnowTheirOwnKind)
{
    const HARC probe = archiver_->Open(archive_, M_CHECK_ARCHIVE_PROBE);
    EXPECT_NE(probe, 0u);
    INDIVIDUALINFO info;
    EXPECT_EQ(archiver_->FindFirst(probe, "*.*", &info), -1);
    archiver_->Close(probe);
    for (const Format &other : Formats()) {
        if (other.name == format_.name)
            continue;
        const Archiver foreign(other);
        EXPECT_EQ(foreign.Open(archive_, M_CHECK_ARCHIVE_PROBE), 0u) << other.name;
        EXPECT_EQ(foreign.Check(archive_, CHECKARCHIVE_BASIC), 0) << other.name;
    }
    EXPECT_EQ(archiver_->Check(archive_, CHECKARCHIVE_RAPID), 1);
    EXPECT_EQ(archiver_->Check(archive_, CHECKARCHIVE_FULLCRC), 1);
    EXPECT_EQ(archiver_->Check(temp_.Write("text.txt", "just text"), CHECKARCHIVE_RAPID), 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, ArchiverLibrary,
                         ::testing::Values(Case{"lzh", "lzh"}, Case{"arj", "arj"},
                                           Case{"zip", "zip"}, Case{"cab", "cab"},
                                           Case{"tar", "tar"}, Case{"tgz", "tar"},
                                           Case{"tbz", "tar"}, Case{"rar", "rar"}),
                         [](const auto &info) { return info.param.name; });

// Catches an LZH self-extractor whose program head is larger than the library's own short
// scan: the probe recognised it, but opening it failed. The reader starts at the header
// the probe finds, also behind a .com program's jump.
TEST(ArchiverSelfExtractor, LzhBehindALargeProgramHeadOpens)
{
    testing_support::TempFolder temp;
    const Format &lzh = FormatNamed("lzh");
    const Archiver unlha(lzh);
    const std::string archive = BuildLzh({{"song.mid", DataOf("song.mid")}}, 2);
    int run = 0;
    for (const std::string &head :
         {"MZ" + std::string(700000, '\x90'), "\xEB\x60" + std::string(40000, '\0')}) {
        const std::string path = temp.Write("sfx" + std::to_string(++run) + ".exe", head + archive);
        EXPECT_EQ(unlha.Check(path, CHECKARCHIVE_RAPID), 1) << run;
        EXPECT_EQ(unlha.List(path), std::vector<std::string>{"song.mid"}) << run;
        const std::string out = temp / ("out" + std::to_string(run));
        EXPECT_EQ(unlha.Command(PlayerCommandLine(lzh, path, out)), 0) << run;
        EXPECT_EQ(ReadFile(out + "/song.mid"), DataOf("song.mid")) << run;
    }
    // An archive inside a file that is no program is a stored member, not this file's kind.
    const std::string data = temp.Write("data.bin", std::string(5000, 'x') + archive);
    EXPECT_NE(unlha.Command(PlayerCommandLine(lzh, data, temp / "none")), 0);
    EXPECT_TRUE(TreeOf(temp / "none").empty());
}

class SelfExtractor : public ArchiverLibrary
{
};

// Catches a Win32 or MS-DOS self-extractor (an archive behind a program head larger than
// libarchive's own short scan, or for ARJ our reader's) that the probe recognises but the
// library cannot open. LZH: ArchiverSelfExtractor above.
TEST_P(SelfExtractor, OpensBehindALargeProgramHead)
{
    const std::string path =
        temp_.Write("sfx.exe", "MZ" + std::string(700000, '\x90') + ReadFile(archive_));
    EXPECT_EQ(archiver_->Check(path, CHECKARCHIVE_RAPID), 1);
    EXPECT_EQ(archiver_->List(path), memberNames);
    const std::string folder = temp_ / "out";
    std::string report;
    EXPECT_EQ(archiver_->Command(PlayerCommandLine(format_, path, folder), &report), 0) << report;
    EXPECT_EQ(TreeOf(folder), songFiles);
    EXPECT_EQ(ReadFile(folder + "/Track3.RCP"), DataOf("sub/deep/Track3.RCP"));
}

INSTANTIATE_TEST_SUITE_P(Formats, SelfExtractor,
                         ::testing::Values(Case{"arj", "arj"}, Case{"zip", "zip"},
                                           Case{"cab", "cab"}, Case{"rar", "rar"}),
                         [](const auto &info) { return info.param.name; });
