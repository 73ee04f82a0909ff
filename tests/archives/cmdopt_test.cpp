#include "archives/cmdopt.h"
#include "archives/earchiver.h"
#include "archives/filters.h"

#include "platform/mbcs.h"

#include <gtest/gtest.h>

using namespace archives;

namespace {

// "表" in Shift-JIS: its second byte has the value of a backslash.
const std::string hyou = "\x95\x5C";

class ShiftJisTest : public ::testing::Test
{
protected:
    void SetUp() override { platform::SetCodePage(platform::cpShiftJis); }
    void TearDown() override { platform::SetCodePage(platform::cpUtf8); }
};

std::string Built(void (*build)(TCmdOpt &), char delimiter = '\\')
{
    TCmdOpt cmd(delimiter);
    build(cmd);
    return cmd.Text();
}

} // namespace

// Catches a missing blank before items, dropped empty items, and wrong number rules.
TEST(CmdOpt, AddAndAddNumber)
{
    EXPECT_EQ(Built([](TCmdOpt &c) { c.Add("-+"); }), " -+");
    EXPECT_EQ(Built([](TCmdOpt &c) { c.Add(""); }), " ");
    EXPECT_EQ(Built([](TCmdOpt &c) { c.AddNumber("e", 1); }), " -e1");
    EXPECT_EQ(Built([](TCmdOpt &c) { c.AddNumber("x", 0); }), " -x0");
    EXPECT_EQ(Built([](TCmdOpt &c) { c.AddNumber("x", -1); }), "");
    EXPECT_EQ(Built([](TCmdOpt &c) { c.AddNumber("x", -2); }), " -x-2");
    EXPECT_EQ(Built([](TCmdOpt &c) { c.AddNumber("", 9); }), " -9");
    EXPECT_EQ(Built([](TCmdOpt &c) { c.AddNumber("-use-directory=", 127); }),
              " --use-directory=127");
}

// Catches unset strings being added, empty strings being dropped, and wrong quoting.
TEST(CmdOpt, AddStringQuotesSetValues)
{
    EXPECT_EQ(Built([](TCmdOpt &c) { c.AddString("jo", "abc"); }), " \"-joabc\"");
    EXPECT_EQ(Built([](TCmdOpt &c) { c.AddString("jo", ""); }), " \"-jo\"");
    EXPECT_EQ(Built([](TCmdOpt &c) { c.AddString("jo", UnsetText()); }), "");
    EXPECT_EQ(Built([](TCmdOpt &c) { c.AddString("", "a b"); }), " \"a b\"");
    EXPECT_EQ(Built([](TCmdOpt &c) { c.AddPath("", ""); }), " \"\"");
}

// Catches the second byte of a Shift-JIS member name ("hyou" = 95 5C) turned into "/" for
// ZIP under the UTF-8 code page: the mask then names no member.
TEST(CmdOpt, ShiftJisNameKeepsItsFiveCUnderUtf8)
{
    EXPECT_EQ(ConvertPathDelimiter(hyou + ".mid", '/'), hyou + ".mid");
    EXPECT_EQ(ConvertPathDelimiter("sub\\" + hyou + "\\x.mid", '/'), "sub/" + hyou + "/x.mid");
    EXPECT_EQ(ConvertPathDelimiter("C:\\T\\", '/'), "C:/T/");
}

// Catches a path holding a double quote written in, where it would end the item early and
// split the path into other items (an archive "a\"b.lzh" read as "a" and a mask).
TEST(CmdOpt, RefusesValuesHoldingADoubleQuote)
{
    EXPECT_THROW(Built([](TCmdOpt &c) { c.AddPath("", "/tmp/a\"b.lzh"); }), EArchiver);
    EXPECT_THROW(Built([](TCmdOpt &c) { c.AddDir("", "/tmp/\"x"); }), EArchiver);
    EXPECT_THROW(Built([](TCmdOpt &c) { c.AddString("jo", "\""); }), EArchiver);
}

// Catches folders without their folder mark, conversion before the mark is added, and
// empty or unset folders being written.
TEST(CmdOpt, AddDirWritesTheFolderMark)
{
    EXPECT_EQ(Built([](TCmdOpt &c) { c.AddDir("", "C:\\T"); }), " \"C:\\T\\\"");
    EXPECT_EQ(Built([](TCmdOpt &c) { c.AddDir("", "C:\\T\\"); }), " \"C:\\T\\\"");
    EXPECT_EQ(Built([](TCmdOpt &c) { c.AddDir("", "C:\\T"); }, '/'), " \"C:/T/\"");
    EXPECT_EQ(Built([](TCmdOpt &c) { c.AddDir("w", "/tmp/x"); }), " \"-w/tmp/x\\\"");
    EXPECT_EQ(Built([](TCmdOpt &c) { c.AddDir("", ""); }), "");
    EXPECT_EQ(Built([](TCmdOpt &c) { c.AddDir("", UnsetText()); }), "");
    EXPECT_EQ(Built(
                  [](TCmdOpt &c) {
                      c.AddList("jx", {"a\\b", "c"});
                  },
                  '/'),
              " \"-jxa/b\" \"-jxc\"");
}

