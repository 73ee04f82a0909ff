#pragma once
// The process-wide binding of one back-end unit to its archiver library: the module, the
// cached entry addresses and one wrapper per entry of the common archiver interface.
//
// Every wrapper except FindNext and the two owner-window wrappers loads the library first
// (raising the unit's missing-library message when it cannot); every wrapper resolves its
// entry on first use (raising GetEntry's message when the library lacks it) and keeps the
// address until FreeDLL. The libraries' result codes come back unchanged.

#include "archiverlibrary.h"
#include "outside/include/archiver_api.h"

#include <cstdint>
#include <string>

namespace archives {

// Calls a command entry with the output buffer: its address and length when output is
// not empty, else a null address and size 0.
int CallCommand(ARC_COMMAND command, HWND window, const std::string &commandLine,
                std::string &output);

class ArchiverUnit
{
public:
    ArchiverUnit(std::string libraryName, std::string prefix, std::string missingLibraryMessage);
    ArchiverUnit(const ArchiverUnit &) = delete;
    ArchiverUnit &operator=(const ArchiverUnit &) = delete;

    const ArchiverLibrary &Library() const { return library_; }

    // Loads the library unless it is loaded; raises the missing-library message.
    void LoadDLL();
    // Unloads the library and forgets every cached entry.
    void FreeDLL();

    int Command(HWND window, const std::string &commandLine, std::string &output);
    HARC OpenArchive(HWND window, const std::string &path, std::uint32_t mode);
    int CloseArchive(HARC archive);
    int FindFirst(HARC archive, const std::string &wildcard, INDIVIDUALINFO &info);
    int FindNext(HARC archive, INDIVIDUALINFO &info);
    int CheckArchive(const std::string &path, int mode);
    int SetOwnerWindowEx(HWND window, void *callback);
    int KillOwnerWindowEx(HWND window);
    // prefix + "GetArchiveType" (the TAR library's).
    int GetArchiveType(const std::string &path);

    // Whether the library opens name (made a full path) in probe mode; the handle is closed
    // again. Never raises: a missing library or entry answers false.
    bool Probe(const std::string &name) noexcept;

private:
    template<typename Function>
    Function Entry(const std::string &suffix);

    ArchiverLibrary library_;
    std::string prefix_;
    std::string missingLibraryMessage_;
    EntryCache entries_;
};

} // namespace archives
