#pragma once
// Where this user's own files are kept: beside the program in a portable program folder,
// in folders of the user's own for an installed one.
//
// A program folder is portable when the user may write into it and it holds no
// InstalledMarkerName file (which an installation puts there). An installed program keeps
//   ConfigFolder = $XDG_CONFIG_HOME/sonolux/ (default ~/.config/sonolux/): "Sonolux.ini",
//                  "Sonolux.lst" and the device's "midimap.ini";
//   DataFolder   = $XDG_DATA_HOME/sonolux/ (default ~/.local/share/sonolux/): the user's own
//                  designs in "skin/" and reset files in "format/";
// and still offers the designs and reset files shipped in its own "skin/" and "format/".

#include <string>
#include <vector>

// The file whose presence marks a program folder as installed.
extern const char *const InstalledMarkerName;
// The sub-folders holding designs and reset files, in the program folder and in DataFolder.
extern const char *const SkinSubfolder;
extern const char *const FormatSubfolder;

enum class TProgramFolderKind { Portable, Installed };

// Installed when folder holds InstalledMarkerName or this user may not write into it.
TProgramFolderKind ProgramFolderKind(const std::string &folder);

struct TUserFolders
{
    std::string config; // ending in "/"
    std::string data;   // ending in "/"
};

// The user folders of an installed program by the XDG base directory rules: a variable
// that is null, empty or not an absolute path gives the default under home. Throws
// std::runtime_error when home is needed and is null, empty or not absolute.
TUserFolders InstalledUserFolders(const char *home, const char *configHome, const char *dataHome);

// ExeFolder := folder (ending in "/"); ConfigFolder and DataFolder := folder when it is
// portable, else the installed user folders of this process's environment ($HOME, else the
// password database). ConfigFolder is created (mode 0700) when missing; a failure shows
// when a file is written there. Throws std::runtime_error when no home folder is known.
void SetProgramFolder(const std::string &folder);

// The folders searched for files of subfolder (SkinSubfolder, FormatSubfolder), in order:
// DataFolder's, then the program folder's; one folder when the two are the same.
std::vector<std::string> DataFileFolders(const std::string &subfolder);

// The file name in subfolder: the user's own (DataFolder) when it exists there, else the
// one shipped in the program folder (whether or not that exists).
std::string FindDataFile(const std::string &subfolder, const std::string &name);

// Creates folder and every missing folder above it with mode 0700. Throws
// std::runtime_error naming the folder when it cannot be had.
void MakeFolderPath(const std::string &folder);
