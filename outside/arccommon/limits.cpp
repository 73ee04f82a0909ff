#include "limits.h"

#include <cerrno>
#include <cstdlib>

namespace arc {
namespace {

bool ReadNumber(const char *name, double &value)
{
    const char *text = std::getenv(name);
    if (text == nullptr || *text == '\0')
        return false;
    char *end = nullptr;
    errno = 0;
    const double parsed = std::strtod(text, &end);
    if (errno != 0 || end == text || *end != '\0' || !(parsed >= 0))
        return false;
    value = parsed;
    return true;
}

void Lower(const char *name, std::uint64_t &limit)
{
    double value = 0;
    if (ReadNumber(name, value) && value >= 1 && value < static_cast<double>(limit))
        limit = static_cast<std::uint64_t>(value);
}

} // namespace

Limits Limits::FromEnvironment()
{
    Limits limits;
    double seconds = 0;
    if (ReadNumber("SONOLUX_ARCHIVER_BUDGET", seconds) && seconds >= 0.1 && seconds <= 3600)
        limits.seconds = seconds;
    Lower("SONOLUX_ARCHIVER_MEMBER_LIMIT", limits.memberBytes);
    Lower("SONOLUX_ARCHIVER_TOTAL_LIMIT", limits.totalBytes);
    return limits;
}

} // namespace arc
