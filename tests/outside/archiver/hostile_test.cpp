// Hostile archives: names that climb out of the folder, links, devices, lying sizes,
// garbage. Nothing may be written outside the target folder and nothing may crash.

#include "archivebuilders.h"
#include "archivertesting.h"
#include "support/tempfolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>

using namespace archiver_testing;
namespace fs = std::filesystem;

namespace {

// Extractions go to sandbox/out; anything else appearing in sandbox escaped.
class HostileArchive : public ::testing::Test
{
protected:
    void SetUp() override { fs::create_directories(Sandbox()); }

    std::string Sandbox() const { return temp_ / "sandbox"; }
    std::string Out() const { return temp_ / "sandbox/out"; }

    int Extract(const std::string &format, const std::string &archive, bool keepFolders,
                const std::vector<std::string> &masks = {"*"})
    {
        const Format &f = FormatNamed(format);
        return Archiver(f).Command(keepFolders ? KeepFoldersCommandLine(f, archive, Out(), masks)
                                               : PlayerCommandLine(f, archive, Out(), masks));
    }

    // Everything in the sandbox lies in out, and out holds no link and no leftover.
    void ExpectContained() const
    {
        for (const std::string &entry : TreeOf(Sandbox()))
            EXPECT_EQ(entry.rfind("out/", 0), 0u) << "escaped: " << entry;
        EXPECT_FALSE(HasLinksOrTempFiles(Sandbox()));
    }

    testing_support::TempFolder temp_;
};

} // namespace

// Catches ".." and absolute member names written where they point.
TEST_F(HostileArchive, ClimbingNamesStayInside)
{
    const std::vector<StoredMember> members = {{"../evil1.mid", "1"},
                                               {"sub/../../evil2.mid", "2"},
                                               {"..\\evil3.mid", "3"},
                                               {temp_ / "sandbox/abs.mid", "4"},
                                               {"..", "5"}};
    const std::string zip = temp_.Write("climb.zip", BuildZip(members));
    std::vector<TarMember> tarMembers;
    for (const StoredMember &m : members)
        tarMembers.push_back({m.name, '0', m.data, "", std::nullopt});
    const std::string tar = temp_.Write("climb.tar", BuildTar(tarMembers));

    for (const auto &[format, archive] : {std::pair{"zip", zip}, std::pair{"tar", tar}}) {
        // Stored folders kept: every climbing name is refused; the absolute one is re-rooted.
        EXPECT_EQ(Extract(format, archive, true), ERROR_MEMBER_REFUSED) << format;
        ExpectContained();
        EXPECT_EQ(TreeOf(Out()).back(), fs::relative(temp_ / "sandbox/abs.mid", "/").string());
        fs::remove_all(Out());
        // Flat: only name parts are used, all inside the folder.
        EXPECT_EQ(Extract(format, archive, false), ERROR_MEMBER_REFUSED) << format; // ".."
        ExpectContained();
        EXPECT_EQ(TreeOf(Out()),
                  (std::vector<std::string>{"abs.mid", "evil1.mid", "evil2.mid", "evil3.mid"}));
        fs::remove_all(Out());
    }
}

// Catches links and devices created, and a link member used to redirect later members.
TEST_F(HostileArchive, LinksAndDevicesAreNeverCreated)
{
    fs::create_directories(temp_ / "elsewhere");
    const std::string tar =
        temp_.Write("links.tar", BuildTar({{"dir", '2', "", temp_ / "elsewhere", std::nullopt},
                                           {"dir/evil.mid", '0', "via link", "", std::nullopt},
                                           {"link.mid", '2', "", "/etc/passwd", std::nullopt},
                                           {"hard.mid", '1', "", "/etc/passwd", std::nullopt},
                                           {"tty.mid", '3', "", "", std::nullopt},
                                           {"fifo.mid", '6', "", "", std::nullopt},
                                           {"song.mid", '0', "MThd", "", std::nullopt}}));
    for (const bool keepFolders : {true, false}) {
        EXPECT_EQ(Extract("tar", tar, keepFolders), ERROR_MEMBER_REFUSED);
        ExpectContained();
        EXPECT_TRUE(fs::is_empty(temp_ / "elsewhere"));
        EXPECT_EQ(ReadFile(Out() + "/song.mid"), "MThd");
        EXPECT_FALSE(fs::exists(Out() + "/tty.mid"));
        EXPECT_FALSE(fs::exists(Out() + "/fifo.mid"));
        EXPECT_FALSE(fs::exists(Out() + "/link.mid"));
        fs::remove_all(Out());
    }
}

