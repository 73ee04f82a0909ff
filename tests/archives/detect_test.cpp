#include "fakelibraries.h"

#include "archives/archivefile.h"
#include "archives/earchiver.h"
#include "archives/lha32.h"
#include "archives/tar32.h"

#include <filesystem>
#include <gmock/gmock.h>

using namespace archives;
using namespace archives_test;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const char *const allLibraries[] = {"UNLHA32.DLL", "UNARJ32J.DLL", "UNZIP32.DLL",
                                    "CAB32.DLL",   "tar32.dll",    "UNRAR32.DLL"};

std::string MessageOf(const std::function<void()> &operation)
{
    try {
        operation();
    } catch (const EArchiver &error) {
        return error.what();
    }
    return "(no exception)";
}

class Detection : public FakeLibraryTest
{
protected:
    void PlaceAll() const
    {
        for (const char *library : allLibraries)
            libs.Place(library);
    }
    bool AnyLoaded() const
    {
        for (const char *library : allLibraries)
            if (libs.IsLoaded(library))
                return true;
        return false;
    }
};

} // namespace

// Catches a case-sensitive table, a ".tar.gz" taken by its first dot, and probes run for
// names whose extension settles the format.
TEST_F(Detection, ByExtension)
{
    PlaceAll();
    const std::pair<const char *, TArchiverType> table[] = {
        {"a.LZH", TArchiverType::atLha},      {"a.Cab", TArchiverType::atCab},
        {"a.zip", TArchiverType::atZip},      {"/x/a.ARJ", TArchiverType::atArj},
        {"a.rar", TArchiverType::atRar},      {"a.bz2", TArchiverType::atBZ2},
        {"a.tar", TArchiverType::atTar},      {"a.tar.gz", TArchiverType::atTgz},
        {"a.Z", TArchiverType::atTgz},        {"a.tgz", TArchiverType::atTgz},
        {"a.taz", TArchiverType::atTgz},      {"a.dat", TArchiverType::atNone},
        {"noext", TArchiverType::atNone},     {"dir.lzh/file", TArchiverType::atNone},
        {"a.lzh.txt", TArchiverType::atNone},
    };
    for (const auto &[name, type] : table)
        EXPECT_EQ(TArchiveFile::DetectArchiverType(name, true), type) << name;
    EXPECT_FALSE(AnyLoaded());
}

// Catches probes that stop at the first hit, a wrong order of priority, a probe of TAR
// given the expanded name (or the others the raw one), and ZIP closing a handle of 0.
TEST_F(Detection, ByContentRunsEveryProbeAndRanksThem)
{
    PlaceAll();
    std::filesystem::create_directory(libs.Folder() / "sub");
    const std::string raw = libs.Folder() / "sub/../both.exe";
    const std::string full = libs.Folder() / "both.exe";
    libs.Folder().Write("both.exe", "MZ ZIP LHA");
    EXPECT_EQ(TArchiveFile::DetectArchiverType(raw, true), TArchiverType::atLha);
    EXPECT_EQ(libs.Calls("tar32.dll"), "TarGetArchiveType path=" + raw + "\n");
    for (const char *library : {"UNRAR32.DLL", "UNARJ32J.DLL", "CAB32.DLL", "UNLHA32.DLL"})
        EXPECT_THAT(libs.Calls(library), HasSubstr("OpenArchive mode=8388610 path=" + full + "\n"))
            << library;
    EXPECT_THAT(libs.Calls("CAB32.DLL"), HasSubstr("CabCloseArchive handle=0\n"));
    EXPECT_EQ(libs.Calls("UNZIP32.DLL"),
              "UnZipOpenArchive mode=8388610 path=" + full + "\nUnZipCloseArchive handle=open\n");

    const std::pair<const char *, TArchiverType> ranking[] = {
        {"ZIP CAB ARJ RAR TAR", TArchiverType::atZip},
        {"CAB ARJ RAR TAR", TArchiverType::atCab},
        {"ARJ RAR TAR", TArchiverType::atArj},
        {"RAR TAR", TArchiverType::atRar},
        {"TGZ", TArchiverType::atTgz},
        {"BZ2", TArchiverType::atBZ2},
        {"TAR", TArchiverType::atTar},
        {"plain", TArchiverType::atNone},
    };
    for (const auto &[content, type] : ranking) {
        const std::string name = libs.Folder().Write("x.dat", content);
        EXPECT_EQ(TArchiveFile::DetectArchiverType(name, false), type) << content;
    }
    EXPECT_THAT(libs.Calls("UNZIP32.DLL"), Not(HasSubstr("handle=0")));
}

