// The real RAR 1.4 to 3.x and PKZIP 1.x / Deflate64 archives of the shared fixtures come
// out through the archiver libraries with the player's command lines, every member with
// its known size and CRC-32; members made wrong on purpose never arrive, and the members
// beside them still do.

#include "archivebuilders.h"
#include "archivertesting.h"
#include "support/tempfolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

using namespace archiver_testing;
namespace fs = std::filesystem;

namespace {

const fs::path old = fs::path(SONOLUX_FIXTURES_DIR) / "archives/old";

struct Expected
{
    std::string name;
    std::size_t size;
    std::uint32_t crc;
};

struct Fixture
{
    std::string file;
    std::string format; // "rar" or "zip"
    std::vector<Expected> members;
};

const std::vector<Expected> boat15 = {{"BOATMO~1.WAV", 56464, 0x82d2ed89},
                                      {"LICENSE.TXT", 107, 0x8eaf20c4}};
const std::vector<Expected> boat = {{"BoatModernEnglish.wav", 56464, 0x82d2ed89},
                                    {"LICENSE.txt", 107, 0x8eaf20c4}};
const std::vector<Expected> first = {{"first.txt", 1092, 0x22957a6e}};

const std::vector<Fixture> fixtures = {
    {"junrar_BoatModernEnglish-regular-unpack15-dos.rar", "rar", boat15},
    {"junrar_BoatModernEnglish-regular-unpack20.rar", "rar", boat},
    {"junrar_BoatModernEnglish-audio-text-unpack20.rar", "rar", boat},
    {"junrar_BoatModernEnglish-regular-unpack30.rar", "rar", boat},
    {"junrar_BoatModernEnglish-audio-text-unpack30.rar", "rar", boat},
    {"junrar_bad-header-crc.rar", "rar", {{"payload.txt", 27, 0x1d02b36e}}},
    {"rarfile_rar3-solid.rar",
     "rar",
     {{"stest1.txt", 2048, 0xc5b7e6a2}, {"stest2.txt", 2048, 0xc5b7e6a2}}},
    // No other extractor reads RAR 1.4; these members pass the archive's own checksums
    // and are plain English text.
    {"junrar_rar14-solid.rar",
     "rar",
     {{"BIG.TXT", 79404, 0x68aefc0f},
      {"SECOND.TXT", 1720, 0x841a3b5a},
      {"THIRD.TXT", 12, 0x0f0646fa}}},
    {"zip2_shrink.zip", "zip", {{"FIRST.TXT", 1092, 0x22957a6e}}},
    {"zip2_reduce.zip", "zip", first},
    {"zip2_implode.zip", "zip", first},
    {"commons-compress_SHRUNK.ZIP",
     "zip",
     {{"TEST1.XML", 76, 0x393a497a}, {"TEST2.XML", 81, 0xd19abf92}}},
    {"commons-compress_imploding-4Kdict-2trees.zip", "zip", {{"HEADER.TXT", 818, 0x3222d8c7}}},
    {"commons-compress_COMPRESS-380.zip", "zip", {{"input2", 3072, 0x2a604090}}},
};

void PrintTo(const Fixture &fixture, std::ostream *out)
{
    *out << fixture.file;
}

// The player's extraction of every member ("*"): its result, and the files it left with
// their sizes and CRC-32s.
int Extract(const std::string &format, const std::string &archive, const std::string &out,
            std::map<std::string, std::pair<std::size_t, std::uint32_t>> &files)
{
    const Format &f = FormatNamed(format);
    const int result = Archiver(f).Command(PlayerCommandLine(f, archive, out, {"*"}));
    files.clear();
    for (const std::string &name : TreeOf(out)) {
        const std::string data = ReadFile(out + "/" + name);
        files[name] = {data.size(), Crc32(data)};
    }
    return result;
}

std::string Damaged(const testing_support::TempFolder &temp, const std::string &file,
                    std::size_t at)
{
    std::string data = ReadFile(old / file);
    data.at(at) ^= 0x01;
    return temp.Write("damaged-" + file, data);
}

class OldFormatFixture : public ::testing::TestWithParam<Fixture>
{
protected:
    testing_support::TempFolder temp_;
};

} // namespace

