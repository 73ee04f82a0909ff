#pragma once
// RAR's Unicode member names: after the 8-bit name and a zero byte, the name's UTF-16
// characters packed against the 8-bit name and a common high byte. Without the zero byte
// the field is UTF-8 already.

#include <string>

namespace oldrar {

// The name of a header field flagged as Unicode, as UTF-8.
std::string UnicodeName(const std::string &field);

} // namespace oldrar
