// Every archive of the shared real-world fixtures is listed and extracted, or refused with
// a result code, within its budget; the ARJ fixtures decode to their known checksums and
// Shift-JIS names keep their bytes.

#include "archivertesting.h"
#include "support/tempfolder.h"

#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

using namespace archiver_testing;
namespace fs = std::filesystem;

namespace {

const fs::path archives = fs::path(SONOLUX_FIXTURES_DIR) / "archives";
constexpr double budgetSeconds = 3;

// The library for a fixture of the mixed folder "old", by its name's ending.
std::string OldFormatOf(const fs::path &file)
{
    std::string extension = file.extension().string();
    for (char &c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".rar" || extension == ".zip")
        return extension.substr(1);
    return "lzh"; // .lzh, .lzs and the self-extracting .exe and .com
}

// The library for a fixture, by the folder it lies in.
std::string FormatOf(const fs::path &file)
{
    const std::string folder = file.parent_path().filename().string();
    if (folder == "old")
        return OldFormatOf(file);
    if (folder == "lha")
        return "lzh";
    if (folder == "rar4" || folder == "rar5")
        return "rar";
    if (folder == "zip" || folder == "cab" || folder == "tar")
        return folder;
    return "arj";
}

std::vector<std::string> FixtureFiles()
{
    std::vector<std::string> files;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(archives, error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
        const std::string extension = it->path().extension().string();
        if (it->is_regular_file() && extension != ".txt" && extension != ".md")
            files.push_back(fs::relative(it->path(), archives).string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string Sha256(const std::string &path)
{
    FILE *pipe = popen(("sha256sum '" + path + "'").c_str(), "r");
    char digest[65] = {};
    if (pipe == nullptr || std::fscanf(pipe, "%64s", digest) != 1)
        digest[0] = '\0';
    if (pipe != nullptr)
        pclose(pipe);
    return digest;
}

using Clock = std::chrono::steady_clock;

// The work stops within the budget, with room for a loaded machine.
void ExpectWithinBudget(Clock::time_point start, const std::string &what)
{
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), budgetSeconds + 10)
        << what;
}

class ArchiveFixture : public ::testing::TestWithParam<std::string>
{
protected:
    ScopedEnv budget_{"SONOLUX_ARCHIVER_BUDGET", std::to_string(budgetSeconds)};
    testing_support::TempFolder temp_;
};

} // namespace

// Catches a hang, crash, escape or leftover on any real-world archive.
TEST_P(ArchiveFixture, ListsAndExtractsWithinBudget)
{
    const std::string path = archives / GetParam();
    const Format &format = FormatNamed(FormatOf(path));
    const Archiver archiver(format);
    const std::string out = temp_ / "sandbox/out";

    Clock::time_point start = Clock::now();
    bool opened = false;
    const std::vector<std::string> names = archiver.List(path, &opened);
    ExpectWithinBudget(start, "listing");
    EXPECT_TRUE(opened || names.empty());

    for (const bool flat : {true, false}) {
        const std::string line = flat ? PlayerCommandLine(format, path, out, {"*.*"})
                                      : KeepFoldersCommandLine(format, path, out);
        start = Clock::now();
        std::string report;
        const int result = archiver.Command(line, &report);
        ExpectWithinBudget(start, "extraction");
        EXPECT_TRUE(result == 0 || (result >= ERROR_START && result < 0x8200)) << result;
        EXPECT_TRUE(result != ERROR_TIME_BUDGET || report.find("time budget") != std::string::npos);
        for (const std::string &entry : TreeOf(temp_ / "sandbox"))
            EXPECT_EQ(entry.rfind("out", 0), 0u) << "escaped: " << entry;
        EXPECT_FALSE(HasLinksOrTempFiles(temp_ / "sandbox"));
        fs::remove_all(out);
    }
}

INSTANTIATE_TEST_SUITE_P(Archives, ArchiveFixture, ::testing::ValuesIn(FixtureFiles()),
                         [](const auto &info) {
                             std::string name = info.param;
                             for (char &c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

// Catches the archives that hang Debian's libarchive holding the caller up.
TEST(ArchiveFixtures, LibraryHangsEndAtTheBudget)
{
    ScopedEnv budget("SONOLUX_ARCHIVER_BUDGET", "2");
    testing_support::TempFolder temp;
    const Archiver rar(FormatNamed("rar"));
    const Archiver tar(FormatNamed("tar"));
    const std::string dirdata = archives / "libarchive/rar5/test_read_format_rar5_dirdata.rar";
    const std::string recursive = archives / "libarchive/tar/test_read_filter_gzip_recursive.gz";
    const std::string symlink = archives / "libarchive/rar5/test_read_format_rar5_symlink.rar";

    Clock::time_point start = Clock::now();
    // libarchive fails the damaged directory header again and again at the same place; the
    // reader used to step over it for ever. The listing now ends there, with the members
    // read before it.
    bool opened = false;
    rar.List(dirdata, &opened);
    EXPECT_TRUE(opened);
    EXPECT_NE(rar.Command(PlayerCommandLine(FormatNamed("rar"), dirdata, temp / "a", {"*"})), 0);
    EXPECT_NE(tar.Command(PlayerCommandLine(FormatNamed("tar"), recursive, temp / "b", {"*"})), 0);
    rar.Command(KeepFoldersCommandLine(FormatNamed("rar"), symlink, temp / "c"));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3 * 2 + 15));
    EXPECT_FALSE(HasLinksOrTempFiles(temp.Path()));
}

// Catches ARJ decoding errors against the fixtures' known checksums, and damage or
// encryption passed off as data.
TEST(ArchiveFixtures, ArjMembersMatchTheirChecksums)
{
    testing_support::TempFolder temp;
    const Format &arj = FormatNamed("arj");
    const Archiver unarj(arj);
    const std::string license = "c71d239df91726fc519c6eb72d318ec65820627232b2f796219e87dcf35d0ab4";
    const std::string alice = "7467306ee0feed4971260f3c87421154a05be571d944e9cb021a5713700c38f0";
    int run = 0;
    auto extract = [&](const std::string &file, int expected) {
        const std::string out = temp / std::to_string(++run);
        EXPECT_EQ(unarj.Command(PlayerCommandLine(arj, archives / file, out, {"*"})), expected)
            << file;
        return out;
    };
    for (const char *file :
         {"stored.arj", "method1.arj", "method2.arj", "method3.arj", "method4.arj"})
        EXPECT_EQ(Sha256(extract(std::string("arj/unarc-rs/") + file, 0) + "/LICENSE"), license)
            << file;
    for (const char *method : {"store", "method1", "method2", "method3", "method4"})
        EXPECT_EQ(
            Sha256(extract(std::string("arj/sharpcompress/Arj.") + method + ".largefile.arj", 0) +
                   "/alice29.txt"),
            alice)
            << method;
    EXPECT_TRUE(fs::is_empty(extract("arj/unarc-rs/wrongcrc32.arj", ERROR_FILE_CRC)));
    EXPECT_TRUE(fs::is_empty(extract("arj/unarc-rs/license_crypted.arj", ERROR_PASSWORD_FILE)));
    EXPECT_TRUE(fs::is_empty(extract("arj/unarc-rs/multi/test_file.arj", ERROR_NOT_SUPPORT)));
    EXPECT_EQ(unarj.List(archives / "arj/unarc-rs/multi/test_file.arj"),
              std::vector<std::string>{"TEST.ICY"});
}

// Catches Shift-JIS names of old archives converted (libarchive would make them UTF-8).
TEST(ArchiveFixtures, ShiftJisNamesKeepTheirBytes)
{
    const std::string hyouDayo = "\x95\x5C\x82\xBE\x82\xE6"; // a folder name
    const std::string kanji = "\x8A\xBF\x8E\x9A.txt";
    const std::string ichiran = "\x88\xEA\x97\x97\x95\x5C.txt";
    EXPECT_EQ(Archiver(FormatNamed("lzh"))
                  .List(archives / "libarchive/lha/test_read_format_lha_filename_cp932.lzh"),
              (std::vector<std::string>{kanji, "\x95\x5C.txt"}));
    EXPECT_EQ(Archiver(FormatNamed("zip"))
                  .List(archives / "libarchive/zip/test_read_format_zip_filename_cp932.zip"),
              (std::vector<std::string>{hyouDayo + "/" + ichiran, hyouDayo + "/" + kanji}));
    EXPECT_EQ(Archiver(FormatNamed("cab"))
                  .List(archives / "libarchive/cab/test_read_format_cab_filename_cp932.cab"),
              (std::vector<std::string>{hyouDayo + "\\" + kanji, hyouDayo + "\\" + ichiran}));

    testing_support::TempFolder temp;
    const Format &cab = FormatNamed("cab");
    ASSERT_EQ(Archiver(cab).Command(PlayerCommandLine(
                  cab, archives / "libarchive/cab/test_read_format_cab_filename_cp932.cab",
                  temp / "out", {"*.txt"})),
              0);
    EXPECT_EQ(TreeOf(temp / "out"), (std::vector<std::string>{ichiran, kanji}));
}