// Catches a decoder of RAR 1.3 to 3.x, Shrink, Reduce, Implode or Deflate64 putting out
// wrong bytes, a member missing, or a good archive reported as failed.
TEST_P(OldFormatFixture, EveryMemberComesOutAsKnown)
{
    const Fixture &fixture = GetParam();
    std::map<std::string, std::pair<std::size_t, std::uint32_t>> files;
    EXPECT_EQ(Extract(fixture.format, old / fixture.file, temp_ / "out", files), 0);
    ASSERT_EQ(files.size(), fixture.members.size());
    for (const Expected &member : fixture.members) {
        ASSERT_EQ(files.count(member.name), 1u) << member.name;
        EXPECT_EQ(files[member.name].first, member.size) << member.name;
        EXPECT_EQ(files[member.name].second, member.crc) << member.name;
    }
    EXPECT_FALSE(HasLinksOrTempFiles(temp_.Path()));
}

INSTANTIATE_TEST_SUITE_P(Old, OldFormatFixture, ::testing::ValuesIn(fixtures),
                         [](const auto &info) {
                             std::string name = info.param.file;
                             for (char &c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

namespace {

struct DamageCase
{
    std::string file;
    std::string format;
    std::size_t crcAt;             // a byte of the first member's stored checksum
    std::vector<std::string> kept; // the members that must still arrive
};

} // namespace

// Catches a member of each old method or RAR version whose checksum does not match
// arriving anyway, or taking the archive's other members down with it.
TEST(OldFormatDamage, AMemberWithAWrongChecksumNeverArrives)
{
    const std::size_t zipEntryCrc = 16; // within the central directory entry
    auto directory = [](const std::string &file) {
        return ReadFile(old / file).find("PK\x01\x02") + zipEntryCrc;
    };
    const std::vector<DamageCase> cases = {
        {"junrar_BoatModernEnglish-regular-unpack15-dos.rar", "rar", 20 + 16, {"LICENSE.TXT"}},
        {"junrar_BoatModernEnglish-audio-text-unpack20.rar", "rar", 20 + 16, {"LICENSE.txt"}},
        {"junrar_BoatModernEnglish-regular-unpack30.rar", "rar", 20 + 16, {"LICENSE.txt"}},
        {"rarfile_rar3-solid.rar", "rar", 20 + 16, {"stest2.txt"}},
        {"junrar_rar14-solid.rar", "rar", 7 + 8, {"SECOND.TXT", "THIRD.TXT"}},
        {"commons-compress_SHRUNK.ZIP",
         "zip",
         directory("commons-compress_SHRUNK.ZIP"),
         {"TEST2.XML"}},
        {"zip2_reduce.zip", "zip", directory("zip2_reduce.zip"), {}},
        {"zip2_implode.zip", "zip", directory("zip2_implode.zip"), {}},
        {"commons-compress_imploding-4Kdict-2trees.zip",
         "zip",
         directory("commons-compress_imploding-4Kdict-2trees.zip"),
         {}},
        {"commons-compress_COMPRESS-380.zip",
         "zip",
         directory("commons-compress_COMPRESS-380.zip"),
         {}},
    };
    testing_support::TempFolder temp;
    int run = 0;
    for (const DamageCase &c : cases) {
        std::map<std::string, std::pair<std::size_t, std::uint32_t>> files;
        const std::string out = temp / std::to_string(++run);
        EXPECT_EQ(Extract(c.format, Damaged(temp, c.file, c.crcAt), out, files), ERROR_FILE_CRC)
            << c.file;
        std::vector<std::string> names;
        for (const auto &file : files)
            names.push_back(file.first);
        EXPECT_EQ(names, c.kept) << c.file;
        EXPECT_FALSE(HasLinksOrTempFiles(out)) << c.file;
    }
}

// Catches damaged compressed data of an old method decoded into a file, or a member whose
// data ends before its declared size padded out to it.
TEST(OldFormatDamage, DamagedOrShortDataNeverArrives)
{
    testing_support::TempFolder temp;
    std::map<std::string, std::pair<std::size_t, std::uint32_t>> files;
    int run = 0;
    for (const char *file : {"zip2_shrink.zip", "zip2_reduce.zip", "zip2_implode.zip"}) {
        const std::string data = ReadFile(old / file);
        std::string damaged = data;
        damaged[data.find("PK\x03\x04") + 30 + 9 + 100] ^= 0x20; // inside the data
        const std::string out = temp / std::to_string(++run);
        const int result =
            Extract("zip", temp.Write(std::to_string(run) + file, damaged), out, files);
        EXPECT_TRUE(result == ERROR_FILE_CRC || result == ERROR_DATA_BROKEN) << file << result;
        EXPECT_TRUE(files.empty()) << file;

        std::string longer = data;
        longer[data.find("PK\x01\x02") + 25] ^= 0x10; // 4 KB more declared
        const std::string cut = temp / std::to_string(++run);
        EXPECT_EQ(Extract("zip", temp.Write(std::to_string(run) + file, longer), cut, files),
                  ERROR_FILE_CRC)
            << file;
        EXPECT_TRUE(files.empty()) << file;
    }

    const std::string rar = "junrar_BoatModernEnglish-regular-unpack15-dos.rar";
    EXPECT_EQ(Extract("rar", Damaged(temp, rar, 20000), temp / "rar", files), ERROR_FILE_CRC);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files["LICENSE.TXT"].second, 0x8eaf20c4u);
}

// Catches a solid member extracted alone without the members before it decoded first
// (RAR 1.4 by our decoder, RAR 3 by unarr): the play-list asks for single members.
TEST(OldFormatSolid, AMemberExtractsAloneFromASolidArchive)
{
    testing_support::TempFolder temp;
    const struct
    {
        const char *file;
        const char *member;
        std::uint32_t crc;
    } cases[] = {{"junrar_rar14-solid.rar", "THIRD.TXT", 0x0f0646fa},
                 {"junrar_rar14-solid.rar", "SECOND.TXT", 0x841a3b5a},
                 {"rarfile_rar3-solid.rar", "stest2.txt", 0xc5b7e6a2}};
    int run = 0;
    for (const auto &c : cases) {
        const Format &rar = FormatNamed("rar");
        const std::string out = temp / std::to_string(++run);
        EXPECT_EQ(Archiver(rar).Command(PlayerCommandLine(rar, old / c.file, out, {c.member})), 0)
            << c.member;
        EXPECT_EQ(TreeOf(out), std::vector<std::string>{c.member});
        EXPECT_EQ(Crc32(ReadFile(out + "/" + c.member)), c.crc) << c.member;
    }
}

// Catches the player's listing of old archives losing, reordering or misnaming members
// (the RAR 1.4 headers, RAR 1.5 headers, a ZIP read by our directory reader).
TEST(OldFormatListing, ListsMembersInArchiveOrder)
{
    EXPECT_EQ(Archiver(FormatNamed("rar")).List(old / "junrar_rar14-solid.rar"),
              (std::vector<std::string>{"BIG.TXT", "SECOND.TXT", "THIRD.TXT"}));
    EXPECT_EQ(Archiver(FormatNamed("rar"))
                  .List(old / "junrar_BoatModernEnglish-regular-unpack15-dos.rar"),
              (std::vector<std::string>{"BOATMO~1.WAV", "LICENSE.TXT"}));
    EXPECT_EQ(Archiver(FormatNamed("zip")).List(old / "commons-compress_SHRUNK.ZIP"),
              (std::vector<std::string>{"TEST1.XML", "TEST2.XML"}));
}

// Catches an encrypted member of an old method or a solid RAR archive decoded as if it
// were plain (garbage written), and bytes in front of an old ZIP (a self-extractor's
// program) shifting every member out of reach.
TEST(OldFormatEdges, EncryptedMembersAreRefusedAndPrefixedZipsRead)
{
    testing_support::TempFolder temp;
    std::map<std::string, std::pair<std::size_t, std::uint32_t>> files;
    std::string implode = ReadFile(old / "zip2_implode.zip");
    implode[implode.find("PK\x01\x02") + 8] |= 0x01;
    implode[implode.find("PK\x03\x04") + 6] |= 0x01;
    EXPECT_EQ(Extract("zip", temp.Write("e.zip", implode), temp / "e", files), ERROR_PASSWORD_FILE);
    EXPECT_TRUE(files.empty());

    const fs::path solidEncrypted =
        fs::path(SONOLUX_FIXTURES_DIR) /
        "archives/libarchive/rar4/test_read_format_rar4_solid_encrypted.rar";
    EXPECT_EQ(Extract("rar", solidEncrypted, temp / "s", files), ERROR_PASSWORD_FILE);
    EXPECT_TRUE(files.empty());

    const std::string prefixed = std::string(5000, '\x90') + ReadFile(old / "zip2_shrink.zip");
    EXPECT_EQ(Extract("zip", temp.Write("p.zip", prefixed), temp / "p", files), 0);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files["FIRST.TXT"].second, 0x22957a6eu);
}
