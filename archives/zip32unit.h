#pragma once
// The process-wide binding of the ZIP unit to its three libraries: "UNZIP32.DLL" (extracts),
// "ZIP32J.DLL" (creates) and "LMZIP32.DLL" (both). Each entry is searched in a fixed order
// of the loaded libraries and cached; "LMZIP32.DLL" spells "UnZip..." as "Unzip...".

#include "archiverlibrary.h"
#include "outside/include/archiver_api.h"

#include <cstdint>
#include <initializer_list>
#include <string>

namespace archives {

class ZipUnit
{
public:
    static ZipUnit &Instance();

    // Loads every one of the three that is present and not yet loaded; raises
    // "ZIP 形式書庫を解凍するには UNZIP32.DLL が、作成するには ZIP32J.DLL が必要です。"
    // when none is loaded afterwards.
    void LoadDLL();
    void FreeDLL();

    bool Unzip32Loaded() const { return unzip32_.IsLoaded(); }
    bool Zip32jLoaded() const { return zip32j_.IsLoaded(); }
    bool Lmzip32Loaded() const { return lmzip32_.IsLoaded(); }

    // "Zip" from "ZIP32J.DLL" or "LMZIP32.DLL"; raises the creation message when neither
    // is loaded.
    int Zip(HWND window, const std::string &commandLine, std::string &output);
    // "UnZip" from "UNZIP32.DLL" or "LMZIP32.DLL"; raises the extraction message when
    // neither is loaded.
    int UnZip(HWND window, const std::string &commandLine, std::string &output);
    // Listing entries, searched in "LMZIP32.DLL", "ZIP32J.DLL", "UNZIP32.DLL".
    HARC OpenArchive(HWND window, const std::string &path, std::uint32_t mode);
    int CloseArchive(HARC archive);
    int FindFirst(HARC archive, const std::string &wildcard, INDIVIDUALINFO &info);
    int FindNext(HARC archive, INDIVIDUALINFO &info);
    // Searched in "UNZIP32.DLL", "LMZIP32.DLL", "ZIP32J.DLL".
    int CheckArchive(const std::string &path, int mode);
    // Only "UNZIP32.DLL" has these; a missing entry raises GetEntry's message.
    int SetOwnerWindowEx(HWND window, void *callback);
    int KillOwnerWindowEx(HWND window);

    // Whether the libraries open name (made a full path) in probe mode. Never raises.
    bool Probe(const std::string &name) noexcept;

private:
    ZipUnit();

    // The cached address of entry, else the first of libraries (loaded ones only) that has
    // it; raises "<entry> のエントリが見つかりません。" when none has.
    void *Search(const std::string &entry,
                 std::initializer_list<const ArchiverLibrary *> libraries);
    // entry from "UNZIP32.DLL" through GetEntry, cached.
    void *Unzip32Entry(const std::string &entry);

    ArchiverLibrary unzip32_;
    ArchiverLibrary zip32j_;
    ArchiverLibrary lmzip32_;
    EntryCache entries_;
};

} // namespace archives
