#pragma once
// Helpers for driving the archiver libraries through their C entries, as the program's
// archive back-ends do, and for looking at what they left on disk.

#include "outside/include/archiver_api.h"
#include "platform/dynlib.h"
#include "support/scopedenv.h"

#include <string>
#include <vector>

namespace archiver_testing {

// One archiver library of the program folder (SONOLUX_DIST_DIR) and how the program's
// back-end writes its extraction command line.
struct Format
{
    std::string name;       // "lzh", "zip", ...: also the test archives' extension
    std::string library;    // the program's name for it ("UNLHA32.DLL")
    std::string prefix;     // entry prefix ("Unlha")
    std::string command;    // command and switches as the player's extraction writes them
    bool tarSyntax = false; // "-f" before the archive, "-o" before the folder
    char folderMark = '\\';
};

const std::vector<Format> &Formats();
const Format &FormatNamed(const std::string &name);

// The player's extraction command line for format with real Linux paths: archive and
// folder quoted, the folder marked with "\" ("/" for ZIP), then masks (the five song masks
// when none are given), ending in one blank.
std::string PlayerCommandLine(const Format &format, const std::string &archive,
                              const std::string &folder,
                              const std::vector<std::string> &masks = {});

// An extraction command line that keeps stored folders, in the library's own syntax.
std::string KeepFoldersCommandLine(const Format &format, const std::string &archive,
                                   const std::string &folder,
                                   const std::vector<std::string> &masks = {});

class Archiver
{
public:
    explicit Archiver(const Format &format);
    // Loads a library from folder (a copy of the program folder's file).
    Archiver(const Format &format, const std::string &folder);

    bool Loaded() const { return library_.IsLoaded(); }
    const std::string &Path() const { return library_.Path(); }

    // The command entry; output receives the report when given.
    int Command(const std::string &line, std::string *output = nullptr) const;
    // The player's listing: OpenArchive(path, 0), FindFirst("*.*"), FindNext until non-zero,
    // CloseArchive. opened says whether OpenArchive gave a handle.
    std::vector<std::string> List(const std::string &path, bool *opened = nullptr) const;

    HARC Open(const std::string &path, uint32_t mode) const;
    int FindFirst(HARC handle, const char *wildcard, INDIVIDUALINFO *info) const;
    int FindNext(HARC handle, INDIVIDUALINFO *info) const;
    int Close(HARC handle) const;
    int Check(const std::string &path, int mode) const;
    int SetOwner(HWND window, void *callback = nullptr) const;
    int KillOwner(HWND window) const;

    template<typename Function>
    Function Entry(const std::string &suffix) const
    {
        return library_.Entry<Function>(prefix_ + suffix);
    }

private:
    platform::DynamicLibrary library_;
    std::string prefix_;
};

// Runs a program (found along PATH) in folder, quietly: its exit code, or -1.
int RunTool(const std::vector<std::string> &command, const std::string &folder);

// Every entry below folder, as paths relative to it, sorted; folders end in "/".
std::vector<std::string> TreeOf(const std::string &folder);
// Whether any symbolic link or leftover temporary file of the helper lies below folder.
bool HasLinksOrTempFiles(const std::string &folder);

std::string ReadFile(const std::string &path);

// A scoped environment variable.
using ScopedEnv = testing_support::ScopedEnv;

} // namespace archiver_testing
