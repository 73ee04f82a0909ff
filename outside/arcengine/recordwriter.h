#pragma once
// Sends records to the caller over a pipe, buffered; Flush before anything the caller must
// know about in time (a temporary file about to be created) and at the end.

#include <string>

namespace arc {

class RecordWriter
{
public:
    explicit RecordWriter(int fd)
        : fd_(fd)
    {
    }
    ~RecordWriter() { Flush(); }
    RecordWriter(const RecordWriter &) = delete;
    RecordWriter &operator=(const RecordWriter &) = delete;

    void Put(const std::string &record);
    void Flush();
    // True once the caller stopped reading: the work is pointless from then on.
    bool Failed() const { return failed_; }

private:
    int fd_;
    std::string buffer_;
    bool failed_ = false;
};

} // namespace arc
