#pragma once
// The converter's own file access: bounded reads of regular files, atomic writes, and
// finding a file in a folder whatever the letter case of its name. Paths are byte strings.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rcpcv {

enum class ReadStatus {
    kOk,
    kCannotOpen, // missing, no access
    kNotRegular, // a folder, device or pipe: never read
    kTooLarge,   // above the limit given
    kReadError,
};

// Reads the whole file into out when it is a regular file of at most maxBytes bytes.
ReadStatus ReadRegularFile(const std::string &path, size_t maxBytes, std::vector<uint8_t> &out);

// Replaces (or creates) the file at path with bytes. The data goes to a temporary file in
// the same folder, is flushed to disk, and is then renamed over path, so a failure leaves
// any earlier file at path untouched and no partial file behind. False on failure.
bool WriteFileAtomically(const std::string &path, const std::string &bytes);

// The folder part of a path ("." when there is none), without a trailing "/".
std::string FolderOf(const std::string &path);

// The path of the entry of folder whose name equals name apart from ASCII letter case; an
// exact match wins, else the first match in byte order. Nothing when there is none.
std::optional<std::string> FindIgnoringCase(const std::string &folder, const std::string &name);

} // namespace rcpcv
