#include "fakelibraries.h"

#include "archives/archivefile.h"
#include "archives/arcwindow.h"
#include "archives/arj32.h"
#include "archives/cab32.h"
#include "archives/earchiver.h"
#include "archives/lha32.h"
#include "archives/rar32.h"
#include "archives/tar32.h"
#include "archives/zip32.h"
#include "platform/files.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gmock/gmock.h>

using namespace archives;
using namespace archives_test;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

struct PlayerExtraction
{
    const char *library;
    const char *archive;
    const char *entry;
    const char *commandLine;
};

// The player's extraction of C:\M\a.xxx into C:\T\SONOLUXTEMP with the five masks.
const PlayerExtraction playerTable[] = {
    {"UNLHA32.DLL", "C:\\M\\a.lzh", "Unlha",
     R"(x -+ -e1 -n1 -x0  "C:\M\a.lzh" "C:\T\SONOLUXTEMP\" "*.mid" "*.rmi" "*.rcp" "*.r36" "*.g36" )"},
    {"UNARJ32J.DLL", "C:\\M\\a.arj", "Unarj",
     R"(x -+ -e1 -n1 -x0  "C:\M\a.arj" "C:\T\SONOLUXTEMP\" "*.mid" "*.rmi" "*.rcp" "*.r36" "*.g36" )"},
    {"UNZIP32.DLL", "C:\\M\\a.zip", "UnZip",
     R"(-x --i -j  "C:/M/a.zip" "C:/T/SONOLUXTEMP/" "*.mid" "*.rmi" "*.rcp" "*.r36" "*.g36" )"},
    {"CAB32.DLL", "C:\\M\\a.cab", "Cab",
     R"(-x -i -j  "C:\M\a.cab" "C:\T\SONOLUXTEMP\" "*.mid" "*.rmi" "*.rcp" "*.r36" "*.g36" )"},
    {"tar32.dll", "C:\\M\\a.tar", "Tar",
     R"(x --display-dialog=0 --use-directory=0  -f "C:\M\a.tar" -o "C:\T\SONOLUXTEMP\" "*.mid" "*.rmi" "*.rcp" "*.r36" "*.g36" )"},
    {"UNRAR32.DLL", "C:\\M\\a.rar", "Unrar",
     R"(-e -u  "C:\M\a.rar" "C:\T\SONOLUXTEMP\" "*.mid" "*.rmi" "*.rcp" "*.r36" "*.g36" )"},
};

const TArchiverOptions none;
const TStringList oneFile{"f1"};

// Every numeric option set to its position in the declaration order, every string set.
TArchiverOptions EveryOptionSet()
{
    TArchiverOptions o;
    std::int8_t *numbers[] = {
        &o.a,  &o.c,  &o.e,  &o.f,  &o.h,   &o.i,  &o.l,   &o.m,   &o.n,   &o.o,   &o.p,   &o.r,
        &o.s,  &o.t,  &o.u,  &o.x,  &o.y,   &o.z,  &o.jc,  &o.jd,  &o.je,  &o.jf,  &o.jh,  &o.ji,
        &o.jm, &o.jn, &o.jp, &o.jr, &o.jss, &o.jw, &o.jyc, &o.jyd, &o.jyk, &o.jyn, &o.jyo, &o.ga,
        &o.gd, &o.ge, &o.gf, &o.gj, &o.gm,  &o.gn, &o.go,  &o.gp,  &o.gs,  &o.gu,  &o.gw};
    std::int8_t value = 0;
    for (std::int8_t *number : numbers)
        *number = value++;
    o.w = "C:\\W";
    o.jo = "o";
    o.job = "b";
    o.jx = {"x1", "x\\2"};
    o.jz = "z";
    o.gr = "r";
    o.UserOptions = "-uo";
    o.UserFileList = "-ufl";
    return o;
}

} // namespace

using PlayerTable = FakeLibraryTest;

