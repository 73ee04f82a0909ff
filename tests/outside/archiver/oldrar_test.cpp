// Our reader of RAR archives before RAR 5: packed Unicode names, which archives it takes
// from libarchive, and stored members whose header CRC is damaged.

#include "archivebuilders.h"
#include "outside/include/archiver_api.h"
#include "outside/oldrar/rararchive.h"
#include "outside/oldrar/rarnames.h"
#include "outside/unrar/oldrarreader.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

using archiver_testing::BuildRar4;

namespace {

// The members' names and data through the reader, with the code each member's data ended.
std::vector<std::pair<std::string, int>> ReadAll(const std::string &path, std::string *data)
{
    std::vector<std::pair<std::string, int>> members;
    int code = 0;
    std::string text;
    const auto reader = unrar::OldRarReader::Open(path, code, text);
    if (!reader)
        return members;
    arc::MemberInfo info;
    while (reader->Next(info) == 0) {
        int result = 0;
        for (;;) {
            arc::DataBlock block;
            bool fatal = false;
            result = reader->ReadBlock(block, fatal);
            if (result != 0 || block.size == 0)
                break;
            data->append(static_cast<const char *>(block.data), block.size);
        }
        members.emplace_back(info.entry.name, result);
    }
    return members;
}

} // namespace

// Catches packed Unicode names decoded wrong: characters under the common high byte, two
// byte characters, runs copied from the 8-bit name (with and without a correction), and a
// field that is UTF-8 already.
TEST(RarNames, UnpacksUnicodeNames)
{
    using oldrar::UnicodeName;
    // High byte 0x30; flags 01 01 10 00: two characters under it, one of two bytes, one low.
    EXPECT_EQ(UnicodeName(std::string("xyzw\0\x30\x58\x42\x44\xE5\x65\x41", 12)),
              "\xE3\x81\x82\xE3\x81\x84\xE6\x97\xA5"
              "A");
    // A run of the 8-bit name: flags 11, length 1 (three characters).
    EXPECT_EQ(UnicodeName(std::string("abc\0\x00\xC0\x01", 7)), "abc");
    // The same run corrected by 1 under high byte 0: each character one higher.
    EXPECT_EQ(UnicodeName(std::string("abc\0\x00\xC0\x81\x01", 8)), "bcd");
    EXPECT_EQ(UnicodeName("\xE6\x97\xA5.mid"), "\xE6\x97\xA5.mid");
}

// Catches plain RAR 4 archives of stored members taken from libarchive, and a stored
// member whose header CRC alone is wrong lost although its data checks out.
TEST(OldRarReader, TakesDamagedHeadersButLeavesPlainArchives)
{
    testing_support::TempFolder temp;
    const std::string plain = BuildRar4({{"a.mid", "MThd one"}, {"b.mid", "MThd two"}});
    EXPECT_FALSE(unrar::OldRarReader::Needed(temp.Write("plain.rar", plain)));

    std::string damaged = plain;
    damaged[20] ^= 0x01; // the first file header's CRC
    const std::string path = temp.Write("damaged.rar", damaged);
    ASSERT_TRUE(unrar::OldRarReader::Needed(path));
    std::string data;
    const auto members = ReadAll(path, &data);
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[0], std::make_pair(std::string("a.mid"), 0));
    EXPECT_EQ(members[1], std::make_pair(std::string("b.mid"), 0));
    EXPECT_EQ(data, "MThd oneMThd two");
}

// Catches a stored member whose data does not match its CRC-32, or that runs on past its
// size, arriving, or a file header that points past the end of the file read on.
TEST(OldRarReader, WrongDataAndCutArchivesFail)
{
    testing_support::TempFolder temp;
    std::string damaged = BuildRar4({{"a.mid", "MThd one"}, {"b.mid", "MThd two"}});
    damaged[20] ^= 0x01;              // our reader, through the header CRC
    damaged[20 + 32 + 5 + 2] ^= 0x01; // a byte of a.mid's data
    std::string data;
    auto members = ReadAll(temp.Write("d.rar", damaged), &data);
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[0].second, ERROR_FILE_CRC);
    EXPECT_EQ(members[1].second, 0);

    oldrar::RarArchive archive;
    ASSERT_EQ(archive.Open(temp.Write("cut.rar", damaged.substr(0, 50))), 0);
    oldrar::RarMember member;
    EXPECT_EQ(archive.Next(member), ERROR_HEADER_BROKEN);
}