// Catches a member above 256 MiB written (also when the environment asks for more), and a
// total above the limit written on; size limits counted on the data, not only the header.
TEST_F(HostileArchive, OversizedMembersAndArchivesAreRefused)
{
    ScopedEnv raise("SONOLUX_ARCHIVER_MEMBER_LIMIT", "999999999999");
    const std::string huge =
        temp_.Write("huge.tar", BuildTar({{"huge.mid", '0', "MThd", "", 300ull << 20},
                                          {"after.mid", '0', "never reached", "", std::nullopt}}));
    EXPECT_EQ(Extract("tar", huge, false), ERROR_MEMBER_TOO_LARGE);
    ExpectContained();
    EXPECT_FALSE(fs::exists(Out() + "/huge.mid"));

    {
        ScopedEnv total("SONOLUX_ARCHIVER_TOTAL_LIMIT", "100000");
        std::vector<StoredMember> members;
        for (int i = 0; i < 5; ++i)
            members.push_back({"part" + std::to_string(i) + ".mid", std::string(40000, 'x')});
        fs::remove_all(Out());
        EXPECT_EQ(Extract("zip", temp_.Write("many.zip", BuildZip(members)), false),
                  ERROR_ARCHIVE_TOO_LARGE);
        EXPECT_EQ(TreeOf(Out()), (std::vector<std::string>{"part0.mid", "part1.mid"}));
        ExpectContained();
    }
    {
        // A lone compressed file declares no size: the limit applies to the bytes written.
        ScopedEnv member("SONOLUX_ARCHIVER_MEMBER_LIMIT", "50000");
        temp_.Write("src/big.mid", std::string(60000, 'z'));
        ASSERT_EQ(RunTool({"gzip", "big.mid"}, temp_ / "src"), 0);
        fs::remove_all(Out());
        EXPECT_EQ(Extract("tar", temp_ / "src/big.mid.gz", false), ERROR_MEMBER_TOO_LARGE);
        EXPECT_TRUE(fs::is_empty(Out()));
        ExpectContained();
    }
}

// Catches crashes, hangs or escapes on damaged and random archives of every kind.
TEST_F(HostileArchive, GarbageIsAResultCodeNeverACrash)
{
    ScopedEnv budget("SONOLUX_ARCHIVER_BUDGET", "5");
    const std::vector<StoredMember> members = {{"a.mid", std::string(5000, 'a')},
                                               {"b\\b.mid", "MThd b"}};
    const std::vector<std::pair<std::string, std::string>> valid = {
        {"lzh", BuildLzh(members, 0)},
        {"lzh", BuildLzh(members, 2)},
        {"rar", BuildRar4(members)},
        {"zip", BuildZip(members)},
        {"tar", BuildTar({{"a.mid", '0', "MThd a", "", std::nullopt}})}};
    std::mt19937 random(5);
    int round = 0;
    for (const auto &[format, archive] : valid) {
        for (int variant = 0; variant < 6; ++variant, ++round) {
            std::string damaged = archive;
            if (variant == 0)
                damaged.resize(damaged.size() / 2);
            else if (variant == 5)
                for (char &c : damaged)
                    c = static_cast<char>(random());
            else
                for (int k = 0; k < variant * 3; ++k)
                    damaged[random() % damaged.size()] ^= static_cast<char>(1 + random() % 255);
            const std::string path =
                temp_.Write("damaged" + std::to_string(round) + "." + format, damaged);
            Extract(format, path, variant % 2 == 0);
            Archiver(FormatNamed(format)).List(path);
            ExpectContained();
        }
        fs::remove_all(Out());
    }
}

