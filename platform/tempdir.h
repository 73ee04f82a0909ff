#pragma once
// The platform's temporary path, private to the user running the program.

#include <string>
#include <sys/types.h>

namespace platform {

// What a folder offers as a private folder of one user. The last part of the path is
// examined itself, never a link's target.
enum class FolderTrust {
    Private,   // a real folder owned by the user, no access for group or others
    Missing,   // nothing of that name, or the path cannot be examined
    NotFolder, // a symbolic link, a file or anything else that is no real folder
    Foreign,   // a folder owned by another user
    TooOpen,   // the user's own folder, but group or others have some access
};
FolderTrust CheckFolder(const std::string &path, uid_t owner);

// A folder only this user can enter, with a trailing "/", the same at every call while the
// environment stays the same (so every copy of the program finds the others' socket):
//  1. $XDG_RUNTIME_DIR, when it names a folder owned by this user with no access for others;
//  2. else "sonolux-<uid>" under $TMPDIR (or /tmp when unset), created with mode 0700; a
//     folder of this user's own with wider permissions is narrowed to 0700;
//  3. else, when that name is taken by a symbolic link, by another user's folder or by a
//     file, "sonolux-<uid>" in this user's cache folder ($XDG_CACHE_HOME, default
//     ~/.cache), created with mode 0700 and used only while it is private (CheckFolder).
// Throws std::runtime_error naming the folder and the reason when no private folder can
// be had at all.
std::string GetTempPath();

// GetTempPath for the user uid: folders are trusted only when uid owns them, so a test
// passing another uid sees this process's folders as someone else's.
std::string GetTempPath(uid_t uid);

} // namespace platform
