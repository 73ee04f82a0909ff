#pragma once
// The records the helper process sends its caller over a pipe while it lists or extracts.
// A record is one type byte, a 32-bit little-endian payload length and the payload; the
// caller checks every length, so a damaged stream is detected, never trusted.

#include <cstddef>
#include <cstdint>
#include <string>

namespace arc::protocol {

enum class RecordType : std::uint8_t {
    Member = 'M', // one member of a listing
    Begin = 'B',  // extraction of a member begins
    Temp =
        'T', // a temporary file is about to be created (removed by the caller if the helper dies)
    Progress = 'P', // bytes written of the current member so far
    Done = 'D',     // the current member is complete under its own name
    Failed = 'F',   // a member could not be written; the work goes on unless a Result follows
    Result = 'R',   // the end of the work and its result code
    TarType = 'Y',  // answer of a tar content probe
};

enum class MemberKind : std::uint8_t { File, Directory, Link, Device, Other };

struct MemberEntry
{
    std::string name; // as stored
    MemberKind kind = MemberKind::File;
    std::uint64_t size = 0;
    std::uint64_t compressedSize = 0;
    std::uint32_t crc = 0;
    std::int64_t mtime = 0; // seconds since 1970, 0 when unknown
    std::uint32_t osType = 0;
    std::string method; // e.g. "-lh5-"; may be empty
};

struct BeginEntry
{
    MemberEntry member;
    std::string destination; // full path of the file being written
};

struct FailedEntry
{
    std::string name;
    std::int32_t code = 0;
    std::string text;
};

struct ResultEntry
{
    std::int32_t code = 0;
    std::string text;
};

constexpr std::size_t maxPayload = 1u << 20;

std::string Encode(const MemberEntry &entry);
std::string Encode(const BeginEntry &entry);
std::string EncodeTemp(const std::string &path);
std::string EncodeProgress(std::uint64_t written);
std::string EncodeDone();
std::string Encode(const FailedEntry &entry);
std::string Encode(const ResultEntry &entry);
std::string EncodeTarType(bool isTar);

// Each Decode answers false when payload is not exactly one well-formed value.
bool Decode(const std::string &payload, MemberEntry &entry);
bool Decode(const std::string &payload, BeginEntry &entry);
bool DecodeString(const std::string &payload, std::string &text);
bool DecodeNumber(const std::string &payload, std::uint64_t &value);
bool Decode(const std::string &payload, FailedEntry &entry);
bool Decode(const std::string &payload, ResultEntry &entry);

// Splits a byte stream into records.
class RecordParser
{
public:
    void Feed(const char *data, std::size_t size);
    // Takes the next complete record; false when none is complete yet (or the stream broke).
    bool Next(RecordType &type, std::string &payload);
    // True once a record longer than maxPayload was announced.
    bool Broken() const { return broken_; }
    // True when bytes of an incomplete record are left over.
    bool HasPartial() const { return position_ < buffer_.size(); }

private:
    std::string buffer_;
    std::size_t position_ = 0;
    bool broken_ = false;
};

} // namespace arc::protocol
