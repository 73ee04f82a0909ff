#pragma once
// Where a program folder keeps each user's own files: beside the program when the folder
// is portable, in folders of the user's own when it is installed. The player and the tools
// decide this alike, so a tool finds the files the player writes.
//
// A program folder is portable when the user may write into it and it holds no
// InstalledMarkerName file (which an installation puts there). An installed one keeps
//   config = $XDG_CONFIG_HOME/sonolux/ (default ~/.config/sonolux/): "Sonolux.ini",
//            "Sonolux.lst" and the device's "midimap.ini";
//   data   = $XDG_DATA_HOME/sonolux/ (default ~/.local/share/sonolux/): the user's own
//            designs in "skin/" and reset files in "format/".

#include <string>

namespace platform {

// The file whose presence marks a program folder as installed.
extern const char *const InstalledMarkerName;

enum class ProgramFolderType { Portable, Installed };

// Installed when folder (ending in "/") holds InstalledMarkerName or this user may not
// write into it.
ProgramFolderType ProgramFolderKind(const std::string &folder);

struct UserFolders
{
    std::string config; // ending in "/"
    std::string data;   // ending in "/"
};

// The user folders of an installed program by the XDG base directory rules: a variable
// that is null, empty or not an absolute path gives the default under home. Throws
// std::runtime_error when home is needed and is null, empty or not absolute.
UserFolders InstalledUserFolders(const char *home, const char *configHome, const char *dataHome);

// This user's cache folder by the XDG base directory rules ($XDG_CACHE_HOME, default
// ~/.cache/), ending in "/". Creates nothing. Throws std::runtime_error when home is needed
// and unknown.
std::string UserCacheFolder();

// The folders the program in folder (ending in "/") keeps this user's files in: folder
// itself for both when it is portable, else InstalledUserFolders of this process's
// environment ($HOME, else the password database). Creates nothing. Throws std::runtime_error when
// an installed folder's user has no known home folder.
UserFolders UserFoldersFor(const std::string &folder);

} // namespace platform
