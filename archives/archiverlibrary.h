#pragma once
// One archiver library as a back-end unit binds it: loaded by its library name
// ("UNLHA32.DLL" -> libunlha32.so, program folder first), kept loaded until freed.

#include "platform/dynlib.h"

#include <string>
#include <unordered_map>

namespace archives {

class ArchiverLibrary
{
public:
    explicit ArchiverLibrary(std::string name);

    // The library name, e.g. "UNLHA32.DLL".
    const std::string &Name() const { return name_; }
    bool IsLoaded() const { return module_.IsLoaded(); }
    // Loads the library unless it is loaded; true when it is loaded afterwards.
    bool Load();
    void Free();
    // The address of entry, or nullptr when the library is not loaded or has no such entry.
    void *Find(const std::string &entry) const;
    // The full file name the library was loaded from; while it is not loaded, the file
    // name its library name stands for.
    std::string FileName() const;

private:
    std::string name_;
    platform::DynamicLibrary module_;
};

// The address of entry in library. Raises EArchiver
// "<library's full file name> に <entry> のエントリが見つかりません。" when there is none.
void *GetEntry(const ArchiverLibrary &library, const std::string &entry);

// Entry addresses resolved once and kept until the unit frees its libraries.
class EntryCache
{
public:
    // The cached address of entry, or nullptr when it has not been resolved yet.
    void *Find(const std::string &entry) const;
    void Store(const std::string &entry, void *address) { entries_[entry] = address; }
    void Clear() { entries_.clear(); }

private:
    std::unordered_map<std::string, void *> entries_;
};

} // namespace archives
