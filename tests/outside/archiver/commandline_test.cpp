// The command lines the program's archive back-ends build, as the libraries read them.

#include "archivertesting.h"
#include "outside/arcclient/commandline.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace arc;
using archiver_testing::ScopedEnv;

namespace {

const std::vector<std::string> songMasks = {"*.mid", "*.rmi", "*.rcp", "*.r36", "*.g36"};

ExtractRequest Parse(CommandStyle style, const std::string &line, int expected = 0)
{
    ExtractRequest request;
    std::string error;
    EXPECT_EQ(ParseCommandLine(style, line, request, error), expected) << line << ": " << error;
    return request;
}

} // namespace

// Catches any of the player's six extraction lines read with the wrong archive, folder,
// masks or folder mode.
TEST(ArchiverCommandLine, PlayersExtractionLines)
{
    const std::string masks = " \"*.mid\" \"*.rmi\" \"*.rcp\" \"*.r36\" \"*.g36\" ";
    struct Case
    {
        CommandStyle style;
        std::string line;
        std::string archive;
    };
    const Case cases[] = {
        {CommandStyle::Lha, "x -+ -e1 -n1 -x0  \"/m/a.lzh\" \"/run/user/0/SONOLUXTEMP\\\"" + masks,
         "/m/a.lzh"},
        {CommandStyle::Lha, "x -+ -e1 -n1 -x0  \"/m/a.arj\" \"/run/user/0/SONOLUXTEMP\\\"" + masks,
         "/m/a.arj"},
        {CommandStyle::Zip, "-x --i -j  \"/m/a.zip\" \"/run/user/0/SONOLUXTEMP/\"" + masks,
         "/m/a.zip"},
        {CommandStyle::Cab, "-x -i -j  \"/m/a.cab\" \"/run/user/0/SONOLUXTEMP\\\"" + masks,
         "/m/a.cab"},
        {CommandStyle::Tar,
         "x --display-dialog=0 --use-directory=0  -f \"/m/a.tar\" -o "
         "\"/run/user/0/SONOLUXTEMP\\\"" +
             masks,
         "/m/a.tar"},
        {CommandStyle::Rar, "-e -u  \"/m/a.rar\" \"/run/user/0/SONOLUXTEMP\\\"" + masks,
         "/m/a.rar"},
    };
    for (const Case &c : cases) {
        const ExtractRequest request = Parse(c.style, c.line);
        EXPECT_EQ(request.archive, c.archive);
        EXPECT_EQ(request.folder, "/run/user/0/SONOLUXTEMP");
        EXPECT_EQ(request.masks, songMasks);
        EXPECT_FALSE(request.keepFolders) << c.line;
    }
}

// Catches folder modes read from the wrong switches, and a folder taken for a mask.
TEST(ArchiverCommandLine, CommandsAndSwitchesChooseTheFolderMode)
{
    EXPECT_TRUE(Parse(CommandStyle::Lha, "x a.lzh out\\").keepFolders);
    EXPECT_FALSE(Parse(CommandStyle::Lha, "e a.lzh out\\ -x1").keepFolders);
    EXPECT_TRUE(Parse(CommandStyle::Zip, "-x a.zip out/").keepFolders);
    EXPECT_TRUE(Parse(CommandStyle::Rar, "-x a.rar out\\").keepFolders);
    EXPECT_TRUE(Parse(CommandStyle::Tar, "x -f a.tar -o out").keepFolders);
    EXPECT_FALSE(Parse(CommandStyle::Tar, "x --use-directory=0 a.tar out\\").keepFolders);

    const ExtractRequest noFolder = Parse(CommandStyle::Lha, "x a.lzh song.mid");
    EXPECT_EQ(noFolder.folder, "");
    EXPECT_EQ(noFolder.masks, std::vector<std::string>{"song.mid"});
    EXPECT_EQ(Parse(CommandStyle::Lha, "x a.lzh \"/\"").folder, "/");
    EXPECT_EQ(Parse(CommandStyle::Lha, "x \"/my songs/a b.lzh\" \"/t/x y\\\" \"\"").archive,
              "/my songs/a b.lzh");

    Parse(CommandStyle::Lha, "l a.lzh", ERROR_COMMAND_NAME);
    Parse(CommandStyle::Zip, "x a.zip", ERROR_COMMAND_NAME);
    Parse(CommandStyle::Cab, "", ERROR_COMMAND_NAME);
    Parse(CommandStyle::Lha, "x -+ -x0 ", ERROR_NOT_FIND_ARC_FILE);
}

