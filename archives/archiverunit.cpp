#include "archiverunit.h"

#include "earchiver.h"
#include "fullpath.h"

#include <utility>

namespace archives {

int CallCommand(ARC_COMMAND command, HWND window, const std::string &commandLine,
                std::string &output)
{
    char *buffer = output.empty() ? nullptr : output.data();
    const auto size = static_cast<std::uint32_t>(output.size());
    return command(window, commandLine.c_str(), buffer, size);
}

ArchiverUnit::ArchiverUnit(std::string libraryName, std::string prefix,
                           std::string missingLibraryMessage)
    : library_(std::move(libraryName))
    , prefix_(std::move(prefix))
    , missingLibraryMessage_(std::move(missingLibraryMessage))
{
}

void ArchiverUnit::LoadDLL()
{
    if (!library_.Load())
        throw EArchiver(missingLibraryMessage_);
}

void ArchiverUnit::FreeDLL()
{
    entries_.Clear();
    library_.Free();
}

template<typename Function>
Function ArchiverUnit::Entry(const std::string &suffix)
{
    const std::string name = prefix_ + suffix;
    void *address = entries_.Find(name);
    if (address == nullptr) {
        address = GetEntry(library_, name);
        entries_.Store(name, address);
    }
    return reinterpret_cast<Function>(address);
}

int ArchiverUnit::Command(HWND window, const std::string &commandLine, std::string &output)
{
    LoadDLL();
    return CallCommand(Entry<ARC_COMMAND>(""), window, commandLine, output);
}

HARC ArchiverUnit::OpenArchive(HWND window, const std::string &path, std::uint32_t mode)
{
    LoadDLL();
    return Entry<ARC_OPEN_ARCHIVE>("OpenArchive")(window, path.c_str(), mode);
}

int ArchiverUnit::CloseArchive(HARC archive)
{
    LoadDLL();
    return Entry<ARC_CLOSE_ARCHIVE>("CloseArchive")(archive);
}

int ArchiverUnit::FindFirst(HARC archive, const std::string &wildcard, INDIVIDUALINFO &info)
{
    LoadDLL();
    return Entry<ARC_FIND_FIRST>("FindFirst")(archive, wildcard.c_str(), &info);
}

int ArchiverUnit::FindNext(HARC archive, INDIVIDUALINFO &info)
{
    return Entry<ARC_FIND_NEXT>("FindNext")(archive, &info);
}

int ArchiverUnit::CheckArchive(const std::string &path, int mode)
{
    LoadDLL();
    return Entry<ARC_CHECK_ARCHIVE>("CheckArchive")(path.c_str(), mode);
}

int ArchiverUnit::SetOwnerWindowEx(HWND window, void *callback)
{
    return Entry<ARC_SET_OWNER_WINDOW_EX>("SetOwnerWindowEx")(window, callback);
}

int ArchiverUnit::KillOwnerWindowEx(HWND window)
{
    return Entry<ARC_KILL_OWNER_WINDOW_EX>("KillOwnerWindowEx")(window);
}

int ArchiverUnit::GetArchiveType(const std::string &path)
{
    LoadDLL();
    return Entry<ARC_GET_ARCHIVE_TYPE>("GetArchiveType")(path.c_str());
}

bool ArchiverUnit::Probe(const std::string &name) noexcept
{
    try {
        LoadDLL();
        const HARC archive = OpenArchive(nullptr, ExpandFileName(name), M_CHECK_ARCHIVE_PROBE);
        CloseArchive(archive);
        return archive != 0;
    } catch (...) {
        return false;
    }
}

} // namespace archives
