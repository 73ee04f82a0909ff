#include "zip32unit.h"

#include "archiverunit.h"
#include "earchiver.h"
#include "fullpath.h"

namespace archives {
namespace {

// "LMZIP32.DLL" writes the third letter of "UnZip..." in lower case.
std::string LmzipSpelling(std::string entry)
{
    if (entry.size() >= 3 && entry[2] == 'Z')
        entry[2] = 'z';
    return entry;
}

} // namespace

ZipUnit &ZipUnit::Instance()
{
    static ZipUnit unit;
    return unit;
}

ZipUnit::ZipUnit()
    : unzip32_("UNZIP32.DLL")
    , zip32j_("ZIP32J.DLL")
    , lmzip32_("LMZIP32.DLL")
{
}

void ZipUnit::LoadDLL()
{
    const bool unzip = unzip32_.Load();
    const bool zip = zip32j_.Load();
    const bool lmzip = lmzip32_.Load();
    if (!unzip && !zip && !lmzip)
        throw EArchiver(
            "ZIP 形式書庫を解凍するには UNZIP32.DLL が、作成するには ZIP32J.DLL が必要です。");
}

void ZipUnit::FreeDLL()
{
    entries_.Clear();
    unzip32_.Free();
    zip32j_.Free();
    lmzip32_.Free();
}

void *ZipUnit::Search(const std::string &entry,
                      std::initializer_list<const ArchiverLibrary *> libraries)
{
    if (void *cached = entries_.Find(entry))
        return cached;
    for (const ArchiverLibrary *library : libraries) {
        const std::string name = library == &lmzip32_ ? LmzipSpelling(entry) : entry;
        if (void *address = library->Find(name)) {
            entries_.Store(entry, address);
            return address;
        }
    }
    throw EArchiver(entry + " のエントリが見つかりません。");
}

void *ZipUnit::Unzip32Entry(const std::string &entry)
{
    if (void *cached = entries_.Find(entry))
        return cached;
    void *address = GetEntry(unzip32_, entry);
    entries_.Store(entry, address);
    return address;
}

int ZipUnit::Zip(HWND window, const std::string &commandLine, std::string &output)
{
    LoadDLL();
    if (!zip32j_.IsLoaded() && !lmzip32_.IsLoaded())
        throw EArchiver("ZIP 形式書庫の作成には ZIP32J.DLL または LMZIP32.DLL が必要です。");
    const auto entry = reinterpret_cast<ARC_COMMAND>(Search("Zip", {&zip32j_, &lmzip32_}));
    return CallCommand(entry, window, commandLine, output);
}

int ZipUnit::UnZip(HWND window, const std::string &commandLine, std::string &output)
{
    LoadDLL();
    if (!unzip32_.IsLoaded() && !lmzip32_.IsLoaded())
        throw EArchiver("ZIP 形式書庫の解凍には UNZIP32.DLL または LMZIP32.DLL が必要です。");
    const auto entry = reinterpret_cast<ARC_COMMAND>(Search("UnZip", {&unzip32_, &lmzip32_}));
    return CallCommand(entry, window, commandLine, output);
}

HARC ZipUnit::OpenArchive(HWND window, const std::string &path, std::uint32_t mode)
{
    LoadDLL();
    const auto entry = reinterpret_cast<ARC_OPEN_ARCHIVE>(
        Search("UnZipOpenArchive", {&lmzip32_, &zip32j_, &unzip32_}));
    return entry(window, path.c_str(), mode);
}

int ZipUnit::CloseArchive(HARC archive)
{
    LoadDLL();
    const auto entry = reinterpret_cast<ARC_CLOSE_ARCHIVE>(
        Search("UnZipCloseArchive", {&lmzip32_, &zip32j_, &unzip32_}));
    return entry(archive);
}

int ZipUnit::FindFirst(HARC archive, const std::string &wildcard, INDIVIDUALINFO &info)
{
    LoadDLL();
    const auto entry = reinterpret_cast<ARC_FIND_FIRST>(
        Search("UnZipFindFirst", {&lmzip32_, &zip32j_, &unzip32_}));
    return entry(archive, wildcard.c_str(), &info);
}

int ZipUnit::FindNext(HARC archive, INDIVIDUALINFO &info)
{
    const auto entry =
        reinterpret_cast<ARC_FIND_NEXT>(Search("UnZipFindNext", {&lmzip32_, &zip32j_, &unzip32_}));
    return entry(archive, &info);
}

int ZipUnit::CheckArchive(const std::string &path, int mode)
{
    LoadDLL();
    const auto entry = reinterpret_cast<ARC_CHECK_ARCHIVE>(
        Search("UnZipCheckArchive", {&unzip32_, &lmzip32_, &zip32j_}));
    return entry(path.c_str(), mode);
}

int ZipUnit::SetOwnerWindowEx(HWND window, void *callback)
{
    const auto entry =
        reinterpret_cast<ARC_SET_OWNER_WINDOW_EX>(Unzip32Entry("UnZipSetOwnerWindowEx"));
    return entry(window, callback);
}

int ZipUnit::KillOwnerWindowEx(HWND window)
{
    const auto entry =
        reinterpret_cast<ARC_KILL_OWNER_WINDOW_EX>(Unzip32Entry("UnZipKillOwnerWindowEx"));
    return entry(window);
}

bool ZipUnit::Probe(const std::string &name) noexcept
{
    try {
        LoadDLL();
        const HARC archive = OpenArchive(nullptr, ExpandFileName(name), M_CHECK_ARCHIVE_PROBE);
        if (archive != 0)
            CloseArchive(archive);
        return archive != 0;
    } catch (...) {
        return false;
    }
}

} // namespace archives
