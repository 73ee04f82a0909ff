// Our ZIP reader for the methods libarchive does not decode: Deflate64 archives made by
// 7-Zip, mixed with Deflate and stored members, damaged and cut short; and the decoders
// themselves on garbage.

#include "archivertesting.h"
#include "outside/arcengine/oldzipreader.h"
#include "outside/codecio/memorysource.h"
#include "outside/include/archiver_api.h"
#include "outside/pkzip/explode.h"
#include "outside/pkzip/inflate64.h"
#include "outside/pkzip/prefixcode.h"
#include "outside/pkzip/unreduce.h"
#include "outside/pkzip/unshrink.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>
#include <random>

using archiver_testing::ReadFile;
using archiver_testing::RunTool;

namespace {

// Text-like runs, random bytes, long runs of one byte and repeats from far back, so that
// Deflate64 uses its long lengths and distances beyond 32 KB.
std::string Song(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string data;
    std::string block;
    for (int i = 0; i < 40000; ++i)
        block.push_back(static_cast<char>(random()));
    while (data.size() < size) {
        switch (random() % 4) {
        case 0:
            data += block; // repeats 40 KB back
            break;
        case 1:
            data.append(300 + random() % 2000, static_cast<char>(random()));
            break;
        case 2:
            data += "Note On ch1 Program Change tempo 120 ";
            break;
        default:
            for (int i = 0; i < 64; ++i)
                data.push_back(static_cast<char>(random()));
        }
    }
    data.resize(size);
    return data;
}

struct Member
{
    std::string name;
    int code = 0;
    std::string data;
};

// Every member through the reader: its name, the code its data ended with, its bytes.
std::vector<Member> ReadAll(const std::string &path, int *openCode = nullptr)
{
    std::vector<Member> members;
    int code = 0;
    std::string text;
    const auto reader = arc::OldZipReader::Open(path, code, text);
    if (openCode != nullptr)
        *openCode = code;
    if (!reader)
        return members;
    arc::MemberInfo info;
    while (reader->Next(info) == 0) {
        Member member;
        member.name = info.entry.name;
        for (;;) {
            arc::DataBlock block;
            bool fatal = false;
            member.code = reader->ReadBlock(block, fatal);
            if (member.code != 0 || block.size == 0)
                break;
            member.data.append(static_cast<const char *>(block.data), block.size);
        }
        members.push_back(member);
    }
    return members;
}

std::size_t Find(const std::string &haystack, const std::string &needle)
{
    const std::size_t at = haystack.find(needle);
    EXPECT_NE(at, std::string::npos) << "no " << needle;
    return at == std::string::npos ? 0 : at;
}

class Deflate64Archive : public ::testing::Test
{
protected:
    void SetUp() override
    {
        temp_.Write("src/big.mid", big_);
        temp_.Write("src/small.mid", small_);
        temp_.Write("src/stored.mid", stored_);
        ASSERT_EQ(
            RunTool({"7z", "a", "-tzip", "-mm=Deflate64", "-mx=9", temp_ / "a.zip", "big.mid"},
                    temp_ / "src"),
            0);
        ASSERT_EQ(RunTool({"zip", "-q", temp_ / "a.zip", "small.mid"}, temp_ / "src"), 0);
        ASSERT_EQ(RunTool({"zip", "-q", "-0", temp_ / "a.zip", "stored.mid"}, temp_ / "src"), 0);
        archive_ = ReadFile(temp_ / "a.zip");
    }

    testing_support::TempFolder temp_;
    const std::string big_ = Song(700 * 1024, 1);
    const std::string small_ = Song(5000, 2);
    const std::string stored_ = "MThd stored";
    std::string archive_;
};

} // namespace

// Catches Deflate64's long lengths, far distances or block handling decoded wrong, and the
// Deflate and stored members of the same archive not read by our reader.
TEST_F(Deflate64Archive, EveryMemberComesOutExactly)
{
    ASSERT_TRUE(arc::OldZipReader::Needed(temp_ / "a.zip"));
    const std::vector<Member> members = ReadAll(temp_ / "a.zip");
    ASSERT_EQ(members.size(), 3u);
    EXPECT_EQ(members[0].name, "big.mid");
    EXPECT_EQ(members[0].code, 0);
    EXPECT_TRUE(members[0].data == big_);
    EXPECT_EQ(members[1].code, 0);
    EXPECT_EQ(members[1].data, small_);
    EXPECT_EQ(members[2].code, 0);
    EXPECT_EQ(members[2].data, stored_);
}