// Catches any byte of the player's six extraction command lines going astray, the output
// buffer not reaching the library, and ARJ being handed a window.
TEST_F(PlayerTable, ExtractionCommandLinesComeOutByteForByte)
{
    RecordingWindow bar;
    for (const PlayerExtraction &row : playerTable) {
        SCOPED_TRACE(row.archive);
        libs.Place(row.library);
        TArchiveFile file;
        file.SetFileName(row.archive);
        file.SetOutputSize(8192);
        file.Options().e = 1;
        file.Options().n = 1;
        file.Options().x = 0;
        EXPECT_EQ(file.Extract(bar.Handle(), "C:\\T\\SONOLUXTEMP", &PlayerMasks()), 0);
        EXPECT_EQ(libs.LastCommandLine(row.library), row.commandLine);
        EXPECT_EQ(file.CommandLine(), row.commandLine);
        const std::string window = std::string(row.entry) == "Unarj" ? "null" : "set";
        EXPECT_THAT(libs.Calls(row.library), HasSubstr(std::string(row.entry) + " window=" +
                                                       window + " size=8192 buffer=nul\n"));
        EXPECT_THAT(file.OutputText(), HasSubstr(std::string(row.entry) + ": 0"));
    }
}

// Catches the back-ends rewriting Linux paths beyond the delimiter conversion they state.
TEST_F(PlayerTable, LinuxPathsPassThroughUnchanged)
{
    libs.Place("UNZIP32.DLL");
    libs.Place("UNLHA32.DLL");
    std::string output;
    TZip32 zip;
    zip.Extract(nullptr, "/home/u/a.zip", output, &PlayerMasks(), "/run/user/0/SONOLUXTEMP",
                PlayerOptions());
    EXPECT_EQ(zip.CommandLine(), R"(-x --i -j  "/home/u/a.zip" "/run/user/0/SONOLUXTEMP/" )"
                                 R"("*.mid" "*.rmi" "*.rcp" "*.r36" "*.g36" )");
    TLha32 lha;
    lha.Extract(nullptr, "/home/u/a.lzh", output, &oneFile, "/run/user/0/SONOLUXTEMP",
                PlayerOptions());
    EXPECT_EQ(lha.CommandLine(),
              R"(x -+ -e1 -n1 -x0  "/home/u/a.lzh" "/run/user/0/SONOLUXTEMP\" "f1" )");
    EXPECT_THAT(libs.Calls("UNLHA32.DLL"), HasSubstr("Unlha window=null size=0 buffer=null\n"));
}

using LhaRecipe = FakeLibraryTest;

// Catches options out of declaration order, wrong switch names or quoting, and a list or
// folder option written without its switch.
TEST_F(LhaRecipe, EveryOptionInItsOrder)
{
    libs.Place("UNLHA32.DLL");
    TLha32 lha;
    std::string output;
    lha.Pack(nullptr, "C:\\A\\a.lzh", output, &oneFile, "C:\\F", EveryOptionSet());
    EXPECT_EQ(lha.CommandLine(),
              R"(u -+ -a0 -c1 -e2 -f3 -h4 -i5 -l6 -m7 -n8 -o9 -p10 -r11 -s12 -t13 -u14 )"
              R"("-wC:\W\" -x15 -y16 -z17 -jc18 -jd19 -je20 -jf21 -jh22 -ji23 -jm24 -jn25 )"
              R"("-joo" "-jobb" -jp26 -jr27 -jss28 -jw29 "-jxx1" "-jxx\2" -jyc30 -jyd31 )"
              R"(-jyk32 -jyn33 -jyo34 "-jzz" -ga35 -gd36 -ge37 -gf38 -gj39 -gm40 -gn41 )"
              R"(-go42 -gp43 "-grr" -gs44 -gu45 -gw46 -uo "C:\A\a.lzh" "C:\F\" "f1" -ufl)");
}

// Catches a command with the wrong letter, a folder or file list where the command has
// none, and unset options that leak into the line.
TEST_F(LhaRecipe, CommandsWithUnsetOptions)
{
    libs.Place("UNLHA32.DLL");
    TLha32 lha;
    std::string output;
    const std::string archive = "C:\\A\\a.lzh";
    lha.Extract(nullptr, archive, output, &oneFile, "C:\\F", none);
    EXPECT_EQ(lha.CommandLine(), R"(x -+  "C:\A\a.lzh" "C:\F\" "f1" )");
    lha.Pack(nullptr, archive, output, &oneFile, "C:\\F", none);
    EXPECT_EQ(lha.CommandLine(), R"(u -+  "C:\A\a.lzh" "C:\F\" "f1" )");
    lha.Delete(nullptr, archive, output, &oneFile, "C:\\F", none);
    EXPECT_EQ(lha.CommandLine(), R"(d -+  "C:\A\a.lzh" "f1" )");
    lha.Update(nullptr, archive, output, &oneFile, "C:\\F", none);
    EXPECT_EQ(lha.CommandLine(), R"(f -+  "C:\A\a.lzh" "C:\F\" "f1" )");
    lha.MakeSFX(nullptr, archive, output, "C:\\F", none);
    EXPECT_EQ(lha.CommandLine(), R"(s -+  "C:\A\a.lzh" "C:\F\" )");
    lha.Extract(nullptr, archive, output, nullptr, "", none);
    EXPECT_EQ(lha.CommandLine(), R"(x -+  "C:\A\a.lzh" )");
    EXPECT_EQ(libs.LastCommandLine("UNLHA32.DLL"), lha.CommandLine());
}

