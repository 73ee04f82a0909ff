// The helper's records, its command line and its budget.

#include "archivertesting.h"
#include "outside/arccommon/limits.h"
#include "outside/arccommon/protocol.h"
#include "outside/arccommon/workerjob.h"

#include <gtest/gtest.h>

using namespace arc;
using namespace arc::protocol;
using archiver_testing::ScopedEnv;

// Catches fields lost or swapped in transit, and records split across reads.
TEST(ArchiverProtocol, RecordsSurviveAnySplitting)
{
    MemberEntry member;
    member.name = std::string("a\0b/\x95\x5C.mid", 11);
    member.kind = MemberKind::Link;
    member.size = 1ull << 40;
    member.compressedSize = 7;
    member.crc = 0xDEADBEEF;
    member.mtime = -5;
    member.osType = 11;
    member.method = "-lh5-";
    const std::string stream = Encode(member) + Encode(BeginEntry{member, "/t/x"}) +
                               EncodeTemp("/t/.tmp") + EncodeProgress(99) + EncodeDone() +
                               Encode(FailedEntry{"n", 0x8105, "why"}) +
                               Encode(ResultEntry{-1, "end"});
    RecordParser parser;
    std::vector<std::pair<RecordType, std::string>> records;
    for (const char c : stream) {
        parser.Feed(&c, 1);
        RecordType type{};
        std::string payload;
        while (parser.Next(type, payload))
            records.emplace_back(type, payload);
    }
    ASSERT_EQ(records.size(), 7u);
    EXPECT_FALSE(parser.HasPartial());

    MemberEntry decoded;
    ASSERT_TRUE(Decode(records[0].second, decoded));
    EXPECT_EQ(decoded.name, member.name);
    EXPECT_EQ(decoded.kind, MemberKind::Link);
    EXPECT_EQ(decoded.size, member.size);
    EXPECT_EQ(decoded.crc, member.crc);
    EXPECT_EQ(decoded.mtime, -5);
    EXPECT_EQ(decoded.method, "-lh5-");
    BeginEntry begin;
    ASSERT_TRUE(Decode(records[1].second, begin));
    EXPECT_EQ(begin.destination, "/t/x");
    std::uint64_t written = 0;
    ASSERT_TRUE(DecodeNumber(records[3].second, written));
    EXPECT_EQ(written, 99u);
    EXPECT_EQ(records[4].first, RecordType::Done);
    FailedEntry failed;
    ASSERT_TRUE(Decode(records[5].second, failed));
    EXPECT_EQ(failed.code, 0x8105);
    ResultEntry result;
    ASSERT_TRUE(Decode(records[6].second, result));
    EXPECT_EQ(result.code, -1);
    EXPECT_EQ(result.text, "end");
}

// Catches damaged records accepted: cut, padded, lying lengths, absurd sizes.
TEST(ArchiverProtocol, DamagedRecordsAreRejected)
{
    const std::string record = Encode(ResultEntry{0, "text"});
    const std::string payload = record.substr(5);
    ResultEntry result;
    EXPECT_FALSE(Decode(payload.substr(0, payload.size() - 1), result));
    EXPECT_FALSE(Decode(payload + "x", result));
    MemberEntry member;
    EXPECT_FALSE(Decode(payload, member));
    std::string lying = payload;
    lying[8] = '\x7F'; // text length far beyond the payload
    EXPECT_FALSE(Decode(lying, result));

    RecordParser parser;
    parser.Feed("R\xFF\xFF\xFF\x7F", 5);
    RecordType type{};
    std::string out;
    EXPECT_FALSE(parser.Next(type, out));
    EXPECT_TRUE(parser.Broken());
}

// Catches a job that changes on its way through the helper's command line, and malformed
// command lines accepted.
TEST(ArchiverProtocol, WorkerJobRoundTrip)
{
    WorkerJob job;
    job.operation = JobOperation::Extract;
    job.kind = ArchiveKind::Arj;
    job.archive = "/a b/\x95\x5C.arj";
    job.folder = "/t";
    job.keepFolders = true;
    job.memberLimit = 123;
    job.totalLimit = 456;
    job.cpuSeconds = 31;
    job.masks = {"*.mid", "flat"};
    WorkerJob back;
    ASSERT_TRUE(WorkerJob::FromArguments(job.ToArguments(), back));
    EXPECT_EQ(back.ToArguments(), job.ToArguments());

    std::vector<std::string> bad = job.ToArguments();
    bad[0] = "delete";
    EXPECT_FALSE(WorkerJob::FromArguments(bad, back));
    bad = job.ToArguments();
    bad[5] = "-1";
    EXPECT_FALSE(WorkerJob::FromArguments(bad, back));
    EXPECT_FALSE(WorkerJob::FromArguments({"list", "zip"}, back));
}

// Catches a budget the environment can raise, or values that do not parse taken anyway.
TEST(ArchiverProtocol, LimitsOnlyGetTighter)
{
    {
        ScopedEnv seconds("SONOLUX_ARCHIVER_BUDGET", "2.5");
        ScopedEnv member("SONOLUX_ARCHIVER_MEMBER_LIMIT", "1000");
        ScopedEnv total("SONOLUX_ARCHIVER_TOTAL_LIMIT", "99999999999999");
        const Limits limits = Limits::FromEnvironment();
        EXPECT_DOUBLE_EQ(limits.seconds, 2.5);
        EXPECT_EQ(limits.memberBytes, 1000u);
        EXPECT_EQ(limits.totalBytes, Limits::defaultTotalBytes);
    }
    ScopedEnv seconds("SONOLUX_ARCHIVER_BUDGET", "soon");
    ScopedEnv member("SONOLUX_ARCHIVER_MEMBER_LIMIT", "-5");
    const Limits limits = Limits::FromEnvironment();
    EXPECT_DOUBLE_EQ(limits.seconds, Limits::defaultSeconds);
    EXPECT_EQ(limits.memberBytes, 256ull << 20);
}
