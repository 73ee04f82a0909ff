#pragma once
// The platform's temporary path, private to the user running the program.

#include <string>

namespace platform {

// A folder only this user can enter, with a trailing "/":
//  1. $XDG_RUNTIME_DIR, when it names a folder owned by this user with no access for others;
//  2. else "sonolux-<uid>" under $TMPDIR (or /tmp when unset), created with mode 0700;
//  3. else, when that name is taken by a symbolic link, by another user's folder or by a
//     file, a fresh folder made by mkdtemp beside it.
// A folder of this user's own with wider permissions is narrowed to 0700.
// Throws std::runtime_error when no private folder can be had at all.
std::string GetTempPath();

} // namespace platform