// Catches damaged Deflate64 data passed off as complete, or the damage stopping the
// members after it.
TEST_F(Deflate64Archive, DamagedDataFailsItsMemberOnly)
{
    std::string damaged = archive_;
    damaged[damaged.size() / 4] ^= 0x55; // inside big.mid's data
    const std::vector<Member> members = ReadAll(temp_.Write("d.zip", damaged));
    ASSERT_EQ(members.size(), 3u);
    EXPECT_TRUE(members[0].code == ERROR_FILE_CRC || members[0].code == ERROR_DATA_BROKEN)
        << members[0].code;
    EXPECT_EQ(members[1].data, small_);
    EXPECT_EQ(members[2].data, stored_);
}

// Catches a wrong CRC-32 in the directory ignored, a member whose data ends before its
// declared size padded out instead of failing, and one whose data runs on past it cut.
TEST_F(Deflate64Archive, WrongCrcAndShortMembersFail)
{
    const std::size_t entry = Find(archive_, "PK\x01\x02");
    std::string wrongCrc = archive_;
    wrongCrc[entry + 16] ^= 0x01;
    std::vector<Member> members = ReadAll(temp_.Write("c.zip", wrongCrc));
    ASSERT_EQ(members.size(), 3u);
    EXPECT_EQ(members[0].code, ERROR_FILE_CRC);
    EXPECT_EQ(members[1].code, 0);

    std::string longer = archive_;
    longer[entry + 26] = static_cast<char>(longer[entry + 26] + 1); // 64 KB more declared
    members = ReadAll(temp_.Write("s.zip", longer));
    ASSERT_EQ(members.size(), 3u);
    EXPECT_EQ(members[0].code, ERROR_FILE_CRC);
    EXPECT_LE(members[0].data.size(), big_.size());
    EXPECT_EQ(members[2].data, stored_);

    std::string shorter = archive_;
    shorter[entry + 25] = static_cast<char>(shorter[entry + 25] - 1); // 256 bytes less
    const std::size_t storedEntry = archive_.rfind("PK\x01\x02");
    shorter[storedEntry + 24] = static_cast<char>(shorter[storedEntry + 24] - 1);
    members = ReadAll(temp_.Write("p.zip", shorter));
    ASSERT_EQ(members.size(), 3u);
    EXPECT_EQ(members[0].code, ERROR_FILE_CRC);
    EXPECT_EQ(members[1].data, small_);
    EXPECT_EQ(members[2].code, ERROR_FILE_CRC);
}

// Catches an archive without old methods taken from libarchive, or a cut directory read
// past its end.
TEST(OldZipReader, TakesOnlyArchivesThatNeedIt)
{
    testing_support::TempFolder temp;
    temp.Write("src/a.mid", Song(3000, 3));
    ASSERT_EQ(RunTool({"zip", "-q", temp / "plain.zip", "a.mid"}, temp / "src"), 0);
    EXPECT_FALSE(arc::OldZipReader::Needed(temp / "plain.zip"));
    const std::string archive = ReadFile(temp / "plain.zip");
    int code = 0;
    EXPECT_TRUE(
        ReadAll(temp.Write("cut.zip", archive.substr(0, archive.size() - 30)), &code).empty());
    EXPECT_EQ(code, ERROR_NOT_ARC_FILE);
}

// Catches a prefix code built from lengths that name more codes than there are, which
// would decode past its table.
TEST(PrefixCode, RefusesOversubscribedLengths)
{
    pkzip::PrefixCode code;
    const std::uint8_t tooMany[] = {1, 1, 1};
    EXPECT_FALSE(code.Build(tooMany, 3));
    const std::uint8_t complete[] = {1, 2, 2};
    EXPECT_TRUE(code.Build(complete, 3));
    const std::uint8_t tooLong[] = {17, 1};
    EXPECT_FALSE(code.Build(tooLong, 2));
}

namespace {

// Decodes up to limit bytes: how many came before the decoder stopped.
std::size_t DecodeUpTo(codec::Decoder &decoder, std::size_t limit)
{
    std::vector<unsigned char> out(4096);
    std::size_t total = 0;
    while (total < limit) {
        const std::size_t n = decoder.Decode(out.data(), std::min(out.size(), limit - total));
        if (n == 0)
            break;
        EXPECT_LE(n, out.size());
        total += n;
    }
    return total;
}

} // namespace

