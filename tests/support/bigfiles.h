#pragma once
// Large inputs for the resource tests and benchmarks, made quickly in memory or on disk.

#include <cstddef>
#include <cstdint>
#include <string>

namespace testing_support {

// A format-0 Standard MIDI File of events note messages (alternately on and off, in
// running status, one millisecond apart), three bytes each, at one tick per millisecond.
std::string MakeManyEventsSmf(std::size_t events);

// Writes a ZIP archive (ZIP64 directory, members stored) of count members: count - 1 empty
// members "mNNNNNN.txt", then lastName holding lastData.
void WriteManyMembersZip(const std::string &path, std::size_t count, const std::string &lastName,
                         const std::string &lastData);

// Makes path a sparse file of size bytes that begins with head (zeros after it).
void WriteSparseFile(const std::string &path, std::uint64_t size, const std::string &head = {});

// The peak resident memory of this process so far (VmHWM) and the current one (VmRSS), in
// bytes; 0 when /proc does not tell.
std::uint64_t PeakResidentBytes();
std::uint64_t ResidentBytes();
// Lowers the recorded peak to the current resident memory, so that PeakResidentBytes then
// measures from here.
void ResetPeakResident();

} // namespace testing_support
