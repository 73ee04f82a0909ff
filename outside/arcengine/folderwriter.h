#pragma once
// Writes members into a target folder and nowhere else. Every folder below the target is
// opened without following symbolic links, a member first goes to a temporary name beside
// its final name and is renamed over it only when complete, and no link, device or
// special file is ever created. File modes are plain (0666 less the umask).
//
// Results are the archiver interface's codes (outside/include/archiver_api.h).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace arc {

class MemberFile;

// Creates folder and any missing parents (mkdir -p); true when it exists afterwards.
bool MakeFolders(const std::string &folder);

class FolderWriter
{
public:
    FolderWriter() = default;
    ~FolderWriter();
    FolderWriter(const FolderWriter &) = delete;
    FolderWriter &operator=(const FolderWriter &) = delete;

    // Opens folder, creating it and any missing parents: 0 or ERROR_MAKEDIRECTORY.
    int Open(const std::string &folder);

    // Prepares a member at parts (folders below the target, then the file name; every part
    // usable as a name). Folders are created as needed. Nothing exists on disk for the
    // file yet: MemberFile::Create makes its temporary file.
    std::unique_ptr<MemberFile> Prepare(const std::vector<std::string> &parts, int &code);

    // Creates the folder at parts (for folder members).
    int MakeFolder(const std::vector<std::string> &parts);

private:
    int OpenFolders(const std::vector<std::string> &parts, std::size_t count, int &folderFd);

    std::string folder_;
    int fd_ = -1;
    unsigned counter_ = 0;
};

// One member being written. Destroying it before Commit removes the temporary file.
class MemberFile
{
public:
    MemberFile(int folderFd, std::string folderPath, std::string name, std::string tempName);
    ~MemberFile();
    MemberFile(const MemberFile &) = delete;
    MemberFile &operator=(const MemberFile &) = delete;

    const std::string &TempPath() const { return tempPath_; }
    const std::string &FinalPath() const { return finalPath_; }

    int Create();
    int Write(const void *data, std::size_t size, std::uint64_t offset);
    // Sets the length (leaving a hole up to size when the data ended early in a sparse
    // member) and the modification time (when not 0), then renames the file into place.
    int Commit(std::uint64_t size, std::int64_t mtime);

private:
    void Discard();

    int folderFd_;
    std::string name_;
    std::string tempName_;
    std::string tempPath_;
    std::string finalPath_;
    int fd_ = -1;
    bool committed_ = false;
};

} // namespace arc
