// The entries' contracts beyond plain extraction: progress and cancelling through the
// owner window, result codes, the report buffer, exports, missing parts, Shift-JIS names.

#include "archivebuilders.h"
#include "archivertesting.h"
#include "support/tempfolder.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

using namespace archiver_testing;
namespace fs = std::filesystem;

namespace {

std::string ThreeSongZip(const testing_support::TempFolder &temp)
{
    return temp.Write("three.zip", BuildZip({{"a.mid", std::string(3000000, 'a')},
                                             {"dir/b.mid", "MThd b"},
                                             {"c.mid", "MThd c"}}));
}

struct Message
{
    uint32_t message;
    uintptr_t state;
    std::string source;
    std::string destination;
    uint32_t written;
    std::thread::id thread;
};

struct Owner
{
    ARC_WINDOW window{};
    std::vector<Message> messages;
    int stopAtBegin = -1; // answer "stop" at this BEGIN (0-based), never when -1
    int begins = 0;

    Owner()
    {
        window.context = this;
        window.proc = [](ARC_WINDOW *self, uint32_t message, uintptr_t state, intptr_t lParam) {
            Owner &owner = *static_cast<Owner *>(self->context);
            const auto *info = reinterpret_cast<const EXTRACTINGINFOEX *>(lParam);
            owner.messages.push_back({message, state, info->exinfo.szSourceFileName,
                                      info->exinfo.szDestFileName, info->exinfo.dwWriteSize,
                                      std::this_thread::get_id()});
            if (state == ARCEXTRACT_BEGIN && owner.begins++ == owner.stopAtBegin)
                return intptr_t(1);
            return intptr_t(0);
        };
    }
};

} // namespace

// Catches progress sent to the wrong window or thread, with the wrong message or states,
// and messages after the window was withdrawn.
TEST(ArchiverEntries, ProgressReachesTheOwnerWindowInTheCallersThread)
{
    testing_support::TempFolder temp;
    const std::string archive = ThreeSongZip(temp);
    const Archiver zip(FormatNamed("zip"));
    Owner owner;
    Owner other;
    ASSERT_EQ(zip.SetOwner(nullptr), 0);
    ASSERT_EQ(zip.SetOwner(&owner.window), 1);
    EXPECT_EQ(zip.KillOwner(&other.window), 0);
    ASSERT_EQ(zip.Command(PlayerCommandLine(FormatNamed("zip"), archive, temp / "out")), 0);

    const uint32_t registered = ArcRegisterWindowMessage("wm_arcextract");
    std::vector<std::string> begun;
    ASSERT_FALSE(owner.messages.empty());
    EXPECT_EQ(owner.messages.front().state, uintptr_t(ARCEXTRACT_OPEN));
    EXPECT_EQ(owner.messages.back().state, uintptr_t(ARCEXTRACT_END));
    bool sawLargeProgress = false;
    for (const Message &m : owner.messages) {
        EXPECT_EQ(m.message, registered);
        EXPECT_EQ(m.thread, std::this_thread::get_id());
        if (m.state == ARCEXTRACT_BEGIN)
            begun.push_back(m.source);
        if (m.state == ARCEXTRACT_INPROCESS && m.source == "a.mid" && m.written == 3000000)
            sawLargeProgress = m.destination == temp / "out/a.mid";
    }
    EXPECT_EQ(begun, (std::vector<std::string>{"a.mid", "dir/b.mid", "c.mid"}));
    EXPECT_TRUE(sawLargeProgress);

    EXPECT_EQ(zip.KillOwner(&owner.window), 1);
    owner.messages.clear();
    ASSERT_EQ(zip.Command(PlayerCommandLine(FormatNamed("zip"), archive, temp / "again")), 0);
    EXPECT_TRUE(owner.messages.empty());
    EXPECT_TRUE(other.messages.empty());
}

// Catches a stop request ignored, or the member in progress left half written.
TEST(ArchiverEntries, OwnerWindowCanStopTheExtraction)
{
    testing_support::TempFolder temp;
    const std::string archive = ThreeSongZip(temp);
    const Archiver zip(FormatNamed("zip"));
    Owner owner;
    owner.stopAtBegin = 1;
    ASSERT_EQ(zip.SetOwner(&owner.window), 1);
    const int result = zip.Command(PlayerCommandLine(FormatNamed("zip"), archive, temp / "out"));
    zip.KillOwner(&owner.window);
    EXPECT_EQ(result, ERROR_USER_CANCEL);
    EXPECT_EQ(TreeOf(temp / "out"), std::vector<std::string>{"a.mid"});
    EXPECT_EQ(fs::file_size(temp / "out/a.mid"), 3000000u);
}

