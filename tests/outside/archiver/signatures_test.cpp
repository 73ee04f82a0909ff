// Recognising archives by signature, as the quick probe does.

#include "archivebuilders.h"
#include "outside/arccommon/signatures.h"

#include <gtest/gtest.h>

using namespace arc;
using namespace archiver_testing;

namespace {

const std::vector<StoredMember> members = {{"a.mid", "MThd"}};

bool Looks(ArchiveKind kind, const std::string &file)
{
    return LooksLikeArchive(kind, file.substr(0, signatureScan),
                            file.substr(file.size() > zipTailScan ? file.size() - zipTailScan : 0));
}

} // namespace

// Catches archives behind a self-extractor's program missed or their start misplaced, and
// archives stored inside other files (which are members, not the file's kind) taken for the
// file itself.
TEST(ArchiverSignatures, HeadersCountAtTheStartOrBehindAProgramHead)
{
    const std::string head = "MZ" + std::string(5000, '\x90');
    const std::string data = "XX" + std::string(5000, '\x90');
    const std::pair<ArchiveKind, std::string> archives[] = {
        {ArchiveKind::Lha, BuildLzh(members, 0)},
        {ArchiveKind::Lha, BuildLzh(members, 2)},
        {ArchiveKind::Rar, BuildRar4(members)},
        {ArchiveKind::Zip, BuildZip(members)},
    };
    for (const auto &[kind, archive] : archives) {
        EXPECT_TRUE(Looks(kind, archive));
        EXPECT_TRUE(Looks(kind, head + archive));
        EXPECT_TRUE(kind == ArchiveKind::Zip || !Looks(kind, data + archive));
        // Where the reader must start: ZIP readers find the archive themselves.
        const bool zip = kind == ArchiveKind::Zip;
        EXPECT_EQ(ArchiveStart(kind, archive), 0u);
        EXPECT_EQ(ArchiveStart(kind, head + archive), zip ? 0 : head.size());
        EXPECT_EQ(ArchiveStart(kind, data + archive), zip ? 0 : std::string::npos);
        for (const ArchiveKind other : {ArchiveKind::Lha, ArchiveKind::Rar, ArchiveKind::Zip,
                                        ArchiveKind::Cab, ArchiveKind::Arj, ArchiveKind::Tar})
            EXPECT_TRUE(other == kind || !Looks(other, archive));
    }
    // An MS-DOS .com self-extractor has no signature, only a jump over its program.
    EXPECT_TRUE(
        Looks(ArchiveKind::Lha, "\xEB\x60" + std::string(1200, '\x90') + BuildLzh(members, 0)));
    // A ZIP whose central directory is gone is no ZIP behind a program head.
    const std::string zip = BuildZip(members);
    EXPECT_FALSE(Looks(ArchiveKind::Zip, head + zip.substr(0, zip.find("PK\x01\x02"))));
}

// Catches TAR headers accepted without their checksum, and compressions missed.
TEST(ArchiverSignatures, TarHeadersAndCompressions)
{
    std::string tar = BuildTar({{"a.mid", '0', "MThd", "", std::nullopt}});
    EXPECT_TRUE(TarHeaderAt(tar, 0));
    EXPECT_TRUE(Looks(ArchiveKind::Tar, tar));
    tar[0] = 'b';
    EXPECT_FALSE(TarHeaderAt(tar, 0));
    EXPECT_FALSE(TarHeaderAt(std::string(512, '\0'), 0));
    EXPECT_EQ(CompressionOf("\x1F\x8B\x08"), Compression::Gzip);
    EXPECT_EQ(CompressionOf("BZh91AY&SY"), Compression::Bzip2);
    EXPECT_EQ(CompressionOf("BZh0"), Compression::None);
    EXPECT_EQ(CompressionOf("\x1F\x9D\x90"), Compression::Compress);
    EXPECT_EQ(CompressionOf(std::string("\xFD"
                                        "7zXZ\0",
                                        6)),
              Compression::Xz);
}