// Catches the library's own progress display left on while an owner window receives
// progress, and the registration not being undone.
TEST_F(LhaRecipe, OwnerWindowForcesQuietMode)
{
    libs.Place("UNLHA32.DLL");
    TLha32 lha;
    RecordingWindow owner;
    TArchiverOptions options;
    options.n = 0;
    std::string output;
    EXPECT_TRUE(lha.SetOwnerWindow(owner.Handle(), nullptr));
    EXPECT_EQ(lha.OwnerWindow(), owner.Handle());
    lha.Extract(nullptr, "a.lzh", output, nullptr, "", options);
    EXPECT_EQ(lha.CommandLine(), R"(x -+ -n1  "a.lzh" )");
    lha.Extract(nullptr, "a.lzh", output, nullptr, "", none);
    EXPECT_EQ(lha.CommandLine(), R"(x -+ -n1  "a.lzh" )");
    EXPECT_TRUE(lha.KillOwnerWindow(owner.Handle()));
    EXPECT_EQ(lha.OwnerWindow(), nullptr);
    lha.Extract(nullptr, "a.lzh", output, nullptr, "", options);
    EXPECT_EQ(lha.CommandLine(), R"(x -+ -n0  "a.lzh" )");
}

using ArjBackEnd = FakeLibraryTest;

// Catches ARJ packing through its own library (it has no packer) or without LHA's.
TEST_F(ArjBackEnd, PacksThroughTheLhaLibrary)
{
    libs.Place("UNARJ32J.DLL");
    TArj32 arj;
    std::string output;
    try {
        arj.Pack(nullptr, "a.arj", output, &oneFile, "", none);
        ADD_FAILURE() << "Pack without UNLHA32.DLL succeeded";
    } catch (const EArchiver &error) {
        EXPECT_STREQ(error.what(), "Lha 形式書庫を扱うには UNLHA32.DLL が 必要です。");
    }
    libs.Place("UNLHA32.DLL");
    RecordingWindow window;
    arj.Pack(window.Handle(), "a.arj", output, &oneFile, "", none);
    EXPECT_EQ(libs.LastCommandLine("UNLHA32.DLL"), R"(u -+  "a.arj" "f1" )");
    EXPECT_THAT(libs.Calls("UNLHA32.DLL"), HasSubstr("Unlha window=set"));
    EXPECT_EQ(libs.Calls("UNARJ32J.DLL"), "");
    EXPECT_EQ(arj.CheckArchive("a.arj", 0x10, 2), 0x12);
    EXPECT_THAT(libs.Calls("UNARJ32J.DLL"), HasSubstr("UnarjCheckArchive mode=18 path=a.arj\n"));
}

using CabRecipe = FakeLibraryTest;

// Catches CAB switches under the wrong conditions, extraction of a relative name, and
// packing that expands the name it was given.
TEST_F(CabRecipe, SwitchesAndFullPathOnExtract)
{
    libs.Place("CAB32.DLL");
    TCab32 cab;
    std::string output;
    TArchiverOptions options;
    options.c = 1;
    options.r = 1;
    options.x = 1;
    cab.Pack(nullptr, "rel.cab", output, &oneFile, "C:\\F", options);
    EXPECT_EQ(cab.CommandLine(), R"(-a -o -r  "rel.cab" "C:\F\" "f1" )");
    cab.MakeSFX(nullptr, "rel.cab", output, "C:\\F", none);
    EXPECT_EQ(cab.CommandLine(), R"(-f  "rel.cab" "C:\F\" )");

    const std::string cwd = std::filesystem::current_path().string();
    cab.Extract(nullptr, "sub/../rel.cab", output, nullptr, "", none);
    EXPECT_EQ(cab.CommandLine(), "-x  \"" + cwd + "/rel.cab\" ");

    RecordingWindow owner;
    cab.SetOwnerWindow(owner.Handle(), nullptr);
    options.c = 2;
    options.n = 0;
    options.r = 0;
    options.x = 0;
    cab.Extract(nullptr, "/M/a.cab", output, nullptr, "", options);
    EXPECT_EQ(cab.CommandLine(), R"(-x -i -j  "/M/a.cab" )");
    EXPECT_EQ(cab.CheckArchive("a.cab", 1, 2), 3);
}

