#pragma once
// The SoundFonts installed on the system.

#include <string>
#include <vector>

namespace mci {

// The folders searched, in order: /usr/share/sounds/sf2, /usr/share/sounds/sf3,
// /usr/share/soundfonts, /usr/local/share/soundfonts, ~/.local/share/soundfonts.
std::vector<std::string> SoundFontFolders();

// The .sf2 and .sf3 files in those folders (links resolved, each file once), the General
// MIDI ones first: FluidR3_GM, then other names with "GM" in them, then the rest by name.
std::vector<std::string> InstalledSoundFonts();
// As InstalledSoundFonts, searching folders instead.
std::vector<std::string> FindSoundFonts(const std::vector<std::string> &folders);

// The first of InstalledSoundFonts(); empty when there is none.
std::string DefaultSoundFont();

} // namespace mci
