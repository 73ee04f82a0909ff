#include "platform/dynlib.h"

#include "platform/files.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

const std::string ProbeLibraries = SONOLUX_TEST_BINARY_DIR "/libs";

class DynLibTest : public ::testing::Test
{
protected:
    void TearDown() override { SetLibrarySearchFolder(""); }
};

} // namespace

// Catches names mapped with their case kept, or non-".dll" names changed.
TEST_F(DynLibTest, DllNamesMapToSharedObjects)
{
    EXPECT_EQ(MapLibraryName("UNLHA32.DLL"), "libunlha32.so");
    EXPECT_EQ(MapLibraryName("sonolux.dll"), "libsonolux.so");
    EXPECT_EQ(MapLibraryName("tar32.Dll"), "libtar32.so");
    EXPECT_EQ(MapLibraryName("libm.so.6"), "libm.so.6");
    EXPECT_EQ(MapLibraryName(".dll"), ".dll");
}

// Catches a search that skips the program folder, and the entry lookup.
TEST_F(DynLibTest, ProgramFolderIsSearchedFirst)
{
    SetLibrarySearchFolder(ProbeLibraries);
    DynamicLibrary library = DynamicLibrary::Load("DYNPROBE.DLL");
    ASSERT_TRUE(library.IsLoaded()) << DynamicLibrary::LastError();
    EXPECT_EQ(library.Path(), ProbeLibraries + "/libdynprobe.so");
    auto answer = library.Entry<int (*)()>("ProbeAnswer");
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);

    EXPECT_EQ(library.Symbol("NoSuchEntry"), nullptr);
    EXPECT_NE(DynamicLibrary::LastError().find("NoSuchEntry"), std::string::npos);
}

// Catches a loader that only looks in the program folder (system libraries must load too).
TEST_F(DynLibTest, SystemLoaderPathIsSearchedNext)
{
    testing_support::TempFolder empty;
    SetLibrarySearchFolder(empty.Path());
    EXPECT_TRUE(CanLoadLibrary("libm.so.6"));
    EXPECT_FALSE(CanLoadLibrary("dynprobe.dll"));
    EXPECT_FALSE(DynamicLibrary::LastError().empty());
}

// Catches a moved-from library that still unloads, or a double unload.
TEST_F(DynLibTest, OwnershipMovesWithTheObject)
{
    SetLibrarySearchFolder(ProbeLibraries);
    DynamicLibrary first = DynamicLibrary::Load("dynprobe.dll");
    DynamicLibrary second = std::move(first);
    EXPECT_FALSE(first.IsLoaded());
    ASSERT_TRUE(second.IsLoaded());
    EXPECT_NE(second.Symbol("ProbeAnswer"), nullptr);
    second.Unload();
    EXPECT_FALSE(second.IsLoaded());
}