// Catches failures reported as success, and a report written past the caller's buffer.
TEST(ArchiverEntries, FailuresAreResultCodes)
{
    testing_support::TempFolder temp;
    const Format &lzh = FormatNamed("lzh");
    const Archiver unlha(lzh);
    const std::string text = temp.Write("notes.lzh", "not an archive at all");
    EXPECT_EQ(unlha.Command(PlayerCommandLine(lzh, text, temp / "out")), ERROR_NOT_ARC_FILE);
    EXPECT_EQ(unlha.Command(PlayerCommandLine(lzh, temp / "missing.lzh", temp / "out")),
              ERROR_NOT_FIND_ARC_FILE);
    EXPECT_EQ(unlha.Command(PlayerCommandLine(lzh, temp.Path(), temp / "out")), ERROR_NOT_ARC_FILE);
    EXPECT_EQ(unlha.Command("l \"" + text + "\""), ERROR_COMMAND_NAME);
    EXPECT_EQ(unlha.Entry<ARC_COMMAND>("")(nullptr, nullptr, nullptr, 0), ERROR_COMMAND_NAME);
    EXPECT_EQ(unlha.Command("x \"" + text + "\" \"" + temp / "out\\" + "\" @" + temp / "none"),
              ERROR_RESPONSE_READ);
    bool opened = true;
    EXPECT_TRUE(unlha.List(text, &opened).empty());
    EXPECT_FALSE(opened);
    EXPECT_EQ(unlha.Open(temp.Path(), 0), 0u);
    EXPECT_EQ(unlha.FindFirst(12345, "*.*", nullptr), ERROR_HARC_ISNOT_OPENED);

    char small[16];
    std::memset(small, 'x', sizeof small);
    EXPECT_EQ(unlha.Entry<ARC_COMMAND>("")(nullptr, "l", small, 8), ERROR_COMMAND_NAME);
    EXPECT_EQ(small[7], '\0');
    EXPECT_EQ(small[8], 'x');
}

// Catches internal symbols leaking out of a library, or an entry missing.
TEST(ArchiverEntries, LibrariesExportTheirEntriesOnly)
{
    const std::vector<std::string> suffixes = {
        "",         "CheckArchive",      "CloseArchive", "FindFirst",
        "FindNext", "KillOwnerWindowEx", "OpenArchive",  "SetOwnerWindowEx"};
    for (const Format &format : Formats()) {
        const Archiver archiver(format);
        ASSERT_TRUE(archiver.Loaded()) << format.library;
        std::vector<std::string> expected;
        for (const std::string &suffix : suffixes)
            expected.push_back(format.prefix + suffix);
        if (format.prefix == "Tar")
            expected.push_back("TarGetArchiveType");
        std::sort(expected.begin(), expected.end());

        const std::string command = "nm -D --defined-only '" + archiver.Path() + "'";
        FILE *pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::vector<std::string> exported;
        char line[512];
        while (std::fgets(line, sizeof line, pipe) != nullptr) {
            std::string symbol = line;
            symbol = symbol.substr(symbol.rfind(' ') + 1);
            symbol.erase(symbol.find_last_not_of("\n") + 1);
            exported.push_back(symbol);
        }
        ASSERT_EQ(pclose(pipe), 0);
        std::sort(exported.begin(), exported.end());
        EXPECT_EQ(exported, expected) << format.library;
    }
}

// Catches a library that hangs or crashes when its helper or the RAR engine is missing.
TEST(ArchiverEntries, MissingHelperOrEngineIsAResultCode)
{
    testing_support::TempFolder temp;
    const Format &zipFormat = FormatNamed("zip");
    const Format &rarFormat = FormatNamed("rar");
    const std::string zip = temp.Write("a.zip", BuildZip({{"a.mid", "MThd"}}));
    const std::string rar = temp.Write("a.rar", BuildRar4({{"a.mid", "MThd"}}));
    fs::create_directories(temp / "lone");
    fs::create_directories(temp / "noengine");
    fs::copy_file(fs::path(SONOLUX_DIST_DIR) / "libunzip32.so", temp / "lone/libunzip32.so");
    fs::copy_file(fs::path(SONOLUX_DIST_DIR) / "libunrar32.so", temp / "noengine/libunrar32.so");
    fs::copy_file(fs::path(SONOLUX_DIST_DIR) / "arcworker", temp / "noengine/arcworker");

    const Archiver lone(zipFormat, temp / "lone");
    ASSERT_EQ(lone.Path(), temp / "lone/libunzip32.so");
    EXPECT_EQ(lone.Command(PlayerCommandLine(zipFormat, zip, temp / "out")), ERROR_WORKER_FAILED);
    EXPECT_EQ(lone.Open(zip, 0), 0u);
    EXPECT_NE(lone.Open(zip, M_CHECK_ARCHIVE_PROBE), 0u); // the probe needs no helper

    const Archiver noEngine(rarFormat, temp / "noengine");
    ASSERT_EQ(noEngine.Path(), temp / "noengine/libunrar32.so");
    std::string report;
    EXPECT_EQ(noEngine.Command(PlayerCommandLine(rarFormat, rar, temp / "out"), &report),
              ERROR_NOT_SUPPORT);
    EXPECT_NE(report.find("libunrar.so"), std::string::npos) << report;
    EXPECT_EQ(Archiver(rarFormat).Command(PlayerCommandLine(rarFormat, rar, temp / "out")), 0);
}

