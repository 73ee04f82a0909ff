#pragma once
// The decoder of a ZIP member's method: store, Shrink, Reduce, Implode, Deflate (zlib) and
// Deflate64.

#include "outside/codecio/checkedmember.h"
#include "outside/codecio/filerange.h"
#include "zipdirectory.h"

#include <memory>
#include <string>

namespace pkzip {

// A decoder of entry's data from source, or nullptr for a method we do not decode.
std::unique_ptr<codec::Decoder> MakeDecoder(const ZipEntry &entry, codec::ByteSource &source);

// The method's name as listings show it ("implode", "reduce4", ...).
std::string MethodName(std::uint16_t method);

} // namespace pkzip
