// Supervision of the helper process: deadlines, cancelling, crashes, temporary files.

#include "outside/arcclient/workerprocess.h"
#include "support/tempfolder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace arc;

namespace {

class Recorder : public RecordHandler
{
public:
    explicit Recorder(bool goOn = true)
        : goOn_(goOn)
    {
    }
    bool OnRecord(protocol::RecordType type, const std::string &) override
    {
        types.push_back(type);
        return goOn_;
    }
    std::vector<protocol::RecordType> types;

private:
    bool goOn_;
};

// A shell standing in for the helper: it writes records from a file, then runs tail.
WorkerRun RunScript(const testing_support::TempFolder &temp, const std::string &records,
                    const std::string &tail, double seconds, RecordHandler &handler)
{
    const std::string file = temp.Write("records.bin", records);
    return RunWorkerProgram("/bin/sh", {"-c", "cat '" + file + "'; " + tail}, seconds, handler);
}

} // namespace

// Catches a helper that is waited for without end, and its half-written file left behind.
TEST(ArchiverWorkerProcess, HelperOutOfTimeIsKilledAndItsTempFileRemoved)
{
    testing_support::TempFolder temp;
    const std::string part = temp / ".arcworker-7-1.part";
    Recorder handler;
    const auto start = std::chrono::steady_clock::now();
    const WorkerRun run = RunScript(temp, protocol::EncodeTemp(part),
                                    "touch '" + part + "'; exec sleep 30", 0.5, handler);
    EXPECT_EQ(run.outcome, WorkerOutcome::TimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_FALSE(std::filesystem::exists(part));
}

// Catches removal of a file that is not one of the helper's temporary files.
TEST(ArchiverWorkerProcess, OnlyHelperTempFilesAreRemoved)
{
    testing_support::TempFolder temp;
    const std::string precious = temp.Write("song.mid", "MThd");
    Recorder handler;
    const WorkerRun run = RunScript(temp, protocol::EncodeTemp(precious), "exit 0", 5, handler);
    EXPECT_EQ(run.outcome, WorkerOutcome::Failed);
    EXPECT_TRUE(std::filesystem::exists(precious));
}

// Catches a stop request ignored, or the helper's result taken from a killed helper.
TEST(ArchiverWorkerProcess, HandlerCanStopTheWork)
{
    testing_support::TempFolder temp;
    Recorder handler(false);
    const WorkerRun run = RunScript(temp, protocol::EncodeProgress(1) + protocol::EncodeProgress(2),
                                    "exec sleep 30", 30, handler);
    EXPECT_EQ(run.outcome, WorkerOutcome::Cancelled);
    EXPECT_EQ(handler.types.size(), 1u);
}

// Catches a crash or a garbled report taken for success, and a missing helper not noticed.
TEST(ArchiverWorkerProcess, EndingsAreToldApart)
{
    testing_support::TempFolder temp;
    Recorder handler;
    WorkerRun run = RunScript(temp, protocol::Encode(protocol::ResultEntry{0x8019, "no"}), "exit 0",
                              5, handler);
    EXPECT_EQ(run.outcome, WorkerOutcome::Finished);
    EXPECT_EQ(run.result.code, 0x8019);

    run = RunScript(temp, protocol::EncodeDone(), "kill -SEGV $$", 5, handler);
    EXPECT_EQ(run.outcome, WorkerOutcome::Failed);

    run = RunScript(temp, std::string("R\x02\0\0\0", 5), "exit 0", 5, handler);
    EXPECT_EQ(run.outcome, WorkerOutcome::Failed);

    // A helper that lingers after its Result is not waited for.
    const auto start = std::chrono::steady_clock::now();
    run = RunScript(temp, protocol::Encode(protocol::ResultEntry{0, ""}), "exec sleep 30", 60,
                    handler);
    EXPECT_EQ(run.outcome, WorkerOutcome::Finished);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));

    run = RunWorkerProgram(temp / "no-such-helper", {}, 5, handler);
    EXPECT_EQ(run.outcome, WorkerOutcome::NotStarted);
}
