#pragma once
// The part of a command line every tool reads alike. Options come before or among the
// operands; "--" ends the options, so that a file whose name begins with "-" can be
// given; "-" alone is an operand.

#include <string>

namespace toolcli {

// The version of the project the tools were built from, such as "0.7.0".
const char *Version();

enum class InfoRequest { None, Help, Version };

// Help when "--help" is among the arguments before any "--", else Version when
// "--version" is, else None. Tools answer it before anything else.
InfoRequest FindInfoRequest(int argc, const char *const *argv);

// Writes help (the tool's text, as given) or "<name> <version>" to standard output.
// Returns the exit status: 0 once written, 1 when standard output could not be written.
int AnswerInfoRequest(InfoRequest request, const char *name, const char *help);

// True for an option: an argument beginning with "-" other than "-" itself (the caller
// tells "--" apart).
bool IsOption(const std::string &argument);

} // namespace toolcli
