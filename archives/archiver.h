#pragma once
// The abstract back-end: one archive format bound to one outside archiver library.
//
// Listing goes through the library's open/find/close entries; every other operation builds
// a command line (kept in CommandLine()) and hands it to the library's command entry.
// Results are the libraries' codes, unchanged (0 is success). An operation a format does not
// support raises EArchiver with the operation's message; so do a missing library or entry.
// Constructing a back-end loads its library; destroying it leaves the library loaded.

#include "archiveroptions.h"
#include "cmdopt.h"
#include "outside/include/archiver_api.h"

#include <cstdint>
#include <string>

namespace archives {

class TArchiver
{
public:
    virtual ~TArchiver() = default;
    TArchiver(const TArchiver &) = delete;
    TArchiver &operator=(const TArchiver &) = delete;

    // The last command line this back-end built.
    const std::string &CommandLine() const { return commandLine_; }
    // The window registered by SetOwnerWindow; null when none.
    HWND OwnerWindow() const { return ownerWindow_; }
    // Written in command lines in place of every backslash of a path.
    char PathDelimiter() const { return pathDelimiter_; }

    // Loads the unit's libraries (raising its missing-library message) / unloads them.
    virtual void LoadDLL();
    virtual void FreeDLL();

    // A listing: a non-zero handle when the library opened the archive (the name is made a
    // full path first); FindFirst and FindNext give 0 with info filled, -1 when no (more)
    // member matches, anything else is the library's error code.
    virtual HARC OpenArchive(HWND window, const std::string &archiveName, std::uint32_t mode);
    virtual int FindFirst(HARC handle, INDIVIDUALINFO &info, const std::string &wildcard);
    virtual int FindNext(HARC handle, INDIVIDUALINFO &info);
    virtual int CloseArchive(HARC handle);

    // Command operations. output is the caller's report buffer (the library may write into
    // its length); files may be null.
    virtual int Extract(HWND window, const std::string &archiveName, std::string &output,
                        const TStringList *files, const std::string &folder,
                        const TArchiverOptions &options) = 0;
    virtual int Pack(HWND window, const std::string &archiveName, std::string &output,
                     const TStringList *files, const std::string &folder,
                     const TArchiverOptions &options);
    virtual int Delete(HWND window, const std::string &archiveName, std::string &output,
                       const TStringList *files, const std::string &folder,
                       const TArchiverOptions &options);
    virtual int Update(HWND window, const std::string &archiveName, std::string &output,
                       const TStringList *files, const std::string &folder,
                       const TArchiverOptions &options);
    virtual int MakeSFX(HWND window, const std::string &archiveName, std::string &output,
                        const std::string &folder, const TArchiverOptions &options);
    virtual int CheckArchive(const std::string &archiveName, int mode, int flags);

    // Registers window for the library's "wm_arcextract" messages; true when the library
    // accepted it. OwnerWindow() is window afterwards whatever the library answered.
    virtual bool SetOwnerWindow(HWND window, void *callback);
    // Ends the registration; OwnerWindow() is null afterwards.
    virtual bool KillOwnerWindow(HWND window);

protected:
    explicit TArchiver(char pathDelimiter = '\\')
        : pathDelimiter_(pathDelimiter)
    {
    }

    void SetCommandLine(const std::string &commandLine) { commandLine_ = commandLine; }
    void SetOwnerWindowHandle(HWND window) { ownerWindow_ = window; }
    TCmdOpt NewCmdOpt() const { return TCmdOpt(pathDelimiter_); }

    // The closing items every recipe shares: UserOptions, the archive name, the folder
    // (unless empty), the files (when given) and UserFileList.
    static void AddArchiveAndFiles(TCmdOpt &cmd, const TArchiverOptions &options,
                                   const std::string &archiveName, const std::string &folder,
                                   const TStringList *files);

private:
    std::string commandLine_;
    HWND ownerWindow_ = nullptr;
    char pathDelimiter_;
};

} // namespace archives