using TarRecipe = FakeLibraryTest;

// Catches TAR switches under the wrong conditions, the compression switch of the wrong
// class, and -f or -o written without a name.
TEST_F(TarRecipe, SwitchesAndCompressionByClass)
{
    libs.Place("tar32.dll");
    std::string output;
    TArchiverOptions options;
    options.a = 1;
    options.o = 1;
    options.p = 2;
    options.UserOptions = "--u";

    TTar32 tar;
    tar.Pack(nullptr, "a.tar", output, &oneFile, "C:\\F", options);
    EXPECT_EQ(tar.CommandLine(), R"(c -AH -g --check-all-path=2 --u -f "a.tar" -o "C:\F\" "f1" )");
    options.a = 0;
    tar.Extract(nullptr, "", output, nullptr, "", options);
    EXPECT_EQ(tar.CommandLine(), "x -I -g --check-all-path=2 --u ");

    TTgz32 tgz;
    tgz.Extract(nullptr, "a.tgz", output, nullptr, "", none);
    EXPECT_EQ(tgz.CommandLine(), R"(x -z  -f "a.tgz" )");
    options.Reset();
    options.jm = 9;
    tgz.Extract(nullptr, "a.tgz", output, nullptr, "", options);
    EXPECT_EQ(tgz.CommandLine(), R"(x -z9  -f "a.tgz" )");

    TBZ232 bz2;
    bz2.Extract(nullptr, "a.bz2", output, nullptr, "", none);
    EXPECT_EQ(bz2.CommandLine(), R"(x -B  -f "a.bz2" )");
    bz2.Extract(nullptr, "a.bz2", output, nullptr, "", options);
    EXPECT_EQ(bz2.CommandLine(), R"(x -B9  -f "a.bz2" )");
}

// Catches the library's dialog not being suppressed, or suppressed while an owner window
// takes progress, and the window not brought back to the front after the library ran.
TEST_F(TarRecipe, OwnerWindowAndForeground)
{
    libs.Place("tar32.dll");
    TTar32 tar;
    RecordingWindow owner;
    RecordingWindow bar;
    std::string output;
    tar.Extract(bar.Handle(), "a.tar", output, nullptr, "", PlayerOptions());
    EXPECT_THAT(tar.CommandLine(), HasSubstr("--display-dialog=0"));
    EXPECT_EQ(bar.Messages(), std::vector<std::uint32_t>{WM_ACTIVATE});

    tar.SetOwnerWindow(owner.Handle(), nullptr);
    tar.Extract(nullptr, "a.tar", output, nullptr, "", PlayerOptions());
    EXPECT_EQ(tar.CommandLine(), R"(x --use-directory=0  -f "a.tar" )");
    EXPECT_EQ(bar.Messages().size(), 1u);
}

// Catches a bzip2 self-extractor, a missing head reported as success, and a library call
// where the executable is built by the layer itself.
TEST_F(TarRecipe, SelfExtractorIsWrittenWithoutTheLibrary)
{
    libs.Place("tar32.dll");
    const char *path = std::getenv("PATH");
    const std::string oldPath = path != nullptr ? path : "";
    testing_support::TempFolder heads;
    ::setenv("PATH", heads.Path().c_str(), 1);
    const std::string archive = libs.Folder().Write("a.tar", "TARDATA");
    std::string output;

    TBZ232 bz2;
    EXPECT_THROW(
        {
            try {
                bz2.MakeSFX(nullptr, archive, output, "", none);
            } catch (const EArchiver &error) {
                EXPECT_STREQ(error.what(), "BZ2 形式書庫は自己解凍形式にできません。");
                throw;
            }
        },
        EArchiver);
    TTar32 tar;
    try {
        tar.MakeSFX(nullptr, archive, output, "", none);
        ADD_FAILURE() << "MakeSFX without kmtarsef.exe succeeded";
    } catch (const EArchiver &error) {
        EXPECT_STREQ(error.what(),
                     "tar/tgz 書庫からの自己解凍書庫の作成には kmtarsef.exe が必要です。");
    }
    heads.Write("kmtarsef.exe", "SFX");
    EXPECT_EQ(tar.MakeSFX(nullptr, archive, output, heads.Path(), none), 0);
    EXPECT_EQ(platform::ReadFile(heads / "a.EXE"), "SFXTARDATA");
    EXPECT_THAT(libs.Calls("tar32.dll"), Not(HasSubstr("Tar window")));
    ::setenv("PATH", oldPath.c_str(), 1);
}