// Catches a Shift-JIS folder whose last byte is "\" taken as marked (its mark then lost).
TEST(ArchiverCommandLine, ShiftJisFolderMarkUnderCodePage932)
{
    ScopedEnv codePage("SONOLUX_CODEPAGE", "932");
    const std::string folder = "/t/\x83\x5C";
    EXPECT_EQ(Parse(CommandStyle::Lha, "x a.lzh \"" + folder + "\\\" *.mid").folder, folder);
    const ExtractRequest unmarked = Parse(CommandStyle::Lha, "x a.lzh \"" + folder + "\"");
    EXPECT_EQ(unmarked.folder, "");
    EXPECT_EQ(unmarked.masks, std::vector<std::string>{folder});
}

// Catches response files read wrongly: quotes, CR LF, several items per line, missing file.
TEST(ArchiverCommandLine, ResponseFilesListMoreItems)
{
    testing_support::TempFolder temp;
    const std::string list =
        temp.Write("list.txt", "\"*.mid\"\r\n\"a/b.mid\"\r\n\r\n  plain name.rmi \n\"x\" \"y\"");
    const ExtractRequest request =
        Parse(CommandStyle::Zip, "-x -j  \"a.zip\" \"out/\" \"@" + list + "\" ");
    EXPECT_EQ(request.masks,
              (std::vector<std::string>{"*.mid", "a/b.mid", "plain name.rmi", "x", "y"}));
    Parse(CommandStyle::Zip, "-x a.zip out/ @" + temp / "missing", ERROR_RESPONSE_READ);
}

// Catches a pipe or device named after "@" (a list's member name can be) blocking the library.
TEST(ArchiverCommandLine, ResponseFileThatIsNoFileIsRefusedAtOnce)
{
    testing_support::TempFolder temp;
    const std::string fifo = temp / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    Parse(CommandStyle::Lha, "e \"a.lzh\" \"out/\" \"@" + fifo + "\"", ERROR_RESPONSE_READ);
    Parse(CommandStyle::Lha, "e \"a.lzh\" \"out/\" \"@" + temp.Path() + "\"", ERROR_RESPONSE_READ);
    const std::string large = temp.Write("large.txt", std::string((1u << 20) + 1, 'x'));
    Parse(CommandStyle::Lha, "e \"a.lzh\" \"out/\" \"@" + large + "\"", ERROR_RESPONSE_READ);
}

// Catches a quoted mask beginning with "-" taken for a switch (the member "-intro.mid"
// could never be extracted alone), while switches before the archive still count.
TEST(ArchiverCommandLine, QuotedDashItemAfterTheArchiveIsAMask)
{
    const ExtractRequest lha =
        Parse(CommandStyle::Lha, "x \"-x0\" \"/m/a.lzh\" \"/t\\\" \"-intro.mid\" -x1 ");
    EXPECT_EQ(lha.masks, std::vector<std::string>{"-intro.mid"});
    EXPECT_TRUE(lha.keepFolders); // the unquoted -x1 after the archive is still a switch
    const ExtractRequest flat = Parse(CommandStyle::Lha, "x \"-x0\" \"/m/a.lzh\" \"/t\\\" ");
    EXPECT_FALSE(flat.keepFolders); // a quoted switch before the archive
    const ExtractRequest tar =
        Parse(CommandStyle::Tar, "x -f \"/m/a.tar\" -o \"/t\\\" \"-j\" \"--x.mid\" ");
    EXPECT_EQ(tar.masks, (std::vector<std::string>{"-j", "--x.mid"}));
}

// Catches a path holding a double quote mis-split into other items instead of refused.
TEST(ArchiverCommandLine, UnpairedDoubleQuoteIsRefused)
{
    const ExtractRequest request =
        Parse(CommandStyle::Lha, "x \"/m/a\"b.lzh\" \"/t\\\" \"*.mid\" ", ERROR_COMMAND_NAME);
    EXPECT_TRUE(request.archive.empty());
    Parse(CommandStyle::Zip, "-x \"/m/a.zip\" \"/t/\" \"x\"y.mid\" ", ERROR_COMMAND_NAME);
}

// Catches a Shift-JIS mask whose last byte is "\" (the second byte of "hyou") taken for
// the folder under the UTF-8 code page.
TEST(ArchiverCommandLine, ShiftJisMaskEndingInFiveCIsNoFolder)
{
    const std::string hyou = "\x95\x5C";
    const ExtractRequest tar = Parse(CommandStyle::Tar, "x -f \"/m/a.tar\" \"" + hyou + "\" ");
    EXPECT_EQ(tar.masks, std::vector<std::string>{hyou});
    EXPECT_TRUE(tar.folder.empty());
}
