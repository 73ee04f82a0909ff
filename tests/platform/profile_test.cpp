#include "platform/profile.h"

#include "platform/files.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

using namespace platform;
using testing_support::TempFolder;

// Catches any reading rule of the settings values going wrong.
TEST(Profile, ReadsIntegersAsDesigned)
{
    TempFolder dir;
    ProfileFile ini(dir.Write("a.ini", "[Main]\nX=0x20\nY=garbage\nZ=-1200\nH=0XfF\n"
                                       "Big=2147483648\nNeg=-2147483648\nEmpty=\n"));
    EXPECT_EQ(ini.ReadInteger("Main", "X", 0), 32);
    EXPECT_EQ(ini.ReadInteger("Main", "Y", 0), 0);
    EXPECT_EQ(ini.ReadInteger("Main", "Y", 7), 7);
    EXPECT_EQ(ini.ReadInteger("Main", "Z", 0), -1200);
    EXPECT_EQ(ini.ReadInteger("Main", "H", 0), 255);
    EXPECT_EQ(ini.ReadInteger("Main", "Big", 5), 5);
    EXPECT_EQ(ini.ReadInteger("Main", "Neg", 5), -2147483647 - 1);
    EXPECT_EQ(ini.ReadInteger("Main", "Empty", 9), 9);
    EXPECT_EQ(ini.ReadInteger("Main", "Missing", 3), 3);
    EXPECT_EQ(ini.ReadInteger("Other", "X", 4), 4);
}

// Catches booleans read as text instead of integers.
TEST(Profile, BooleansAreIntegers)
{
    TempFolder dir;
    ProfileFile ini(dir.Write("a.ini", "[Other]\nA=1\nB=0\nC=2\nD=true\n"));
    EXPECT_TRUE(ini.ReadBool("Other", "A", false));
    EXPECT_FALSE(ini.ReadBool("Other", "B", true));
    EXPECT_TRUE(ini.ReadBool("Other", "C", false));
    EXPECT_FALSE(ini.ReadBool("Other", "D", false)) << "unparsable gives the default";
}

// Catches text longer than the 2048-byte buffer, and lookups that honour letter case.
TEST(Profile, TextGoesThroughA2048ByteBuffer)
{
    TempFolder dir;
    const std::string longValue(3000, 'a');
    ProfileFile ini(dir.Write("a.ini", "[history]\r\ndir = " + longValue + "\r\nq=\"/a b/\"\r\n"));
    EXPECT_EQ(ini.ReadString("History", "Dir", "").size(), 2047u);
    EXPECT_EQ(ini.ReadString("HISTORY", "q", ""), "/a b/");
    EXPECT_EQ(ProfileFile(dir / "missing.ini").ReadString("Design", "Skin", "default.mbd"),
              "default.mbd");
}

// Catches writes that drop other lines or sections, or duplicate keys.
TEST(Profile, WritingKeepsEverythingElse)
{
    TempFolder dir;
    const std::string path =
        dir.Write("a.ini", "; comment\n[Main]\nX=1\nY=2\n\n[Extra]\nkeep=me\n");
    ProfileFile ini(path);
    ini.WriteInteger("Main", "X", -5);
    ini.WriteString("Main", "New", "v");
    ini.WriteBool("Other", "Time", false);
    EXPECT_EQ(ReadFile(path), "; comment\n[Main]\nX=-5\nY=2\nNew=v\n\n[Extra]\nkeep=me\n\n"
                              "[Other]\nTime=0\n");
    EXPECT_EQ(ini.ReadInteger("Main", "X", 0), -5);
}

// Catches a new file not being created, and CR LF files turned into mixed line ends.
TEST(Profile, CreatesFilesAndKeepsLineEnds)
{
    TempFolder dir;
    ProfileFile fresh(dir / "new.ini");
    fresh.WriteString("Design", "Skin", "default.mbd");
    EXPECT_EQ(ReadFile(dir / "new.ini"), "[Design]\nSkin=default.mbd\n");

    ProfileFile dos(dir.Write("dos.ini", "[Main]\r\nX=1\r\n"));
    dos.WriteInteger("Main", "Y", 3);
    EXPECT_EQ(ReadFile(dir / "dos.ini"), "[Main]\r\nX=1\r\nY=3\r\n");
}

// Catches a line break in a value shifting the lines after it.
TEST(Profile, LineBreaksCannotEnterTheFile)
{
    TempFolder dir;
    ProfileFile ini(dir / "a.ini");
    ini.WriteString("History", "Dir", "/music\nX=99");
    ini.WriteInteger("Main", "X", 1);
    EXPECT_EQ(ini.ReadString("History", "Dir", ""), "/music");
    EXPECT_EQ(ini.ReadInteger("Main", "X", 0), 1);
}

// Catches values that come back changed from the file: spaces or tabs at either end are
// trimmed and enclosing quotes taken off when read (found by fuzzing the settings file).
TEST(Profile, WrittenTextReadsBackUnchanged)
{
    TempFolder dir;
    ProfileFile ini(dir / "a.ini");
    for (const std::string value : {" my.mbd", "\tn.mbd", "dark.mbd  ", "\"quoted\"", "\"", "\"\"",
                                    "plain.mbd", "a \"b\" c", ""}) {
        ini.WriteString("Design", "Skin", value);
        EXPECT_EQ(ini.ReadString("Design", "Skin", "default"), value) << "[" << value << "]";
    }
    ini.WriteString("Design", "Skin", "plain.mbd");
    EXPECT_EQ(ReadFile(dir / "a.ini"), "[Design]\nSkin=plain.mbd\n") << "plain text unquoted";
}

// Catches a failed write that goes unreported or damages the file.
TEST(Profile, WriteFailureNamesTheFile)
{
    ProfileFile ini("/nonexistent-folder/Sonolux.ini");
    try {
        ini.WriteInteger("Main", "X", 1);
        FAIL() << "no error";
    } catch (const ProfileError &e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent-folder/Sonolux.ini"), std::string::npos);
    }
}