using RarRecipe = FakeLibraryTest;

// Catches the RAR command and switches under the wrong conditions, and operations RAR does
// not have reaching the library.
TEST_F(RarRecipe, SwitchesAndUnsupportedOperations)
{
    libs.Place("UNRAR32.DLL");
    TRar32 rar;
    std::string output;
    rar.Extract(nullptr, "a.rar", output, nullptr, "C:\\F", none);
    EXPECT_EQ(rar.CommandLine(), R"(-x -u  "a.rar" "C:\F\" )");
    TArchiverOptions options;
    options.c = 1;
    options.m = 1;
    options.p = 1;
    options.x = 1;
    rar.Extract(nullptr, "a.rar", output, nullptr, "", options);
    EXPECT_EQ(rar.CommandLine(), R"(-x -y -s  "a.rar" )");
    options.c = 0;
    options.x = 0;
    rar.Extract(nullptr, "a.rar", output, nullptr, "", options);
    EXPECT_EQ(rar.CommandLine(), R"(-e -u -y -s  "a.rar" )");

    const std::pair<std::function<void()>, const char *> unsupported[] = {
        {[&] { rar.Pack(nullptr, "a.rar", output, nullptr, "", none); },
         "この形式では書庫ファイルの作成をサポートしておりません。"},
        {[&] { rar.Delete(nullptr, "a.rar", output, nullptr, "", none); },
         "この形式の書庫ではファイルの削除をサポートしておりません。"},
        {[&] { rar.Update(nullptr, "a.rar", output, nullptr, "", none); },
         "この形式の書庫では書庫の更新をサポートしておりません。"},
        {[&] { rar.MakeSFX(nullptr, "a.rar", output, "", none); },
         "この形式では自己解凍書庫の作成をサポートしておりません。"},
    };
    for (const auto &[operation, message] : unsupported) {
        try {
            operation();
            ADD_FAILURE() << message;
        } catch (const EArchiver &error) {
            EXPECT_STREQ(error.what(), message);
        }
    }
    EXPECT_EQ(rar.CommandLine(), R"(-e -u -y -s  "a.rar" )");
}

using Loading = FakeLibraryTest;

// Catches a wrong or missing message for each absent library, and a back-end that comes
// into being without its library.
TEST_F(Loading, MissingLibrariesRaiseTheirMessages)
{
    const std::pair<TArchiverType, const char *> messages[] = {
        {TArchiverType::atLha, "Lha 形式書庫を扱うには UNLHA32.DLL が 必要です。"},
        {TArchiverType::atArj, "ARJ 形式書庫を扱うには UNARJ32J.DLL が 必要です。"},
        {TArchiverType::atZip,
         "ZIP 形式書庫を解凍するには UNZIP32.DLL が、作成するには ZIP32J.DLL が必要です。"},
        {TArchiverType::atCab, "CAB 形式書庫を扱うには CAB32.DLL が 必要です。"},
        {TArchiverType::atTar, "tar/tgz/taz/bz2 形式書庫を扱うには tar32.dll が 必要です。"},
        {TArchiverType::atTgz, "tar/tgz/taz/bz2 形式書庫を扱うには tar32.dll が 必要です。"},
        {TArchiverType::atBZ2, "tar/tgz/taz/bz2 形式書庫を扱うには tar32.dll が 必要です。"},
        {TArchiverType::atRar, "この機能の使用には UNRAR32.DLL が 必要です。"},
    };
    for (const auto &[type, message] : messages) {
        TArchiveFile file;
        try {
            file.SetArchiverType(type);
            ADD_FAILURE() << message;
        } catch (const EArchiver &error) {
            EXPECT_STREQ(error.what(), message);
        }
        EXPECT_EQ(file.Archiver(), nullptr);
        EXPECT_EQ(file.ArchiverType(), TArchiverType::atAutoDetect);
    }
}

