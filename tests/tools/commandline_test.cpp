#include "tools/cli/commandline.h"

#include "platform/files.h"
#include "support/tempfolder.h"

#include "toolrun.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using tools_testing::Quoted;
using tools_testing::RunTool;
using tools_testing::Tool;
using tools_testing::ToolRun;

namespace {

toolcli::InfoRequest Find(std::initializer_list<const char *> args)
{
    std::vector<const char *> argv{"tool"};
    argv.insert(argv.end(), args);
    return toolcli::FindInfoRequest(static_cast<int>(argv.size()), argv.data());
}

const char *const kTools[] = {"sonolux-render", "rcp2smf", "sonolux-open"};

} // namespace

// Catches a file named "--help" after "--" being taken for the option, the option being
// missed among other arguments, or --version winning over --help.
TEST(FindInfoRequest, SeesTheOptionsOnlyBeforeTheEndOfOptions)
{
    EXPECT_EQ(Find({}), toolcli::InfoRequest::None);
    EXPECT_EQ(Find({"a.mid", "--help"}), toolcli::InfoRequest::Help);
    EXPECT_EQ(Find({"--version", "x", "--help"}), toolcli::InfoRequest::Help);
    EXPECT_EQ(Find({"-s", "x", "--version"}), toolcli::InfoRequest::Version);
    EXPECT_EQ(Find({"--", "--help", "--version"}), toolcli::InfoRequest::None);
    EXPECT_EQ(Find({"--helpful", "-help"}), toolcli::InfoRequest::None);
}

// Catches "-" (standard input by convention, here a file name) being taken for an option.
TEST(IsOption, AloneADashIsAnOperand)
{
    EXPECT_TRUE(toolcli::IsOption("-s"));
    EXPECT_TRUE(toolcli::IsOption("--midimap"));
    EXPECT_FALSE(toolcli::IsOption("-"));
    EXPECT_FALSE(toolcli::IsOption("song.mid"));
    EXPECT_FALSE(toolcli::IsOption(""));
}

// Catches a tool without --help or --version, either one exiting with a failure or
// writing to standard error, or a version other than the project's.
TEST(ToolInfo, EveryToolAnswersHelpAndVersion)
{
    const testing_support::TempFolder scratch;
    for (const std::string tool : kTools) {
        SCOPED_TRACE(tool);
        ToolRun run = RunTool(Tool(tool) + " --help", scratch.Path());
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out.rfind("usage: " + tool + " ", 0), 0u) << run.out;
        EXPECT_NE(run.out.find("--version"), std::string::npos);
        EXPECT_NE(run.out.find("Exit status:"), std::string::npos);
        EXPECT_EQ(run.errors, "");

        run = RunTool(Tool(tool) + " --version", scratch.Path());
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out, tool + " " + SONOLUX_PROJECT_VERSION + "\n");
    }
}

// Catches help that could not be written (a full disk, a closed pipe) reported as success.
TEST(ToolInfo, UnwrittenHelpIsAFailure)
{
    const testing_support::TempFolder scratch;
    for (const std::string tool : kTools) {
        SCOPED_TRACE(tool);
        const ToolRun run = RunTool("{ " + Tool(tool) + " --help >/dev/full; }", scratch.Path());
        EXPECT_EQ(run.exitCode, 1);
    }
}

// Catches the tools' own options being taken for files to convert, render or open, and
// a file named like an option after "--" being refused.
TEST(ToolInfo, UnknownOptionsAreWrongArguments)
{
    const testing_support::TempFolder scratch;
    EXPECT_EQ(RunTool(Tool("rcp2smf") + " -x a.rcp", scratch.Path()).exitCode, 1);
    EXPECT_EQ(RunTool(Tool("sonolux-render") + " --reverb a.mid b.wav", scratch.Path()).exitCode,
              2);
    EXPECT_EQ(RunTool(Tool("sonolux-render") + " --midimap", scratch.Path()).exitCode, 2);
    const ToolRun run = RunTool(Tool("sonolux-open") + " --play a.mid", scratch.Path());
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.errors.find("--play"), std::string::npos) << run.errors;

    const ToolRun converted =
        RunTool("cd " + Quoted(scratch.Path()) + " && " + Tool("rcp2smf") + " -- -in.rcp out.mid",
                scratch.Path());
    EXPECT_EQ(converted.exitCode, 2) << "the file -in.rcp is looked for: " << converted.errors;
    EXPECT_NE(converted.errors.find("-in.rcp"), std::string::npos);
}

// Catches the launcher starting a player (or handing "--help" over as a file) when asked
// only for its help or version. The player beside the copy only notes that it was started;
// opening a file named "--help" after "--" shows that the note would be seen.
TEST(ToolInfo, LauncherHelpStartsNoPlayer)
{
    const testing_support::TempFolder program;
    const testing_support::TempFolder runtime;
    const std::string launcher = program / "sonolux-open";
    ASSERT_EQ(std::system(("cp " + Tool("sonolux-open") + " " + Quoted(launcher)).c_str()), 0);
    program.Write("sonolux", "#!/bin/sh\necho started >\"$(dirname \"$0\")/started\"\n");
    ::chmod((program / "sonolux").c_str(), 0755);
    const std::string run = "XDG_RUNTIME_DIR=" + Quoted(runtime.Path()) + " " + Quoted(launcher);

    EXPECT_EQ(RunTool(run + " --help", runtime.Path()).exitCode, 0);
    EXPECT_EQ(RunTool(run + " --version", runtime.Path()).exitCode, 0);
    EXPECT_EQ(RunTool(run + " a.mid --help", runtime.Path()).exitCode, 0);
    EXPECT_FALSE(platform::FileExists(program / "started"));

    // The stand-in ends without taking the file, which the launcher reports.
    EXPECT_EQ(RunTool(run + " -- --help", runtime.Path()).exitCode, 1);
    EXPECT_TRUE(platform::FileExists(program / "started"));
}
