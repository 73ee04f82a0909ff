#include "boundarchiver.h"

#include "fullpath.h"

namespace archives {

TBoundArchiver::TBoundArchiver(ArchiverUnit &unit)
    : unit_(unit)
{
    unit_.LoadDLL();
}

void TBoundArchiver::LoadDLL()
{
    unit_.LoadDLL();
}

void TBoundArchiver::FreeDLL()
{
    unit_.FreeDLL();
}

HARC TBoundArchiver::OpenArchive(HWND window, const std::string &archiveName, std::uint32_t mode)
{
    return unit_.OpenArchive(window, ExpandFileName(archiveName), mode);
}

int TBoundArchiver::FindFirst(HARC handle, INDIVIDUALINFO &info, const std::string &wildcard)
{
    return unit_.FindFirst(handle, wildcard, info);
}

int TBoundArchiver::FindNext(HARC handle, INDIVIDUALINFO &info)
{
    return unit_.FindNext(handle, info);
}

int TBoundArchiver::CloseArchive(HARC handle)
{
    return unit_.CloseArchive(handle);
}

int TBoundArchiver::CheckArchive(const std::string &archiveName, int mode, int flags)
{
    // Wrapping addition, as the 32-bit values add in the library interface.
    const auto sum = static_cast<std::uint32_t>(mode) + static_cast<std::uint32_t>(flags);
    return unit_.CheckArchive(archiveName, static_cast<int>(sum));
}

bool TBoundArchiver::SetOwnerWindow(HWND window, void *callback)
{
    const int result = unit_.SetOwnerWindowEx(window, callback);
    SetOwnerWindowHandle(window);
    return result != 0;
}

bool TBoundArchiver::KillOwnerWindow(HWND window)
{
    const int result = unit_.KillOwnerWindowEx(window);
    SetOwnerWindowHandle(nullptr);
    return result != 0;
}

int TBoundArchiver::RunCommand(ArchiverUnit &unit, HWND window, const std::string &commandLine,
                               std::string &output)
{
    SetCommandLine(commandLine);
    return unit.Command(window, CommandLine(), output);
}

} // namespace archives
