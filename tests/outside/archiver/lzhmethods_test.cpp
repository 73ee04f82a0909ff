// LZH methods and header levels that no fixture holds, made with jlha (Debian package
// jlha-utils) or, for LArc's -lz5- and PMarc's stored -pm0-, packed here: each decodes to
// the bytes that went in, through the player's command line.

#include "archivebuilders.h"
#include "archivertesting.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>
#include <map>
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

// LArc's -lz5-: LZSS over a 4 KiB ring whose writing starts 18 bytes before its end. Each
// flag byte (lowest bit first) tells for eight items whether the next is a literal (1) or
// two bytes holding a 12-bit ring position and a length of 3 to 18 (0). Matches lie wholly
// in data already written, so that no decoder can read a byte it has not yet put out.
std::string PackLz5(const std::string &data)
{
    constexpr std::size_t ring = 4096, longest = 18, start = ring - longest;
    std::map<std::string, std::vector<std::size_t>> seen; // earlier places of 3 bytes
    std::string out, items;
    unsigned char flags = 0;
    int count = 0;
    for (std::size_t at = 0; at < data.size();) {
        std::size_t best = 0, from = 0;
        if (at + 3 <= data.size()) {
            const std::vector<std::size_t> &places = seen[data.substr(at, 3)];
            for (auto it = places.rbegin(); it != places.rend() && at - *it <= start; ++it) {
                const std::size_t limit = std::min({longest, at - *it, data.size() - at});
                std::size_t length = 0;
                while (length < limit && data[*it + length] == data[at + length])
                    ++length;
                if (length > best)
                    best = length, from = *it;
            }
        }
        if (best >= 3) {
            const std::size_t position = (start + from) % ring;
            items += static_cast<char>(position & 0xFF);
            items += static_cast<char>(((position >> 4) & 0xF0) | (best - 3));
        } else {
            best = 1;
            flags |= static_cast<unsigned char>(1u << count);
            items += data[at];
        }
        for (std::size_t i = at; i < at + best && i + 3 <= data.size(); ++i)
            seen[data.substr(i, 3)].push_back(i);
        at += best;
        if (++count == 8 || at == data.size()) {
            out += static_cast<char>(flags) + items;
            items.clear();
            flags = 0;
            count = 0;
        }
    }
    return out;
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

// Catches LArc's -lz5- or PMarc's -pm0- refused, written as zeros, or decoded wrongly.
TEST(LzhMethods, PackedHereDecodeToTheBytesThatWentIn)
{
    testing_support::TempFolder temp;
    const std::string data = SongData();
    const std::string lz5 = PackLz5(data);
    ASSERT_LT(lz5.size(), data.size() / 2) << "the packing found no repeats";
    const Format &lzh = FormatNamed("lzh");
    for (const int level : {0, 2}) {
        const std::string archive = temp.Write(
            "packed" + std::to_string(level) + ".lzh",
            BuildPackedLzh({{"lz5.mid", "-lz5-", lz5, data}, {"pm0.mid", "-pm0-", data, data}},
                           level));
        const std::string out = temp / ("out" + std::to_string(level));
        EXPECT_EQ(Archiver(lzh).Command(PlayerCommandLine(lzh, archive, out)), 0) << level;
        EXPECT_TRUE(ReadFile(out + "/lz5.mid") == data) << "-lz5- level " << level;
        EXPECT_TRUE(ReadFile(out + "/pm0.mid") == data) << "-pm0- level " << level;
    }
}
