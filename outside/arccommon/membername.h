#pragma once
// Member names as archives store them: byte strings with "/" or "\" between folders,
// matched against masks and turned into paths that stay inside the target folder.

#include "codepage.h"

#include <string>
#include <vector>

namespace arc {

// The parts of name between separators ("/", and "\" where it is a character of its own
// under NameEncoding), empty parts included.
std::vector<std::string> SplitMemberPath(const std::string &name);

// The last non-empty part of name; empty when it has none.
std::string MemberBaseName(const std::string &name);

// True when part can be a file or folder name of its own inside a folder: not empty,
// not "." or "..", and without "/" or NUL.
bool IsUsableFileName(const std::string &part);

// The folders and file name a member is written at when stored folders are kept: the
// parts of name without empty and "." parts, without a leading drive ("C:"). False when
// a part is ".." or nothing is left, so that no name can reach outside the target folder.
bool SafeRelativeParts(const std::string &name, std::vector<std::string> &parts);

// Wildcard match with "*" (any run of characters) and "?" (one character); ASCII letters
// match without regard to case, every other character must be the same bytes.
bool MatchesWildcard(const std::string &text, TextEncoding textEncoding, const std::string &mask,
                     TextEncoding maskEncoding);

// Whether member (stored name) is selected by mask (a command-line item). Both are scanned
// in the member's own encoding (NameEncoding), whatever the process code page, and compared
// byte for byte. "*" and "*.*" select every member. A mask without a folder part is matched
// against the member's name part; one with a folder part ("/" or "\") against the whole
// name, with both separators taken as the same.
bool MemberMatchesMask(const std::string &member, const std::string &mask);

// True when masks is empty or one of them selects member.
bool MemberMatchesAny(const std::string &member, const std::vector<std::string> &masks);

} // namespace arc
