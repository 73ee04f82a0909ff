#pragma once
// Text fields of the song files. Texts are Shift-JIS byte strings and stay bytes: nothing
// here decodes them, and cuts never split a double-byte character.

#include "outside/rcpcv/byte_view.h"

#include <string>

namespace rcpcv {

// The title as the title probe reads it from a song file: the field up to its first zero
// byte, without leading and trailing bytes of 0x20 or less, and at most 127 bytes so that
// its length fits the one length byte that probe reads from the SMF.
std::string TitleText(ByteView field);

// A memo line, track name or comment: the field up to its first zero byte, without
// trailing spaces; leading spaces are kept when keepLeading is set.
std::string FieldText(ByteView field, bool keepLeading);

// The text cut to at most maxBytes bytes, ending on a character boundary.
std::string CutText(const std::string &text, size_t maxBytes);

// The file name part of a name that may carry a DOS drive or folder ("A:\SONGS\X.GSD").
std::string BaseName(const std::string &name);

// Equal apart from the letter case of ASCII A to Z.
bool EqualIgnoringAsciiCase(const std::string &a, const std::string &b);

} // namespace rcpcv
