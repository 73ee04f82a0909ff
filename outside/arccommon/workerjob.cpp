#include "workerjob.h"

#include <cstdlib>

namespace arc {
namespace {

constexpr const char *operationNames[] = {"list", "extract", "test", "tartype"};
constexpr const char *kindNames[] = {"lha", "zip", "cab", "tar", "rar", "arj"};
constexpr std::size_t fixedArguments = 9;

template<typename Enum, std::size_t N>
bool ParseName(const std::string &text, const char *const (&names)[N], Enum &value)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (text == names[i]) {
            value = static_cast<Enum>(i);
            return true;
        }
    }
    return false;
}

bool ParseUnsigned(const std::string &text, std::uint64_t &value)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 19)
        return false;
    value = std::strtoull(text.c_str(), nullptr, 10);
    return true;
}

} // namespace

std::vector<std::string> WorkerJob::ToArguments() const
{
    std::vector<std::string> arguments = {operationNames[static_cast<int>(operation)],
                                          kindNames[static_cast<int>(kind)],
                                          archive,
                                          folder,
                                          keepFolders ? "folders" : "flat",
                                          std::to_string(memberLimit),
                                          std::to_string(totalLimit),
                                          std::to_string(cpuSeconds),
                                          confirmProgress ? "confirm" : "free"};
    arguments.insert(arguments.end(), masks.begin(), masks.end());
    return arguments;
}

bool WorkerJob::FromArguments(const std::vector<std::string> &arguments, WorkerJob &job)
{
    if (arguments.size() < fixedArguments)
        return false;
    std::uint64_t cpu = 0;
    if (!ParseName(arguments[0], operationNames, job.operation) ||
        !ParseName(arguments[1], kindNames, job.kind) ||
        (arguments[4] != "folders" && arguments[4] != "flat") ||
        !ParseUnsigned(arguments[5], job.memberLimit) ||
        !ParseUnsigned(arguments[6], job.totalLimit) || !ParseUnsigned(arguments[7], cpu) ||
        cpu > 100000 || (arguments[8] != "confirm" && arguments[8] != "free"))
        return false;
    job.archive = arguments[2];
    job.folder = arguments[3];
    job.keepFolders = arguments[4] == "folders";
    job.cpuSeconds = static_cast<unsigned>(cpu);
    job.confirmProgress = arguments[8] == "confirm";
    job.masks.assign(arguments.begin() + fixedArguments, arguments.end());
    return true;
}

} // namespace arc