// Catches a missing library that makes the probes raise instead of answering false.
TEST_F(Detection, ProbesWithoutLibrariesAnswerNone)
{
    const std::string name = libs.Folder().Write("a.exe", "LHA TAR");
    EXPECT_EQ(TArchiveFile::DetectArchiverType(name, true), TArchiverType::atNone);
    libs.Place("tar32.dll");
    EXPECT_EQ(TArchiveFile::DetectArchiverType(name, true), TArchiverType::atTar);
    EXPECT_EQ(TTar32::ProbeArchive(libs.Folder() / "missing"), TArchiverType::atNone);
    EXPECT_FALSE(TLha32::ProbeArchive(name));
}

using FileNameSetter = Detection;

// Catches a back-end chosen late, loaded for unknown names, or replaced by an unknown name.
TEST_F(FileNameSetter, ChoosesTheBackEndByExtension)
{
    PlaceAll();
    TArchiveFile file;
    EXPECT_EQ(file.ArchiverType(), TArchiverType::atAutoDetect);
    EXPECT_TRUE(IsUnset(file.FileName()));
    file.SetFileName("/m/a.dat");
    EXPECT_EQ(file.ArchiverType(), TArchiverType::atAutoDetect);
    EXPECT_EQ(file.Archiver(), nullptr);
    EXPECT_FALSE(AnyLoaded());
    EXPECT_EQ(MessageOf([&] { file.Extract(nullptr, "/t", nullptr); }),
              "書庫の形式を判別できません。");

    file.SetFileName("/m/A.LZH");
    EXPECT_EQ(file.ArchiverType(), TArchiverType::atLha);
    EXPECT_NE(dynamic_cast<TLha32 *>(file.Archiver()), nullptr);
    EXPECT_TRUE(libs.IsLoaded("UNLHA32.DLL"));
    file.SetFileName("/m/b.dat");
    EXPECT_EQ(file.ArchiverType(), TArchiverType::atLha);
    EXPECT_NE(file.Archiver(), nullptr);
    EXPECT_EQ(file.FileName(), "/m/b.dat");

    file.SetFileName("c.gz");
    EXPECT_EQ(file.ArchiverType(), TArchiverType::atTgz);
    EXPECT_NE(dynamic_cast<TTgz32 *>(file.Archiver()), nullptr);
}

// Catches a failed change that leaves the name, type or back-end half changed.
TEST_F(FileNameSetter, FailureChangesNothing)
{
    libs.Place("UNLHA32.DLL");
    TArchiveFile file;
    file.SetFileName("a.lzh");
    TArchiver *const lha = file.Archiver();
    EXPECT_EQ(MessageOf([&] { file.SetFileName("b.cab"); }),
              "CAB 形式書庫を扱うには CAB32.DLL が 必要です。");
    EXPECT_EQ(file.FileName(), "a.lzh");
    EXPECT_EQ(file.ArchiverType(), TArchiverType::atLha);
    EXPECT_EQ(file.Archiver(), lha);

    file.SetArchiverType(TArchiverType::atNone);
    EXPECT_EQ(file.ArchiverType(), TArchiverType::atLha);
    file.SetArchiverType(TArchiverType::atAutoDetect);
    EXPECT_EQ(file.ArchiverType(), TArchiverType::atAutoDetect);
    EXPECT_EQ(file.Archiver(), lha);
    EXPECT_EQ(MessageOf([&] { file.SetArchiverType(static_cast<TArchiverType>(42)); }),
              "現在のバージョンではこの形式の書庫をサポートしていません。");
    EXPECT_EQ(file.Archiver(), lha);
}

// Catches OpenArchive skipping content detection, and a listing attempted with no back-end.
TEST_F(FileNameSetter, OpenArchiveDetectsByContent)
{
    PlaceAll();
    TArchiveFile file;
    file.SetFileName(libs.Folder().Write("song.dat", "RAR"));
    EXPECT_NE(file.OpenArchive(nullptr, 0), 0u);
    EXPECT_EQ(file.ArchiverType(), TArchiverType::atRar);
    file.CloseArchive();

    TArchiveFile unknown;
    unknown.SetFileName(libs.Folder().Write("text.dat", "plain"));
    EXPECT_EQ(MessageOf([&] { unknown.OpenArchive(nullptr, 0); }), "書庫の形式を判別できません。");
    EXPECT_EQ(unknown.ArchiverType(), TArchiverType::atAutoDetect);
    INDIVIDUALINFO info;
    EXPECT_EQ(MessageOf([&] { unknown.FindFirst("*.*", info); }), "書庫の形式を判別できません。");

    TArchiveFile unset;
    EXPECT_EQ(MessageOf([&] { unset.OpenArchive(nullptr, 0); }), "書庫の形式を判別できません。");
}
