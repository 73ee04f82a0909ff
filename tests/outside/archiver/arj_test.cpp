// Our ARJ reader against archives made by Debian's arj, and against damaged ones.

#include "archivertesting.h"
#include "outside/arccommon/signatures.h"
#include "outside/arj/arjarchive.h"
#include "outside/include/archiver_api.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>
#include <random>

using archiver_testing::ReadFile;
using archiver_testing::RunTool;

namespace {

// Text-like runs and random bytes, longer than ARJ's 26 KB window.
std::string MixedData(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string data;
    const std::string words[] = {"Note On ", "Program Change ", "\x90\x3C\x64", "tempo 120 "};
    while (data.size() < size) {
        if (random() % 3 == 0)
            for (int i = 0; i < 40; ++i)
                data.push_back(static_cast<char>(random()));
        else
            data += words[random() % 4];
    }
    data.resize(size);
    return data;
}

struct Extracted
{
    int result = 0;
    std::vector<std::pair<std::string, std::string>> members;
};

// Reads every member; stops at the first failure.
Extracted ReadAll(const std::string &path)
{
    Extracted out;
    arj::ArjArchive archive;
    if ((out.result = archive.Open(path)) != 0)
        return out;
    arj::ArjMember member;
    while ((out.result = archive.Next(member)) == 0) {
        std::string data;
        unsigned char buffer[4096];
        std::size_t got = 0;
        do {
            out.result = archive.Read(buffer, sizeof buffer, got);
            data.append(reinterpret_cast<char *>(buffer), got);
        } while (out.result == 0 && got > 0);
        if (out.result != 0 || data.size() > member.originalSize)
            return out;
        out.members.emplace_back(member.name, data);
    }
    if (out.result == -1)
        out.result = 0;
    return out;
}

class ArjMethods : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        temp_.Write("src/big.bin", big_);
        temp_.Write("src/small.txt", "MThd song");
        temp_.Write("src/empty.mid", "");
        ASSERT_EQ(RunTool({"arj", "a", "-m" + std::to_string(GetParam()), "-y", temp_ / "t.arj",
                           "big.bin", "small.txt", "empty.mid"},
                          temp_ / "src"),
                  0);
        archive_ = ReadFile(temp_ / "t.arj");
    }

    testing_support::TempFolder temp_;
    const std::string big_ = MixedData(150000, 7);
    std::string archive_;
};

} // namespace

// Catches decoding errors in any method, across block and window boundaries.
TEST_P(ArjMethods, DecodesWhatArjPacked)
{
    const Extracted read = ReadAll(temp_ / "t.arj");
    ASSERT_EQ(read.result, 0);
    ASSERT_EQ(read.members.size(), 3u);
    EXPECT_EQ(read.members[0].first, "big.bin");
    EXPECT_TRUE(read.members[0].second == big_);
    EXPECT_EQ(read.members[1].second, "MThd song");
    EXPECT_EQ(read.members[2].second, "");
    EXPECT_TRUE(arc::LooksLikeArchive(arc::ArchiveKind::Arj, "MZ junk" + archive_, ""));
}

// Catches crashes, endless output or damage passed off as good data on damaged archives.
TEST_P(ArjMethods, DamagedDataIsRejected)
{
    std::mt19937 random(GetParam());
    for (int round = 0; round < 60; ++round) {
        std::string damaged = archive_;
        if (round % 4 == 3) {
            damaged.resize(random() % damaged.size());
        } else {
            for (int k = 0; k <= round % 3; ++k)
                damaged[100 + random() % (damaged.size() - 100)] ^=
                    static_cast<char>(1 + random() % 255);
        }
        const std::string path = temp_.Write("damaged.arj", damaged);
        const Extracted read = ReadAll(path);
        if (read.result == 0) {
            // Untouched members only: every one read must be exactly the original.
            for (const auto &member : read.members)
                EXPECT_TRUE(member.second == big_ || member.second == "MThd song" ||
                            member.second.empty())
                    << "round " << round;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Methods0To4, ArjMethods, ::testing::Values(0, 1, 2, 3, 4));

// Catches encrypted members decoded into garbage instead of being refused.
TEST(ArjArchive, EncryptedMembersAreRefused)
{
    testing_support::TempFolder temp;
    temp.Write("src/secret.mid", "MThd secret");
    ASSERT_EQ(RunTool({"arj", "a", "-gpassword", "-y", temp / "s.arj", "secret.mid"}, temp / "src"),
              0);
    arj::ArjArchive archive;
    ASSERT_EQ(archive.Open(temp / "s.arj"), 0);
    arj::ArjMember member;
    ASSERT_EQ(archive.Next(member), 0);
    EXPECT_TRUE(member.Encrypted());
    unsigned char buffer[64];
    std::size_t got = 0;
    EXPECT_EQ(archive.Read(buffer, sizeof buffer, got), ERROR_PASSWORD_FILE);
}
