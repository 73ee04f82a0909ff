#pragma once
// Zip archives for tests, made with the zip tool from members given as name and bytes.

#include <string>
#include <utility>
#include <vector>

namespace testing_support {

using Members = std::vector<std::pair<std::string, std::string>>;

// Writes an archive at path holding the members stored (no compression, no extra fields);
// false when the zip tool failed.
bool WriteStoredZip(const std::string &path, const Members &members);

} // namespace testing_support
