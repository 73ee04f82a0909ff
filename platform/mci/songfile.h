#pragma once
// Reading a song file from disk for the device.

#include <string>

namespace mci {

// The whole of the regular file at path. Throws EMCIDeviceError with the device's text
// when it is missing, not a regular file (a folder, a pipe, a device: never opened for
// reading, so nothing can block), unreadable, or larger than a song can be.
std::string ReadSongFile(const std::string &path);

// Throws EMCIDeviceError with the device's text when the file at path is larger than a song
// can be, before anything reads or copies it; any other file passes (ReadSongFile reports
// what else may be wrong with it).
void CheckSongFileSize(const std::string &path);

} // namespace mci
