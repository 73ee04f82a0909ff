#pragma once
// Sends records to the caller over a pipe, buffered; Flush before anything the caller must
// know about in time (a temporary file about to be created) and at the end.

#include <string>

namespace arc {

class RecordWriter
{
public:
    // replyFd, when not -1, carries the caller's answers to Confirm.
    explicit RecordWriter(int fd, int replyFd = -1)
        : fd_(fd)
        , replyFd_(replyFd)
    {
    }
    ~RecordWriter() { Flush(); }
    RecordWriter(const RecordWriter &) = delete;
    RecordWriter &operator=(const RecordWriter &) = delete;

    void Put(const std::string &record);
    void Flush();
    // Sends what is buffered and waits for the caller's answer: true to go on. Always true
    // when the caller gives no answers.
    bool Confirm();
    // True once the caller stopped reading: the work is pointless from then on.
    bool Failed() const { return failed_; }

private:
    int fd_;
    int replyFd_;
    std::string buffer_;
    bool failed_ = false;
};

} // namespace arc
