#pragma once
// Where this user's own files are kept (see platform/userfolders.h for the rules), and the
// designs and reset files found there and in the program folder: an installed program still
// offers those shipped in its own "skin/" and "format/".

#include <string>
#include <vector>

// The sub-folders holding designs and reset files, in the program folder and in DataFolder.
extern const char *const SkinSubfolder;
extern const char *const FormatSubfolder;

// ExeFolder := folder (ending in "/"); ConfigFolder and DataFolder := the user folders of
// platform::UserFoldersFor(folder). An installed folder's ConfigFolder is created (mode 0700) when
// missing; a failure shows when a file is written there. Throws std::runtime_error when no home
// folder is known.
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
