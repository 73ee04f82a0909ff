#pragma once
// Key-by-key access to an INI ("profile") file, with the platform semantics the
// program was designed for: a missing file, section or key gives the default;
// writing creates the file, the section and the key as needed and keeps every other
// line of the file as it was. Each call reads the file afresh. Writes are atomic.
// A file that cannot be read, or is larger than 1 MB, reads as missing, and writing to it
// fails (ProfileError) without touching it.

#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

class ProfileError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// One value to store: WriteValues stores several in one replacement of the file.
struct ProfileValue
{
    std::string section;
    std::string key;
    std::string value;
};

class ProfileFile
{
public:
    explicit ProfileFile(std::string path);

    const std::string &Path() const { return path_; }

    // The value read through a buffer of 2048 bytes: at most 2047 bytes, cut between
    // characters. Surrounding blanks, and one pair of enclosing double quotes, are removed.
    std::string ReadString(const std::string &section, const std::string &key,
                           const std::string &defaultValue) const;
    // Decimal with an optional sign, or hexadecimal after "0x"/"0X"; a value that does
    // not parse as a 32-bit integer gives the default.
    int ReadInteger(const std::string &section, const std::string &key, int defaultValue) const;
    // An integer; anything but 0 is true. A value that does not parse gives the default.
    bool ReadBool(const std::string &section, const std::string &key, bool defaultValue) const;

    // Stores value under section/key. A line break in value ends the stored text there,
    // since a profile line cannot hold one; a value with spaces or tabs at either end, or in
    // enclosing quotes, is stored in quotes so that ReadString gives it back unchanged. Throws
    // ProfileError naming the file when the file cannot be written; the file on disk is then the
    // one from before the call.
    void WriteString(const std::string &section, const std::string &key, const std::string &value);
    void WriteInteger(const std::string &section, const std::string &key, int value);
    void WriteBool(const std::string &section, const std::string &key, bool value);
    // Stores every value, in order, and replaces the file once: afterwards the file holds
    // all of them, or (when writing fails) none of them.
    void WriteValues(const std::vector<ProfileValue> &values);

private:
    std::string path_;
};

// Parses a profile integer as ReadInteger does; false when text is not one.
bool ParseProfileInteger(const std::string &text, int &value);

} // namespace platform
