// LZH methods and header levels that no fixture holds, made with jlha (Debian package
// jlha-utils): each decodes to the bytes that went in, through the player's command line.

#include "archivertesting.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>
#include <random>

using namespace archiver_testing;

namespace {

// MIDI-like data with repeats further back than -lh5-'s 8 KiB window and -lh6-'s 32 KiB,
// so that the larger dictionaries of -lh6- and -lh7- are used.
std::string SongData()
{
    std::mt19937 random(7);
    std::string block;
    while (block.size() < 40000)
        block += static_cast<char>(0x90 | (random() % 3)) +
                 std::string(1, char(36 + random() % 40)) + "\x64\x60";
    std::string data = "MThd";
    for (int i = 0; i < 6; ++i) {
        data += block;
        data += std::to_string(i);
        block[random() % block.size()] ^= 0x11; // repeats that are not exact
    }
    return data;
}

struct Method
{
    const char *name; // as in the header
    const char *flag; // jlha's option
};

void PrintTo(const Method &method, std::ostream *out)
{
    *out << method.name;
}

class LzhMethod : public ::testing::TestWithParam<Method>
{
protected:
    testing_support::TempFolder temp_;
};

} // namespace

// Catches a method or header level decoded wrongly, or refused, or its CRC-16 misread.
TEST_P(LzhMethod, DecodesToTheBytesThatWentIn)
{
    const std::string data = SongData();
    temp_.Write("src/song.mid", data);
    const Format &lzh = FormatNamed("lzh");
    const Archiver unlha(lzh);
    for (const char *level : {"0", "1", "2"}) {
        const std::string archive = temp_ / (std::string("m") + level + ".lzh");
        const int made =
            RunTool({"jlha", std::string("a") + level + GetParam().flag, archive, "song.mid"},
                    temp_ / "src");
        if (made == -1 || made == 127)
            GTEST_SKIP() << "jlha (jlha-utils) is not installed";
        ASSERT_EQ(made, 0);
        ASSERT_EQ(ReadFile(archive).substr(2, 5), GetParam().name) << level;
        const std::string out = temp_ / (std::string("out") + level);
        EXPECT_EQ(unlha.Command(PlayerCommandLine(lzh, archive, out)), 0) << level;
        EXPECT_TRUE(ReadFile(out + "/song.mid") == data) << GetParam().name << " level " << level;
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, LzhMethod,
                         ::testing::Values(Method{"-lh0-", "z"}, Method{"-lh5-", "o5"},
                                           Method{"-lh6-", "o6"}, Method{"-lh7-", "o7"}),
                         [](const auto &info) {
                             return std::string(info.param.name).substr(1, 3);
                         });
