#pragma once
// Runs the helper program for one piece of work and supervises it: its records are handed
// to the caller's handler in the caller's thread as they arrive, and the helper is killed
// when its time is up, when the handler asks to stop, or when its report makes no sense.
// A temporary file the helper announced and did not finish is removed after it was killed,
// so a stopped extraction leaves no half file.

#include "outside/arccommon/protocol.h"
#include "outside/arccommon/workerjob.h"

#include <string>
#include <vector>

namespace arc {

class RecordHandler
{
public:
    virtual ~RecordHandler() = default;
    // One record; answer false to stop the work.
    virtual bool OnRecord(protocol::RecordType type, const std::string &payload) = 0;
};

enum class WorkerOutcome {
    Finished,   // the helper reported its Result and ended
    TimedOut,   // killed when its time was up
    Cancelled,  // killed because the handler asked
    Failed,     // ended without a Result, or its report was damaged
    NotStarted, // the program could not be started
};

struct WorkerRun
{
    WorkerOutcome outcome = WorkerOutcome::NotStarted;
    protocol::ResultEntry result; // valid when outcome is Finished
};

// Runs program (a full path) with arguments for at most seconds of wall time; time spent
// inside the handler does not count. With confirm, the program's standard input carries
// "y" after each Begin and Progress record the handler accepted.
WorkerRun RunWorkerProgram(const std::string &program, const std::vector<std::string> &arguments,
                           double seconds, RecordHandler &handler, bool confirm = false);

// The helper program beside the library this code is linked into.
std::string WorkerProgramPath();

// Runs the helper on job.
WorkerRun RunWorker(const WorkerJob &job, double seconds, RecordHandler &handler);

} // namespace arc
