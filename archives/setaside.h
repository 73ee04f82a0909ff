#pragma once
// Keeping an existing file safe while an operation that must not find it runs.

#include <string>

namespace archives {

// Moves the file at path to a fresh name beside it, and puts it back when the object goes
// unless Commit() was called (then the moved copy is removed). A path where no file exists
// is left alone. The constructor throws std::runtime_error naming the file when the move
// fails; the file is then untouched.
class SetAside
{
public:
    explicit SetAside(const std::string &path);
    SetAside(const SetAside &) = delete;
    SetAside &operator=(const SetAside &) = delete;
    ~SetAside();

    void Commit() { committed_ = true; }

private:
    std::string path_;
    std::string aside_;
    bool committed_ = false;
};

} // namespace archives