// Catches a decoder that hangs, writes past its buffer or reads past its input on random
// data (run under the sanitizers), and one that runs out of input without saying so.
TEST(OldZipDecoders, GarbageEndsBrokenOrAtTheSize)
{
    constexpr std::size_t limit = 1 << 20;
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        std::string garbage(1 + random() % 3000, '\0');
        for (char &c : garbage)
            c = static_cast<char>(random());
        codec::MemorySource a(garbage.data(), garbage.size()), b(garbage.data(), garbage.size()),
            c(garbage.data(), garbage.size()), d(garbage.data(), garbage.size());
        pkzip::Unshrink shrink(a);
        pkzip::Unreduce reduce(1 + round % 4, b);
        pkzip::Explode implode(static_cast<std::uint16_t>(round % 8), c);
        // These streams have no end of their own: input running out is damage.
        for (codec::Decoder *decoder :
             {static_cast<codec::Decoder *>(&shrink), static_cast<codec::Decoder *>(&reduce),
              static_cast<codec::Decoder *>(&implode)}) {
            const std::size_t made = DecodeUpTo(*decoder, limit);
            EXPECT_TRUE(decoder->Broken() || made == limit) << round;
        }
        // Deflate64 ends with its last block; after it nothing more comes.
        pkzip::Inflate64 inflate(d);
        DecodeUpTo(inflate, limit);
        unsigned char more[16];
        EXPECT_EQ(inflate.Decode(more, sizeof more), 0u) << round;
    }
}

namespace {

// Writes a Deflate stream: values least significant bit first, prefix codes highest first.
class BitWriter
{
public:
    void Put(std::uint32_t value, unsigned count)
    {
        for (unsigned i = 0; i < count; ++i)
            Bit((value >> i) & 1);
    }
    void Code(std::uint32_t code, unsigned length)
    {
        for (unsigned i = length; i-- > 0;)
            Bit((code >> i) & 1);
    }
    std::string Bytes() const { return bytes_; }

private:
    void Bit(unsigned bit)
    {
        if (used_ % 8 == 0)
            bytes_.push_back('\0');
        bytes_.back() = static_cast<char>(bytes_.back() | bit << (used_ % 8));
        ++used_;
    }
    std::string bytes_;
    unsigned used_ = 0;
};

} // namespace

// Catches Deflate's meaning of length code 285 (258) or distance codes 30 and 31 (none)
// used for Deflate64, which no 7-Zip stream exercises: a fixed-code block with a literal,
// a match of 1000 at distance 1, and a match of 3 at distance 33769 through code 30.
TEST(Inflate64, LongLengthsAndFarDistancesFollowDeflate64)
{
    BitWriter stream;
    stream.Put(1, 1);                   // the last block
    stream.Put(1, 2);                   // fixed codes
    stream.Code(0x30 + 'A', 8);         // literal 'A'
    stream.Code(0xC0 + (285 - 280), 8); // length code 285: 3 + 16 extra bits
    stream.Put(1000 - 3, 16);
    stream.Code(0, 5); // distance 1
    for (int i = 0; i < 39000; ++i)
        stream.Code(0x30 + 'a' + i % 7, 8);
    stream.Code(0x01, 7); // length code 257: 3
    stream.Code(30, 5);   // distance code 30: 32769 + 14 extra bits
    stream.Put(1000, 14);
    stream.Code(0, 7); // end of block
    const std::string bytes = stream.Bytes();
    codec::MemorySource source(bytes.data(), bytes.size());
    pkzip::Inflate64 inflate(source);
    std::string out(1001 + 39000 + 3, '\0');
    std::size_t made = 0;
    while (made < out.size()) {
        const std::size_t n =
            inflate.Decode(reinterpret_cast<unsigned char *>(out.data()) + made, out.size() - made);
        if (n == 0)
            break;
        made += n;
    }
    ASSERT_EQ(made, out.size());
    EXPECT_EQ(out.substr(0, 1001), std::string(1001, 'A'));
    EXPECT_EQ(out.substr(40001), out.substr(40001 - 33769, 3));
    EXPECT_EQ(out.substr(40001), "cde"); // literals 5231 to 5233
    unsigned char more = 0;
    EXPECT_EQ(inflate.Decode(&more, 1), 0u);
    EXPECT_FALSE(inflate.Broken());
}