// Catches a byte-wise search that takes the second byte of a double-byte character for a
// backslash (the folder would lose its mark, or the character would be broken).
TEST_F(ShiftJisTest, DoubleByteCharactersKeepTheirSecondByte)
{
    EXPECT_EQ(ConvertPathDelimiter("C:\\" + hyou + "\\a" + hyou, '/'), "C:/" + hyou + "/a" + hyou);
    EXPECT_FALSE(EndsWithBackslash("C:\\" + hyou));
    EXPECT_TRUE(EndsWithBackslash(hyou + "\\"));

    TCmdOpt zip('/');
    zip.AddDir("", "C:\\" + hyou);
    EXPECT_EQ(zip.Text(), " \"C:/" + hyou + "/\"");
    TCmdOpt lha;
    lha.AddDir("", "C:\\" + hyou);
    EXPECT_EQ(lha.Text(), " \"C:\\" + hyou + "\\\"");
}

// Catches JoinPath reading a trail byte as the folder's delimiter.
TEST_F(ShiftJisTest, JoinPathIsMultibyteAware)
{
    EXPECT_EQ(JoinPath("", "a.exe"), "a.exe");
    EXPECT_EQ(JoinPath("C:\\out\\", "a.exe"), "C:\\out\\a.exe");
    EXPECT_EQ(JoinPath("C:\\out", "a.exe"), "C:\\out\\a.exe");
    EXPECT_EQ(JoinPath("C:\\" + hyou, "a.exe"), "C:\\" + hyou + "\\a.exe");
    EXPECT_EQ(JoinPath("/tmp/out", "a.EXE", '/'), "/tmp/out/a.EXE");
    EXPECT_EQ(JoinPath("/tmp/out/", "a.EXE", '/'), "/tmp/out/a.EXE");
}

// Catches UTF-8 text being scanned as Shift-JIS: in "te" (E3 83 86) the bytes 83 and 86
// would open double-byte characters, and the backslash after it would be swallowed.
TEST(CmdOpt, Utf8BackslashesAreAllConverted)
{
    EXPECT_EQ(ConvertPathDelimiter("C:\\\xE3\x83\x86\\a", '/'), "C:/\xE3\x83\x86/a");
    EXPECT_EQ(JoinPath("C:\\x\x95\\", "a"), "C:\\x\x95\\a");
}

// Catches options that start set, a Reset that misses some, and copies that lose fields.
TEST(ArchiverOptions, UnsetValuesResetAndAssign)
{
    TArchiverOptions options;
    EXPECT_EQ(options.a, -1);
    EXPECT_EQ(options.gw, -1);
    EXPECT_TRUE(IsUnset(options.w));
    EXPECT_TRUE(IsUnset(options.gr));
    EXPECT_TRUE(options.jx.empty());
    EXPECT_TRUE(options.UserOptions.empty());
    EXPECT_TRUE(options.ResFileName.empty());
    EXPECT_EQ(options.PackFilter, TPackFilter::pfArchiver);
    EXPECT_EQ(options.ResFileUsage, TResFileUsage::All());

    options.e = 1;
    options.jz = "";
    options.jx = {"a", "b"};
    options.ResFileName = "/tmp/list";
    options.ResFileUsage = TResFileUsage::None().Include(TResFileUse::ruOnUnpack);
    options.PackFilter = TPackFilter::pfComponent;

    TArchiverOptions copy;
    options.AssignTo(copy);
    EXPECT_EQ(copy.e, 1);
    EXPECT_EQ(copy.jz, "");
    EXPECT_EQ(copy.jx, (TStringList{"a", "b"}));
    EXPECT_EQ(copy.ResFileName, "/tmp/list");
    EXPECT_TRUE(copy.ResFileUsage.Contains(TResFileUse::ruOnUnpack));
    EXPECT_FALSE(copy.ResFileUsage.Contains(TResFileUse::ruOnPack));
    EXPECT_EQ(copy.PackFilter, TPackFilter::pfComponent);

    options.Reset();
    EXPECT_EQ(options.e, -1);
    EXPECT_TRUE(IsUnset(options.jz));
    EXPECT_TRUE(options.jx.empty());
    EXPECT_EQ(options.ResFileUsage, TResFileUsage::All());
    EXPECT_EQ(copy.jx.size(), 2u);
}
