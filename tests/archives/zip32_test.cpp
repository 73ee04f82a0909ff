#include "fakelibraries.h"

#include "archives/archivefile.h"
#include "archives/earchiver.h"
#include "archives/zip32.h"
#include "platform/files.h"

#include <cstdlib>
#include <gmock/gmock.h>

using namespace archives;
using namespace archives_test;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const TArchiverOptions none;
const TStringList oneFile{"a\\f1"};

std::string MessageOf(const std::function<void()> &operation)
{
    try {
        operation();
    } catch (const EArchiver &error) {
        return error.what();
    }
    return "(no exception)";
}

} // namespace

using ZipLibraries = FakeLibraryTest;

// Catches the listing entries searched in the wrong order, and LMZIP32's "Unzip" spelling
// not being used for listing and extraction.
TEST_F(ZipLibraries, LmzipAloneIsAskedForUnzipEntries)
{
    libs.Place("LMZIP32.DLL");
    const std::string archive = libs.Folder().Write("a.zip", "ZIP");
    TArchiveFile file;
    file.SetFileName(archive);
    ASSERT_NE(file.OpenArchive(nullptr, 0), 0u);
    INDIVIDUALINFO info;
    EXPECT_EQ(file.FindFirst("*.*", info), 0);
    EXPECT_EQ(file.FindNext(info), 0);
    file.CloseArchive();
    file.Extract(nullptr, "/t", &PlayerMasks());
    EXPECT_EQ(libs.Calls("LMZIP32.DLL"), "UnzipOpenArchive mode=0 path=" + archive +
                                             "\nUnzipFindFirst wildcard=*.*\n"
                                             "UnzipFindNext\nUnzipCloseArchive handle=open\n"
                                             "Unzip window=null size=0 buffer=null\n");
}

// Catches extraction through the creating library, and listing that ignores ZIP32J.
TEST_F(ZipLibraries, Zip32jAloneListsButCannotExtract)
{
    libs.Place("ZIP32J.DLL");
    const std::string archive = libs.Folder().Write("a.zip", "ZIP");
    TArchiveFile file;
    file.SetFileName(archive);
    EXPECT_NE(file.OpenArchive(nullptr, 0), 0u);
    file.CloseArchive();
    EXPECT_EQ(MessageOf([&] { file.Extract(nullptr, "/t", nullptr); }),
              "ZIP 形式書庫の解凍には UNZIP32.DLL または LMZIP32.DLL が必要です。");
    EXPECT_THAT(libs.Calls("ZIP32J.DLL"), HasSubstr("UnZipOpenArchive"));
}

// Catches entries taken from the wrong one of several loaded libraries.
TEST_F(ZipLibraries, SearchOrderWithAllThree)
{
    libs.Place("UNZIP32.DLL");
    libs.Place("ZIP32J.DLL");
    libs.Place("LMZIP32.DLL");
    TZip32 zip;
    std::string output;
    zip.OpenArchive(nullptr, "/a.zip", 0);
    zip.CheckArchive("a.zip", 5, 100);
    zip.Extract(nullptr, "a.zip", output, nullptr, "", none);
    zip.Pack(nullptr, "a.zip", output, nullptr, "", none);
    EXPECT_EQ(libs.Calls("LMZIP32.DLL"), "UnzipOpenArchive mode=0 path=/a.zip\n");
    EXPECT_EQ(libs.Calls("UNZIP32.DLL"), "UnZipCheckArchive mode=5 path=a.zip\n"
                                         "UnZip window=null size=0 buffer=null\n");
    EXPECT_EQ(libs.Calls("ZIP32J.DLL"), "Zip window=null size=0 buffer=null\n");
}

// Catches a wrong message when no ZIP library or no packer is present, and owner windows
// looked for anywhere but UNZIP32.
TEST_F(ZipLibraries, MessagesForMissingLibrariesAndEntries)
{
    EXPECT_EQ(MessageOf([] { TZip32 zip; }),
              "ZIP 形式書庫を解凍するには UNZIP32.DLL が、作成するには ZIP32J.DLL が必要です。");
    libs.Place("UNZIP32.DLL");
    TZip32 zip;
    std::string output;
    EXPECT_EQ(MessageOf([&] { zip.Pack(nullptr, "a.zip", output, nullptr, "", none); }),
              "ZIP 形式書庫の作成には ZIP32J.DLL または LMZIP32.DLL が必要です。");
    EXPECT_EQ(MessageOf([&] { zip.Delete(nullptr, "a.zip", output, nullptr, "", none); }),
              "ZIP 形式書庫の作成には ZIP32J.DLL または LMZIP32.DLL が必要です。");
    EXPECT_EQ(MessageOf([&] { zip.MakeSFX(nullptr, "a.zip", output, "", none); }),
              "ZIP 形式書庫からの自己解凍書庫作成には ZIP32J.DLL が必要です。");
    RecordingWindow owner;
    EXPECT_TRUE(zip.SetOwnerWindow(owner.Handle(), nullptr));
    EXPECT_TRUE(zip.KillOwnerWindow(owner.Handle()));
    zip.FreeDLL();

    libs.Remove("UNZIP32.DLL");
    libs.Place("ZIP32J.DLL", "lmzip32");
    TZip32 noOwner;
    EXPECT_EQ(MessageOf([&] { noOwner.SetOwnerWindow(owner.Handle(), nullptr); }),
              "libunzip32.so に UnZipSetOwnerWindowEx のエントリが見つかりません。");
    EXPECT_EQ(MessageOf([&] { noOwner.OpenArchive(nullptr, "a.zip", 0); }),
              "UnZipOpenArchive のエントリが見つかりません。");
}

