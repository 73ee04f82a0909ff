#pragma once
// A small tmpfs mounted on a folder for one test, to make a file system run full or turn
// read-only under the code under test. Mounting needs root (the tests that use this are
// configured only when CMake runs as root); a mount that fails anyway fails the test with
// the system's reason, never skips it. The file system is unmounted when the object goes.

#include <cstddef>
#include <string>

namespace testing_support {

class SmallTmpfs
{
public:
    // Mounts a tmpfs of sizeBytes on folder (an existing, empty folder), mode 0700.
    // Throws std::runtime_error saying why when it cannot.
    SmallTmpfs(std::string folder, std::size_t sizeBytes);
    ~SmallTmpfs();
    SmallTmpfs(const SmallTmpfs &) = delete;
    SmallTmpfs &operator=(const SmallTmpfs &) = delete;

    const std::string &Path() const { return folder_; }

    // Writes a filler file until the file system has no byte left, then gives room bytes
    // back (rounded to whole pages, as tmpfs counts them).
    void Fill(std::size_t room = 0);
    // Remounts the file system read-only.
    void MakeReadOnly();

private:
    std::string folder_;
    bool mounted_ = false;
};

} // namespace testing_support
