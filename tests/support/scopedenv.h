#pragma once
// An environment variable set for one test, put back as it was when the test ends.

#include <string>

namespace testing_support {

class ScopedEnv
{
public:
    ScopedEnv(const char *name, const std::string &value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    std::string name_;
    std::string old_;
    bool had_ = false;
};

} // namespace testing_support
