#pragma once
// One archive file behind a single interface whatever its format: the format is worked out
// from the name (or the content), the matching back-end is created, and listing and
// extraction are forwarded to it.
//
// A component is meant for one use: set FileName, then list (OpenArchive, FindFirst,
// FindNext, CloseArchive) or Extract, then destroy it. The archiver libraries it loads stay
// loaded for the rest of the process. Failures of the layer raise EArchiver; the libraries'
// result codes are returned unchanged.

#include "archiver.h"
#include "archiveroptions.h"
#include "archivertype.h"
#include "outside/include/archiver_api.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace archives {

class TProgressWindow;

class TArchiveFile
{
public:
    // Called for every progress message of a library during Extract: state and lpEis are
    // the library's, passed through unread. Setting abort to true asks the library to stop.
    // An exception thrown here stops the library and is rethrown by Extract.
    using TArchiverProgressEvent = std::function<void(TArchiveFile &sender, std::int32_t state,
                                                      EXTRACTINGINFOEX *lpEis, bool &abort)>;

    // ArchiverType atAutoDetect, FileName unset, no back-end; loads no library.
    TArchiveFile();
    ~TArchiveFile();
    TArchiveFile(const TArchiveFile &) = delete;
    TArchiveFile &operator=(const TArchiveFile &) = delete;

    // The format of name. By extension (ASCII case ignored): ".lzh" atLha, ".cab" atCab,
    // ".zip" atZip, ".arj" atArj, ".rar" atRar, ".bz2" atBZ2, ".tar" atTar, ".z" ".gz" ".tgz"
    // ".taz" atTgz, ".exe" by content, anything else atNone. By content: every library that
    // can be loaded probes the file; LHA wins over ZIP, CAB, ARJ and RAR in that order, then
    // the TAR library's answer (atTar, atTgz, atBZ2 or atNone). Never raises.
    static TArchiverType DetectArchiverType(const std::string &name, bool byExtension);

    TArchiverType ArchiverType() const { return archiverType_; }
    // atLha … atRar create that back-end (loading its library); only when that succeeds is
    // the old one replaced. atNone changes nothing; atAutoDetect keeps the back-end. Any
    // other value raises "現在のバージョンではこの形式の書庫をサポートしていません。".
    void SetArchiverType(TArchiverType value);
    // The current back-end; null until a type was set or detected.
    TArchiver *Archiver() const { return archiver_.get(); }

    const std::string &FileName() const { return fileName_; }
    // Sets ArchiverType by the extension of value, then stores value. When that raises
    // (a missing library), nothing has changed.
    void SetFileName(const std::string &value);

    // The options of every operation; change them in place.
    TArchiverOptions &Options() { return options_; }
    const TArchiverOptions &Options() const { return options_; }

    // The command line the back-end built for the last successful Extract call.
    const std::string &CommandLine() const { return commandLine_; }

    // The buffer handed to the library for its report text: size bytes, the first NUL;
    // size 0 or less hands the library no buffer.
    int OutputSize() const { return static_cast<int>(outputBuffer_.size()); }
    void SetOutputSize(int size);
    // The report text the library left in the buffer (up to its first NUL).
    std::string OutputText() const;

    const TArchiverProgressEvent &OnProgress() const { return onProgress_; }
    void SetOnProgress(TArchiverProgressEvent handler) { onProgress_ = std::move(handler); }
    // The hidden window receiving "wm_arcextract"; null until an Extract with OnProgress set.
    HWND ProgressWindow() const;

    // The handle of the open listing; 0 when none is open.
    HARC ArchiveHandle() const { return archiveHandle_; }

    // Detects the format by content first when ArchiverType is atAutoDetect, then opens a
    // listing: the handle, 0 when the library could not open the archive. Raises
    // "書庫の形式を判別できません。" when there is no back-end.
    HARC OpenArchive(HWND window, std::uint32_t mode);
    // 0 with info filled for a member, -1 when no (more) member matches, else the library's
    // error code. Raises "書庫の形式を判別できません。" when there is no back-end.
    int FindFirst(const std::string &wildcard, INDIVIDUALINFO &info);
    int FindNext(INDIVIDUALINFO &info);
    // Closes the listing; ArchiveHandle() is 0 afterwards.
    void CloseArchive();

    // Extracts the members matching files (names or wildcards; null for all) into folder
    // with Options(). Returns the library's code, 0 for success. No detection here: raises
    // "書庫の形式を判別できません。" when there is no back-end.
    int Extract(HWND window, const std::string &folder, const TStringList *files);
    // The same with other options (null: Options()). The response file is always governed
    // by Options().
    int Extract(HWND window, const TArchiverOptions *options, const TStringList *files,
                const std::string &folder);

private:
    TArchiver &CheckedArchiver() const;
    void AutoDetect();
    // Registers the hidden window with the back-end while OnProgress is set; false when
    // nothing was registered. Failures are swallowed.
    bool BeginProgress();
    void EndProgress();
    bool ReceiveProgress(std::int32_t state, EXTRACTINGINFOEX *info);

    TArchiverType archiverType_ = TArchiverType::atAutoDetect;
    std::unique_ptr<TArchiver> archiver_;
    TArchiverOptions options_;
    std::string fileName_ = UnsetText();
    std::string commandLine_;
    std::string outputBuffer_;
    std::unique_ptr<TProgressWindow> progressWindow_;
    TArchiverProgressEvent onProgress_;
    HARC archiveHandle_ = 0;
    std::exception_ptr progressError_;
};

} // namespace archives
