#pragma once
// The player-wide values: one set per process, owned by the bar window's start-up and
// read and written directly by the other windows.

#include "formats/registry.h"

#include <string>

// Folder of the program, ending in "/" (exactly one; the root folder is "/").
extern std::string ExeFolder;
// The private temporary path followed by "SONOLUXTEMP", without a trailing "/".
extern std::string TempFolder;

// Where this user's own files are kept, each ending in "/" (see datafolder.h). A portable
// program folder keeps them beside the program (both are ExeFolder); an installed one keeps
// them in folders of the user's own.
extern std::string ConfigFolder; // "Sonolux.ini", "Sonolux.lst" and the device's "midimap.ini"
extern std::string DataFolder;   // the user's own designs in "skin/" and reset files in "format/"

// Which optional outside libraries could be loaded at start-up, one flag per row of
// formats::Libraries (flag formats::RcpConverterFlag: RCP song files count as songs).
using formats::LibraryCount;
using formats::RcpConverterFlag;
extern formats::TLibraryFlags LibraryPresent;

// The settings kept in "Sonolux.ini".
extern std::string SkinName;   // design file in "skin/" (see FindDataFile)
extern std::string LastFolder; // folder of the first song chosen last time in the open dialog
extern std::string FormatName; // reset file in "format/" (see FindDataFile)
extern bool ShowLength;        // the scrolling title carries the song's length
extern bool ShowLyrics;        // the title box shows the lyric line being sung, when there is one

// The program folder as ExeFolder holds it.
std::string GetExeFolder();

// Fills LibraryPresent from formats::Libraries: a flag is set when its library (and the
// second one, where there is one) can be loaded; each library is unloaded again at once.
void ProbeLibraries();

// Creates TempFolder when it does not exist (one level; a failure is ignored).
void EnsureTempFolder();
// Deletes every entry of TempFolder that is not a folder, then the folder itself when it
// is empty; failures are ignored, so a folder holding a sub-folder stays.
void ClearTempFolder();

// True when the lower-cased extension ext (dot included) is a song: ".mid", ".rmi", or
// while the RCP converter is present ".rcp", ".r36", ".g36".
bool IsSongFile(const std::string &ext);
