#pragma once
// What the fuzz targets share: a private folder for the files a reader must find on disk,
// and a way to stop with a message when a target finds a broken promise.

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzing {

// A folder of this process's own (mode 0700, under $TMPDIR or /tmp), created at first use
// and removed with everything in it when the process ends normally. Without "/" at the end.
const std::string &PrivateFolder();

// Replaces the file at path with the bytes; aborts when that fails, since every later
// result would be meaningless.
void WriteWholeFile(const std::string &path, const std::uint8_t *data, std::size_t size);
void WriteWholeFile(const std::string &path, const std::string &data);

// Removes path and everything below it, without following symbolic links.
void RemoveTree(const std::string &path);

// Reports a broken promise of the code under test and aborts, so that libFuzzer keeps the
// input as a crash.
[[noreturn]] void Fail(const std::string &what);

} // namespace fuzzing
