#pragma once
// A back-end whose format lives in one archiver library (every format but ZIP): listing,
// checking and owner-window registration go straight to that library's entries.

#include "archiver.h"
#include "archiverunit.h"

namespace archives {

class TBoundArchiver : public TArchiver
{
public:
    void LoadDLL() override;
    void FreeDLL() override;

    HARC OpenArchive(HWND window, const std::string &archiveName, std::uint32_t mode) override;
    int FindFirst(HARC handle, INDIVIDUALINFO &info, const std::string &wildcard) override;
    int FindNext(HARC handle, INDIVIDUALINFO &info) override;
    int CloseArchive(HARC handle) override;
    // Passes mode + flags as the library's mode.
    int CheckArchive(const std::string &archiveName, int mode, int flags) override;
    bool SetOwnerWindow(HWND window, void *callback) override;
    bool KillOwnerWindow(HWND window) override;

protected:
    // Loads the unit's library at once: raises its missing-library message.
    explicit TBoundArchiver(ArchiverUnit &unit);

    ArchiverUnit &Unit() const { return unit_; }
    // Stores commandLine as CommandLine() and runs it through unit's command entry.
    int RunCommand(ArchiverUnit &unit, HWND window, const std::string &commandLine,
                   std::string &output);

private:
    ArchiverUnit &unit_;
};

} // namespace archives