// Catches a RAR header asking libarchive for petabytes (found by fuzzing) taking us down.
TEST_F(HostileArchive, AbsurdAllocationRequestIsAResultCode)
{
    const std::string header("Rar!\x1a\x07\x00\x23\x25\x7a\x00\x01\x28", 13);
    const std::string archive = temp_.Write(
        "absurd.rar", header + std::string(26, '\0') + "\xff\xff\xff\x7f" + std::string(4, '\0'));
    bool opened = true;
    EXPECT_TRUE(Archiver(FormatNamed("rar")).List(archive, &opened).empty());
    EXPECT_NE(Extract("rar", archive, false), 0);
    ExpectContained();
}

// Catches a header failing again and again at one place stepped over for ever (fuzzing).
TEST_F(HostileArchive, HeaderFailingForEverIsReportedAtOnce)
{
    ScopedEnv budget("SONOLUX_ARCHIVER_BUDGET", "10");
    static const char bytes[] = "\x52\x61\x72\x21\x1a\x07\x01\x00\x3d\x3c\xde\xe5\x02\x01\x00\xff"
                                "\x01\x00\x44\x3e\xfa\x57\x02\x02"
                                "\x03\x0b\x00\x02\x2e\x22\x09\xff\x00\x04\x88\x22\x81\x00\x09\x0b"
                                "\x80\x61\x99\xff\xd1\xf9\x09\x29"
                                "\x19\x09\xe7\x22\x61\x72\x21\x07\x1a\x24\x00\x53\x80\x2a\xf4\x03"
                                "\x02\xe7\x22\x0b\x72\x21\x1a\x07"
                                "\x01\x00\x3d\x3c\xde\xe5\x02\x01\x00\xff\x01\x00\x44\x3e\xfa\x57"
                                "\x02\x02\x03\x0b\x00\x02\x2e\x22"
                                "\x09\xff\x00\x04\x88\x22\x81\x00\x09\x0b\x80\x61\x99\xff\xd1\xff"
                                "\xe3\xbf\x87\x31\x00\x00\x00\xc1"
                                "\x80\x05\x01\x04\xed\xab\x00\x00\x43\xad\x2a\x52\x61\x72\x21\x00"
                                "\xbd\xcf\x1e\xc1\x00\x9b\x3f\x04"
                                "\x45\x00\x08\x4a\x4a\x4a\x4a\x4a\x4e\x71\x71\x6d\x2e\x64\x71\x4a"
                                "\x4a\x4a\x4a\x4a\x4a\x4a\x00\x00"
                                "\x64\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
                                "\x00\x00\x00\x00\x00\x00\x00\x00"
                                "\x00\x00\x00\x00\x00\x00\x00\x00\x00\xf4\x03\x02\x52\x61\x20\x00"
                                "\x00\x00\x10\x00\x00\x00\x03\xf4"
                                "\x03\x02\xe7\x22\x03\xf3\x26\x80\x01\xfb\xff\xff\x00\x00\x80\x14"
                                "\x9e\x9e\x63\xff\x9e\x9e\x53\xff"
                                "\x00\x00\x4e";
    const std::string archive = temp_.Write("stuck.rar", std::string(bytes, sizeof bytes - 1));
    // No member is selected, so no member's data is read between the headers.
    const int code = Extract("rar", archive, false, {"no such member"});
    EXPECT_NE(code, ERROR_TIME_BUDGET) << "the helper spun until its deadline";
    EXPECT_NE(code, 0);
    ExpectContained();
}

// Catches an LHA extended header whose size makes libarchive ask for gigabytes (found by
// fuzzing) taking the helper down, or reading on as if the allocation had succeeded.
TEST_F(HostileArchive, LhaHeaderAskingForGigabytesIsAResultCode)
{
    const std::string archive =
        temp_.Write("absurd.lzh", std::string("\x04\x00-lhd-\x00\x00\x00\x00\x60\x80\x00\x03\xb5"
                                              "\x20\x01\x00\x20\x03\x00\x00\x4d\x7c\x00\x6d\x91"
                                              "\x76\x80\x31\x80",
                                              32));
    bool opened = true;
    EXPECT_TRUE(Archiver(FormatNamed("lzh")).List(archive, &opened).empty());
    EXPECT_NE(Extract("lzh", archive, false), 0);
    ExpectContained();
}
