#pragma once
// trim.h for std::string (not for the loader module, which has no C++ runtime).

#include "base/trim.h"

#include <string>

namespace base {

// text without the padding at both ends.
template<typename IsPadding>
std::string Trim(const std::string &text, IsPadding isPadding)
{
    const ByteRange range = Trimmed(text.data(), text.size(), isPadding);
    return text.substr(range.begin, range.Length());
}

// text without the padding at its end.
template<typename IsPadding>
std::string TrimEnd(std::string text, IsPadding isPadding)
{
    text.resize(TrimmedEnd(text.data(), text.size(), isPadding));
    return text;
}

} // namespace base
