// The archives of the 1980s and 1990s in the shared fixtures come out with the members their
// README lists, byte for byte (size and CRC-32), through the player's own command lines; a
// damaged one gives the CRC code and leaves nothing with wrong bytes.

#include "archivebuilders.h"
#include "archivertesting.h"
#include "support/tempfolder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace archiver_testing;
namespace fs = std::filesystem;

namespace {

const fs::path old = fs::path(SONOLUX_FIXTURES_DIR) / "archives/old";

struct Expected
{
    std::string name; // as written flat: the stored bytes of the member's last part
    std::uint64_t size;
    std::uint32_t crc;
};

struct OldArchive
{
    const char *file;
    const char *format;
    int result; // of the player's extraction of every member
    std::vector<Expected> members;
};

const std::uint32_t gpl2 = 0x4e46f4a1;

std::vector<OldArchive> OldArchives()
{
    return {
        {"lhasa_lharc113_lh1.lzh", "lzh", 0, {{"GPL-2", 18092, gpl2}}},
        {"lhasa_lha_amiga_122_lh4.lzh", "lzh", 0, {{"gpl-2", 18092, gpl2}}},
        {"lhasa_larc333_lz4.lzs", "lzh", 0, {{"GPL-2.GZ", 6829, 0xe4690583}}},
        {"lhasa_generated_lzs.lzs", "lzh", 0, {{"GPL-2", 18092, gpl2}}},
        {"lhasa_lha213_lh5.lzh", "lzh", 0, {{"GPL-2", 18092, gpl2}}},
        {"lhasa_lha_os2_208_h3_lh5.lzh", "lzh", 0, {{"GPL-2", 18092, gpl2}}},
        {"lhasa_lha_os2_208_h3_subdir.lzh", "lzh", 0, {{"HELLO.TXT", 14, 0xb19b306e}}},
        {"lhasa_lengths_lh1-0.lzh", "lzh", 0, {{"0.bin", 0, 0}}},
        {"lhasa_lengths_lh1-64k.lzh", "lzh", 0, {{"65536.BIN", 65536, 0xd7978eeb}}},
        {"lhasa_regression_truncated.lzh", "lzh", ERROR_FILE_CRC, {}},
        {"libarchive_lha_filename_cp932.lzh",
         "lzh",
         0,
         {{"\x8a\xbf\x8e\x9a.txt", 8, 0xc31b9b3f}, {"\x95\x5c.txt", 4, 0x44c8f818}}},
        {"jca_lha-test20-sjis.lzh", "lzh", 0, {{"test-tmp-\x93\xfa\x96\x7b\x8c\xea.file", 0, 0}}},
        {"lhasa_lha213_sfx.exe", "lzh", 0, {{"GPL-2", 18092, gpl2}}},
        {"lhasa_lharc113_sfx.com", "lzh", 0, {{"GPL-2", 18092, gpl2}}},
        {"libarchive_zip_filename_cp932.zip",
         "zip",
         0,
         {{"\x88\xea\x97\x97\x95\x5c.txt", 5, 0xf7d18982},
          {"\x8a\xbf\x8e\x9a.txt", 5, 0x426f9ddc}}},
        {"unzip-p_badcrc.zip", "zip", ERROR_FILE_CRC, {}},
        {"adm-zip_bad_crc.zip", "zip", 0, {{"lorem_ipsum.txt", 3647, 0xd24b3928}}},
    };
}

void PrintTo(const OldArchive &archive, std::ostream *out)
{
    *out << archive.file;
}

class OldFixture : public ::testing::TestWithParam<OldArchive>
{
protected:
    testing_support::TempFolder temp_;
};

std::string Printable(const std::string &name)
{
    std::string out;
    for (const char c : name)
        out += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return out;
}

} // namespace

// Catches members decoded wrongly, lost, renamed, or damaged data written out as good.
TEST_P(OldFixture, MembersComeOutAsListed)
{
    const OldArchive &archive = GetParam();
    const std::string path = old / archive.file;
    const Format &format = FormatNamed(archive.format);
    const std::string out = temp_ / "out";
    std::string report;
    EXPECT_EQ(Archiver(format).Command(PlayerCommandLine(format, path, out, {"*"}), &report),
              archive.result)
        << report;

    std::vector<std::string> names;
    for (const Expected &member : archive.members) {
        names.push_back(member.name);
        const std::string data = ReadFile(out + "/" + member.name);
        EXPECT_EQ(data.size(), member.size) << Printable(member.name);
        EXPECT_EQ(Crc32(data), member.crc) << Printable(member.name);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(TreeOf(out), names);
}

INSTANTIATE_TEST_SUITE_P(Old, OldFixture, ::testing::ValuesIn(OldArchives()),
                         [](const auto &info) { return Printable(info.param.file); });

// Catches a Shift-JIS member that cannot be extracted alone under the UTF-8 code page (a
// play-list entry whose copy is gone asks for exactly that): the mask scanned as UTF-8
// splits at the second byte of "hyou" (95 5C) and selects nothing.
TEST(OldFixtures, ShiftJisMembersExtractAloneByName)
{
    testing_support::TempFolder temp;
    const std::string ichiran = "\x88\xea\x97\x97\x95\x5c.txt"; // in the folder "hyou dayo"
    const std::string hyou = "\x95\x5c.txt";
    struct Case
    {
        const char *file;
        const char *format;
        std::string member;
        std::uint32_t crc;
    };
    const Case cases[] = {
        {"libarchive_lha_filename_cp932.lzh", "lzh", hyou, 0x44c8f818},
        {"libarchive_zip_filename_cp932.zip", "zip", ichiran, 0xf7d18982},
    };
    int run = 0;
    for (const Case &c : cases) {
        const Format &format = FormatNamed(c.format);
        const std::string out = temp / std::to_string(++run);
        EXPECT_EQ(
            Archiver(format).Command(PlayerCommandLine(format, old / c.file, out, {c.member})), 0)
            << c.file;
        EXPECT_EQ(TreeOf(out), std::vector<std::string>{c.member}) << c.file;
        EXPECT_EQ(Crc32(ReadFile(out + "/" + c.member)), c.crc) << c.file;
    }
}