// Catches a missing entry that crashes or names the wrong module or entry.
TEST_F(Loading, MissingEntryNamesTheModule)
{
    libs.Place("CAB32.DLL", "cab32_bare");
    TCab32 cab;
    INDIVIDUALINFO info;
    const std::string module = libs.Folder() / "libcab32.so";
    try {
        cab.OpenArchive(nullptr, "a.cab", 0);
        ADD_FAILURE() << "OpenArchive without its entry succeeded";
    } catch (const EArchiver &error) {
        EXPECT_EQ(error.what(), module + " に CabOpenArchive のエントリが見つかりません。");
    }
    EXPECT_THROW(cab.FindNext(1, info), EArchiver);
    try {
        cab.CheckArchive("a.cab", 0, 0);
        ADD_FAILURE() << "CheckArchive without its entry succeeded";
    } catch (const EArchiver &error) {
        EXPECT_EQ(error.what(), module + " に CabCheckArchive のエントリが見つかりません。");
    }
    std::string output;
    EXPECT_EQ(cab.Extract(nullptr, "/a.cab", output, nullptr, "", none), 0);
}

// Catches a library loaded before it is needed, loaded again for every object, or kept
// after FreeDLL; and entries whose cached addresses outlive their library.
TEST_F(Loading, LazyPerUnitAndFreedOnRequest)
{
    libs.Place("tar32.dll");
    TArchiveFile file;
    EXPECT_FALSE(libs.IsLoaded("tar32.dll"));
    file.SetFileName("a.tar");
    EXPECT_TRUE(libs.IsLoaded("tar32.dll"));

    libs.Remove("tar32.dll");
    TTgz32 second;
    std::string output;
    EXPECT_EQ(second.Extract(nullptr, "a.tgz", output, nullptr, "", none), 0);

    second.FreeDLL();
    EXPECT_FALSE(libs.IsLoaded("tar32.dll"));
    EXPECT_THROW(second.Extract(nullptr, "a.tgz", output, nullptr, "", none), EArchiver);
    libs.Place("tar32.dll");
    EXPECT_EQ(second.Extract(nullptr, "a.tgz", output, nullptr, "", none), 0);
    EXPECT_TRUE(libs.IsLoaded("tar32.dll"));
}

// Catches the abstract base pretending to load a library, or listing as if it had one.
TEST(ArchiverBase, AbstractSlotsAndDefaults)
{
    struct Bare : TArchiver
    {
        int Extract(HWND, const std::string &, std::string &, const TStringList *,
                    const std::string &, const TArchiverOptions &) override
        {
            return 0;
        }
    } bare;
    INDIVIDUALINFO info;
    try {
        bare.LoadDLL();
        ADD_FAILURE() << "LoadDLL of the base succeeded";
    } catch (const EArchiver &error) {
        EXPECT_STREQ(error.what(), "Abstract method 'TArchiver.LoadDLL' was called");
    }
    try {
        bare.FreeDLL();
        ADD_FAILURE() << "FreeDLL of the base succeeded";
    } catch (const EArchiver &error) {
        EXPECT_STREQ(error.what(), "Abstract method 'TArchiver.FreeDLL' was called");
    }
    try {
        bare.CheckArchive("a", 0, 0);
        ADD_FAILURE() << "CheckArchive of the base succeeded";
    } catch (const EArchiver &error) {
        EXPECT_STREQ(error.what(), "この形式では書庫チェック機能をサポートしておりません。");
    }
    EXPECT_EQ(bare.OpenArchive(nullptr, "a", 0), 0u);
    EXPECT_EQ(bare.FindFirst(1, info, "*.*"), -1);
    EXPECT_EQ(bare.FindNext(1, info), -1);
    EXPECT_EQ(bare.CloseArchive(1), 0);
    EXPECT_FALSE(bare.SetOwnerWindow(nullptr, nullptr));
    EXPECT_FALSE(bare.KillOwnerWindow(nullptr));
    EXPECT_EQ(bare.PathDelimiter(), '\\');
}
