#include "platform/mci/outputlevel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace mci {

namespace {

// The number text holds entirely (blanks around it allowed); false for anything else.
bool ParseNumber(const std::string &text, double &value)
{
    const char *begin = text.c_str();
    char *end = nullptr;
    value = std::strtod(begin, &end);
    if (end == begin || !std::isfinite(value))
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    return *end == '\0';
}

} // namespace

double OutputGain(double gainDb, double volume)
{
    const double db = std::clamp(gainDb, kMinGainDb, kMaxGainDb);
    return kBaseGain * std::pow(10.0, db / 20.0) * std::clamp(volume, 0.0, 1.0);
}

double ParseGainDb(const std::string &text)
{
    double db = 0;
    if (!ParseNumber(text, db))
        return 0;
    return std::clamp(db, kMinGainDb, kMaxGainDb);
}

double ParseVolume(const std::string &text)
{
    double percent = 0;
    if (!ParseNumber(text, percent))
        return 1.0;
    return std::clamp(percent / 100.0, 0.0, 1.0);
}

std::string FormatVolume(double volume)
{
    const long tenths = std::lround(std::clamp(volume, 0.0, 1.0) * 1000.0);
    std::string text = std::to_string(tenths / 10);
    if (tenths % 10 != 0)
        text += "." + std::to_string(tenths % 10);
    return text;
}

} // namespace mci
