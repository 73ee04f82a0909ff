#pragma once
// One piece of work for the helper process, as it travels on the helper's command line.

#include <cstdint>
#include <string>
#include <vector>

namespace arc {

enum class ArchiveKind { Lha, Zip, Cab, Tar, Rar, Arj };
enum class JobOperation { List, Extract, Test, TarType };

// The helper program's file name; it lies in the folder of the library that starts it.
constexpr const char *workerProgramName = "arcworker";

struct WorkerJob
{
    JobOperation operation = JobOperation::List;
    ArchiveKind kind = ArchiveKind::Lha;
    std::string archive;
    std::string folder; // Extract: where members go (created when missing)
    bool keepFolders = false;
    std::uint64_t memberLimit = 0;
    std::uint64_t totalLimit = 0;
    unsigned cpuSeconds = 0; // processor-time ceiling of the helper, a backstop
    // Extract: the helper waits for the caller's answer ("y" on its standard input) after
    // each Begin and Progress record, so that a stop request takes effect at once.
    bool confirmProgress = false;
    std::vector<std::string> masks; // Extract and Test: empty selects every member

    // The helper's arguments, program name excluded.
    std::vector<std::string> ToArguments() const;
    // Reads arguments written by ToArguments; false when they are not such a list.
    static bool FromArguments(const std::vector<std::string> &arguments, WorkerJob &job);
};

} // namespace arc
