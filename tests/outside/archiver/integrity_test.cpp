// A member whose data no longer matches its check never arrives, in every format: the
// library answers the CRC code, the members around it still arrive intact, and no partial
// file is left behind.

#include "archivebuilders.h"
#include "archivertesting.h"
#include "support/tempfolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>

using namespace archiver_testing;
namespace fs = std::filesystem;

namespace {

// Incompressible data, so that compressors store it and its bytes can be found and changed
// in the archive; the marker is where the damage goes.
const std::string marker = "<<damage-goes-here>>";

std::string RandomData(unsigned seed, bool withMarker)
{
    std::mt19937 random(seed);
    std::string data;
    for (int i = 0; i < 6000; ++i)
        data.push_back(static_cast<char>(random() & 0xFF));
    if (withMarker)
        data.insert(3000, marker);
    return data;
}

struct DamageCase
{
    std::string name;   // archive extension
    std::string format; // library
    bool wholeStream;   // one check covers all three members: none can arrive
};

void PrintTo(const DamageCase &c, std::ostream *out)
{
    *out << c.name;
}

const std::vector<std::string> members = {"a.mid", "b.mid", "c.mid"};

std::string Make(const DamageCase &c, const testing_support::TempFolder &temp)
{
    for (std::size_t i = 0; i < members.size(); ++i)
        temp.Write("src/" + members[i], RandomData(static_cast<unsigned>(i), i == 1));
    const std::string archive = temp / ("damaged." + c.name);
    std::vector<std::string> tool;
    if (c.name == "lzh" || c.name == "stored.zip") {
        std::vector<StoredMember> stored;
        for (std::size_t i = 0; i < members.size(); ++i)
            stored.push_back({members[i], RandomData(static_cast<unsigned>(i), i == 1)});
        temp.Write("damaged." + c.name, c.name == "lzh" ? BuildLzh(stored, 2) : BuildZip(stored));
        return archive;
    }
    if (c.name == "zip")
        tool = {"zip", "-q", archive};
    else if (c.name == "cab")
        tool = {"gcab", "-c", "-z", archive};
    else if (c.name == "arj")
        tool = {"arj", "a", "-m1", "-y", archive};
    else
        tool = {"tar", "czf", archive};
    tool.insert(tool.end(), members.begin(), members.end());
    EXPECT_EQ(RunTool(tool, temp / "src"), 0);
    return archive;
}

// Changes one byte of the marker inside the archive (for a gzip stream, of its CRC-32 at
// the end): false when the marker is not there.
bool Damage(const testing_support::TempFolder &temp, const std::string &name)
{
    std::string bytes = ReadFile(temp / name);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".tgz") == 0 && bytes.size() > 8) {
        bytes[bytes.size() - 8] ^= 0x01;
        temp.Write(name, bytes);
        return true;
    }
    const std::size_t at = bytes.find(marker);
    if (at == std::string::npos)
        return false;
    bytes[at + 5] ^= 0x20;
    temp.Write(name, bytes);
    return true;
}

class DamagedMember : public ::testing::TestWithParam<DamageCase>
{
protected:
    testing_support::TempFolder temp_;
};

} // namespace

// Catches damaged data written out as good (libarchive only warns), a partial file left,
// success reported, or the intact members beside the damaged one lost with it.
TEST_P(DamagedMember, NeverArrivesAndTheOthersDo)
{
    const DamageCase &c = GetParam();
    const std::string archive = Make(c, temp_);
    ASSERT_TRUE(Damage(temp_, fs::path(archive).filename())) << "no stored data to damage";
    const Format &format = FormatNamed(c.format);
    const Archiver archiver(format);
    std::string report;
    EXPECT_EQ(archiver.Command(PlayerCommandLine(format, archive, temp_ / "out"), &report),
              ERROR_FILE_CRC)
        << report;
    EXPECT_FALSE(HasLinksOrTempFiles(temp_ / "out"));
    if (c.wholeStream) {
        EXPECT_EQ(TreeOf(temp_ / "out"), std::vector<std::string>{});
        return;
    }
    EXPECT_EQ(TreeOf(temp_ / "out"), (std::vector<std::string>{"a.mid", "c.mid"}));
    EXPECT_TRUE(ReadFile(temp_ / "out/a.mid") == RandomData(0, false));
    EXPECT_TRUE(ReadFile(temp_ / "out/c.mid") == RandomData(2, false));

    // Testing the archive finds the same member.
    EXPECT_EQ(archiver.Check(archive, CHECKARCHIVE_FULLCRC), 0) << "a damaged archive passed";
}

INSTANTIATE_TEST_SUITE_P(Formats, DamagedMember,
                         ::testing::Values(DamageCase{"lzh", "lzh", false},
                                           DamageCase{"stored.zip", "zip", false},
                                           DamageCase{"zip", "zip", false},
                                           // one checksummed data block holds all three
                                           DamageCase{"cab", "cab", true},
                                           DamageCase{"arj", "arj", false},
                                           DamageCase{"tgz", "tar", true}),
                         [](const auto &info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), '.', '_');
                             return name;
                         });
