#pragma once
// The exception of the archive layer: carries only its message, a program text.

#include <stdexcept>
#include <string>

namespace archives {

class EArchiver : public std::runtime_error
{
public:
    explicit EArchiver(const std::string &message)
        : std::runtime_error(message)
    {
    }
};

} // namespace archives