// Catches compressed TAR archives told apart wrongly from lone compressed files.
TEST(ArchiverEntries, TarGetArchiveTypeTellsTheKinds)
{
    testing_support::TempFolder temp;
    temp.Write("src/song.mid", "MThd song");
    ASSERT_EQ(RunTool({"tar", "cf", temp / "a.tar", "song.mid"}, temp / "src"), 0);
    ASSERT_EQ(RunTool({"tar", "czf", temp / "a.tgz", "song.mid"}, temp / "src"), 0);
    ASSERT_EQ(RunTool({"tar", "cjf", temp / "a.tbz", "song.mid"}, temp / "src"), 0);
    ASSERT_EQ(RunTool({"gzip", "-k", "song.mid"}, temp / "src"), 0);
    ASSERT_EQ(RunTool({"bzip2", "-k", "song.mid"}, temp / "src"), 0);

    const Archiver tar32(FormatNamed("tar"));
    const auto type = tar32.Entry<ARC_GET_ARCHIVE_TYPE>("GetArchiveType");
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type((temp / "a.tar").c_str()), ARCHIVETYPE_TAR);
    EXPECT_EQ(type((temp / "a.tgz").c_str()), ARCHIVETYPE_TARGZ);
    EXPECT_EQ(type((temp / "a.tbz").c_str()), ARCHIVETYPE_TARBZ2);
    EXPECT_EQ(type((temp / "src/song.mid.gz").c_str()), ARCHIVETYPE_GZ);
    EXPECT_EQ(type((temp / "src/song.mid.bz2").c_str()), ARCHIVETYPE_BZ2);
    EXPECT_EQ(type((temp / "src/song.mid").c_str()), ARCHIVETYPE_NONE);
    EXPECT_EQ(type((temp / "missing").c_str()), ARCHIVETYPE_UNREADABLE);

    // A lone compressed song extracts under its own name.
    const Format &tar = FormatNamed("tar");
    ASSERT_EQ(Archiver(tar).Command(PlayerCommandLine(tar, temp / "src/song.mid.gz", temp / "out")),
              0);
    EXPECT_EQ(ReadFile(temp / "out/song.mid"), "MThd song");
}

// Catches Shift-JIS member names converted, or cut at a second byte that equals "\"
// (libarchive rewrites such LHA and RAR 4 names).
TEST(ArchiverEntries, ShiftJisNamesKeepTheirBytes)
{
    const std::string so = "\x83\x5C";   // its second byte is "\"
    const std::string hyou = "\x95\x5C"; // likewise
    for (const char *codePage : {"65001", "932"}) {
        ScopedEnv env("SONOLUX_CODEPAGE", codePage);
        testing_support::TempFolder temp;
        const std::vector<StoredMember> members = {{hyou + ".mid", "one"},
                                                   {"SUB\\" + so + ".MID", "two"}};
        const std::string lzh0 = temp.Write("a.lzh", BuildLzh(members, 0));
        const std::string lzh2 =
            temp.Write("b.lzh", BuildLzh({{hyou + ".mid", "one"}, {so + ".MID", "two"}}, 2));
        const std::string zip =
            temp.Write("c.zip", BuildZip({{hyou + ".mid", "one"}, {"SUB/" + so + ".MID", "two"}}));
        const std::string rar = temp.Write("d.rar", BuildRar4(members));
        const Archiver unlha(FormatNamed("lzh"));
        EXPECT_EQ(unlha.List(lzh0),
                  (std::vector<std::string>{hyou + ".mid", "SUB/" + so + ".MID"}));
        EXPECT_EQ(unlha.List(lzh2), (std::vector<std::string>{hyou + ".mid", so + ".MID"}));
        EXPECT_EQ(Archiver(FormatNamed("zip")).List(zip),
                  (std::vector<std::string>{hyou + ".mid", "SUB/" + so + ".MID"}));
        EXPECT_EQ(Archiver(FormatNamed("rar")).List(rar),
                  (std::vector<std::string>{hyou + ".mid", "SUB/" + so + ".MID"}));

        for (const auto &[format, archive] :
             {std::pair{"lzh", lzh0}, std::pair{"zip", zip}, std::pair{"rar", rar}}) {
            const std::string folder = temp / (std::string("out-") + format);
            ASSERT_EQ(Archiver(FormatNamed(format))
                          .Command(PlayerCommandLine(FormatNamed(format), archive, folder)),
                      0);
            EXPECT_EQ(TreeOf(folder), (std::vector<std::string>{so + ".MID", hyou + ".mid"}))
                << format << " " << codePage;
            EXPECT_EQ(ReadFile(folder + "/" + so + ".MID"), "two");
        }
    }
}