using ZipRecipe = FakeLibraryTest;

// Catches create switches under the wrong conditions ("-D" also for unset a) and paths
// written with backslashes.
TEST_F(ZipRecipe, CreateRecipeSwitches)
{
    libs.Place("ZIP32J.DLL");
    TZip32 zip;
    std::string output;
    zip.Pack(nullptr, "C:\\A\\a.zip", output, &oneFile, "C:\\F", none);
    EXPECT_EQ(zip.CommandLine(), R"( -D  "C:/A/a.zip" "C:/F/" "a/f1" )");
    TArchiverOptions o;
    o.a = 2;
    o.l = 1;
    o.n = 1;
    o.r = 1;
    o.u = 1;
    o.x = 0;
    o.jc = 1;
    o.ji = 1;
    o.jm = 9;
    o.gd = 1;
    zip.Update(nullptr, "a.zip", output, &oneFile, "F", o);
    EXPECT_EQ(zip.CommandLine(), R"(-f -S -v -q -r -o -u -j -FF -k -9 -J  "a.zip" "F/" "a/f1" )");
    o.a = 1;
    zip.Delete(nullptr, "a.zip", output, &oneFile, "F", o);
    EXPECT_EQ(zip.CommandLine(), R"(-d -S -D -v -q -r -o -u -j -FF -k -9 -J  "a.zip" "a/f1" )");
    EXPECT_EQ(libs.LastCommandLine("ZIP32J.DLL"), zip.CommandLine());
}

// Catches the extract switches under the wrong conditions.
TEST_F(ZipRecipe, ExtractRecipeSwitches)
{
    libs.Place("UNZIP32.DLL");
    TZip32 zip;
    std::string output;
    TArchiverOptions o;
    o.c = 1;
    o.n = 0;
    zip.Extract(nullptr, "a.zip", output, nullptr, "", o);
    EXPECT_EQ(zip.CommandLine(), R"(-x -o  "a.zip" )");
    RecordingWindow owner;
    zip.SetOwnerWindow(owner.Handle(), nullptr);
    zip.Extract(nullptr, "a.zip", output, nullptr, "", none);
    EXPECT_EQ(zip.CommandLine(), R"(-x --i  "a.zip" )");
}

// Catches the old archive lost when LMZIP32's packing fails, or found by the library, or a
// set-aside copy left behind when packing succeeds.
TEST_F(ZipRecipe, LmzipPackKeepsTheOldArchiveUntilItSucceeds)
{
    libs.Place("LMZIP32.DLL");
    testing_support::TempFolder work;
    const std::string archive = work.Write("a.zip", "old");
    TZip32 zip;
    std::string output;
    TArchiverOptions o;
    o.c = 1;
    o.x = 0;
    o.UserOptions = "FAIL";
    EXPECT_EQ(zip.Pack(nullptr, archive, output, &oneFile, "ignored", o), ERROR_CANNOT_WRITE);
    EXPECT_EQ(zip.CommandLine(), "-ru -o -j FAIL \"" + archive + "\" \"a/f1\" ");
    EXPECT_EQ(platform::ReadFile(archive), "old");
    EXPECT_EQ(platform::ListFolder(work.Path()).size(), 1u);

    o.UserOptions.clear();
    EXPECT_EQ(zip.Pack(nullptr, archive, output, &oneFile, "", o), 0);
    EXPECT_TRUE(platform::ListFolder(work.Path()).empty());
}

// Catches a self-extractor built with the wrong head, a head program that is missing reported as
// success, and the wrong "-A" command line.
TEST_F(ZipRecipe, SelfExtractorPicksItsHead)
{
    libs.Place("ZIP32J.DLL");
    const char *path = std::getenv("PATH");
    const std::string oldPath = path != nullptr ? path : "";
    testing_support::TempFolder heads;
    ::setenv("PATH", heads.Path().c_str(), 1);
    const std::string archive = heads.Write("a.zip", "ZIPDATA");
    TZip32 zip;
    std::string output;
    TArchiverOptions win32;
    win32.gw = 1;
    EXPECT_EQ(MessageOf([&] { zip.MakeSFX(nullptr, archive, output, "", win32); }),
              "zip 書庫からのWin32自己解凍書庫の作成には sfx32gui.dat が必要です。");
    EXPECT_EQ(MessageOf([&] { zip.MakeSFX(nullptr, archive, output, "", none); }),
              "zip 書庫からのDOS自己解凍書庫の作成には sfx16.dat が必要です。");
    heads.Write("sfx16.dat", "DOS");
    heads.Write("sfx32gui.dat", "GUI");
    EXPECT_EQ(zip.MakeSFX(nullptr, archive, output, "", win32), 0);
    EXPECT_EQ(zip.CommandLine(), "-A " + heads / "a.EXE");
    EXPECT_EQ(platform::ReadFile(heads / "a.EXE"), "GUIZIPDATA");
    EXPECT_EQ(libs.LastCommandLine("ZIP32J.DLL"), zip.CommandLine());
    ::setenv("PATH", oldPath.c_str(), 1);
}
