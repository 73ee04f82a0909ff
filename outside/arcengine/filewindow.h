#pragma once
// A file from an offset on, read by libarchive as if the file began there: for archives
// behind a self-extractor's program head larger than libarchive's own scan.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct archive;

namespace arc {

class FileWindow
{
public:
    // The file at path from start on; nullptr when it cannot be opened.
    static std::unique_ptr<FileWindow> Open(const std::string &path, std::uint64_t start);
    ~FileWindow();
    FileWindow(const FileWindow &) = delete;
    FileWindow &operator=(const FileWindow &) = delete;

    // Opens a (formats enabled, not yet open) on the window: libarchive's result. The
    // window must outlive a's reading.
    int OpenArchive(struct archive *a);
    // Where the window begins in the file: libarchive's positions are counted from there.
    std::uint64_t Start() const { return start_; }

    // For libarchive's callbacks only.
    long long Read(struct archive *a, const void **data);
    long long Skip(long long request);
    long long Seek(long long offset, int whence);

private:
    FileWindow() = default;

    int fd_ = -1;
    std::uint64_t start_ = 0;    // file offset of the window's first byte
    std::uint64_t size_ = 0;     // bytes in the window
    std::uint64_t position_ = 0; // in the window
    std::vector<char> buffer_ = std::vector<char>(64 * 1024);
};

} // namespace arc
