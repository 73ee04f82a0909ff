#pragma once
// The device settings ("midimap.ini") the offline renderer plays with, found as the player
// finds them, or named on the command line.

#include "platform/mci/outputconfig.h"

#include <string>

namespace render {

// The settings of midimapFile when it is not empty, whatever its name. Otherwise those of
// "midimap.ini" in the folder where the program folder programFolder (ending in "/") keeps
// its user's files (platform::UserFoldersFor): beside the program when it is portable, in
// the user's config folder when it is installed; no file there reads as empty settings.
// Throws std::runtime_error naming the file when midimapFile is not a readable file, or
// when an installed program's user has no home folder.
mci::OutputConfig ReadDeviceSettings(const std::string &programFolder,
                                     const std::string &midimapFile);

} // namespace render
