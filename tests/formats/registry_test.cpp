// The format table and what is read from it: the open filter, the song and archive tests
// and the archive layer's choice by extension.
#include "formats/registry.h"

#include <gtest/gtest.h>

using namespace formats;

namespace {

TLibraryFlags With(std::initializer_list<std::size_t> flags)
{
    TLibraryFlags present{};
    for (std::size_t flag : flags)
        present[flag] = true;
    return present;
}

} // namespace

// Catches a filter listing formats whose library is missing, or in another order.
TEST(OpenFilter, ListsWhatThePresentLibrariesServe)
{
    EXPECT_EQ(OpenFilter(With({})), "Support Files|*.mid;*.rmi;|Midi Fles|*.mid;*.rmi;");
    EXPECT_EQ(OpenFilter(With({0, 3})),
              "Support Files|*.mid;*.rmi;*.lzh;*.rar;|Midi Fles|*.mid;*.rmi;");
    EXPECT_EQ(OpenFilter(With({0, 1, 2, 3, 4, 5, RcpConverterFlag})),
              "Support Files|*.mid;*.rmi;*.lzh;*.zip;*.cab;*.rar;*.tar;*.arj;*.rcp;*.r36;*.g36;"
              "|Midi Fles|*.mid;*.rmi;*.rcp;*.r36;*.g36;");
}

// Catches RCP files taken for songs without the converter, or letter case mattering.
TEST(SongTest, StandardMidiAlwaysRcpWithTheConverter)
{
    EXPECT_TRUE(IsSongExtension(".MID", With({})));
    EXPECT_TRUE(IsSongExtension(".rmi", With({})));
    EXPECT_FALSE(IsSongExtension(".rcp", With({0, 1, 2, 3, 4, 5})));
    EXPECT_TRUE(IsSongExtension(".G36", With({RcpConverterFlag})));
    EXPECT_FALSE(IsSongExtension(".lzh", With({0})));
    EXPECT_FALSE(IsSongExtension("", With({})));
    EXPECT_EQ(SongMasks(), (std::vector<std::string>{"*.mid", "*.rmi", "*.rcp", "*.r36", "*.g36"}));
}

// Catches the intake taking in what only the archive layer recognises (.gz, .exe).
TEST(ArchiveTest, OnlyOfferedArchivesAreTakenIn)
{
    for (const char *name : {"a.lzh", "B.ZIP", "c.cab", "d.Rar", "e.tar", "f.arj"})
        EXPECT_TRUE(IsArchiveName(name)) << name;
    for (const char *name : {"a.tgz", "a.tar.gz", "a.bz2", "setup.exe", "a.mid", "lzh"})
        EXPECT_FALSE(IsArchiveName(name)) << name;
}

// Catches an extension mapped to the wrong back-end.
TEST(ArchiveTest, ExtensionsSelectTheirBackEnd)
{
    EXPECT_EQ(ArchiverOfName("x.LZH"), TArchiverType::atLha);
    EXPECT_EQ(ArchiverOfName("x.taz"), TArchiverType::atTgz);
    EXPECT_EQ(ArchiverOfName("x.tar.Z"), TArchiverType::atTgz);
    EXPECT_EQ(ArchiverOfName("x.bz2"), TArchiverType::atBZ2);
    EXPECT_EQ(ArchiverOfName("x.exe"), TArchiverType::atAutoDetect);
    EXPECT_EQ(ArchiverOfName("x.mid"), TArchiverType::atNone);
    EXPECT_EQ(ArchiverOfName("noextension"), TArchiverType::atNone);
}

// Catches a row pointing at a library flag that does not exist, or an archive whose
// back-end is missing.
TEST(Table, EveryRowIsConsistent)
{
    for (const TFormat &format : Formats()) {
        ASSERT_FALSE(format.extensions.empty());
        EXPECT_TRUE(format.library == NoLibrary ||
                    (format.library >= 0 && format.library < static_cast<int>(LibraryCount)));
        EXPECT_EQ(format.kind == TFormatKind::Archive, format.archiver != TArchiverType::atNone)
            << format.extensions.front();
        for (const std::string &extension : format.extensions)
            EXPECT_EQ(FormatOfExtension(extension), &format) << extension;
    }
}
