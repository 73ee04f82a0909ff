#pragma once
// A fresh folder for one test, removed with everything in it when the test ends.

#include <string>

namespace testing_support {

class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    // The folder's path, without a trailing "/".
    const std::string &Path() const { return path_; }
    // Path of name inside the folder.
    std::string operator/(const std::string &name) const { return path_ + "/" + name; }

    // Writes data to the file name inside the folder (creating sub-folders) and returns its path.
    std::string Write(const std::string &name, const std::string &data) const;

private:
    std::string path_;
};

} // namespace testing_support
