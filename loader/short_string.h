#pragma once
// Short strings, the form of every text crossing the module boundary: byte 0 holds the
// length (0 to 255), bytes 1 to length the characters, no terminator.

#include <stddef.h>

namespace loader {

constexpr size_t kShortStringCapacity = 255;

// A private copy of a short string's characters, with a terminating zero after them so
// that it can be passed to the system as a path.
class ShortText
{
public:
    ShortText() = default;
    // Copies the short string at source; a null source gives the empty text.
    explicit ShortText(const unsigned char *source);

    size_t Length() const { return length_; }
    const char *Bytes() const { return bytes_; }
    const unsigned char *Data() const { return reinterpret_cast<const unsigned char *>(bytes_); }

    // Replaces the text; only the first kShortStringCapacity bytes are kept.
    void Assign(const void *bytes, size_t length);
    // Appends as much as fits; returns false (and changes nothing) when it does not fit.
    bool Append(const char *bytes, size_t length);

    // True when a zero byte stands among the characters: as a path the system would read
    // the text only up to it.
    bool HasZeroByte() const;

    // Writes the text into the caller's 256-byte buffer as a short string.
    void StoreTo(unsigned char *buffer) const;

private:
    size_t length_ = 0;
    char bytes_[kShortStringCapacity + 1] = {};
};

} // namespace loader
