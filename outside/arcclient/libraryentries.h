#pragma once
// The entries every archiver library exports, implemented once for all of them. A library
// names its prefix and profile and expands ARCHIVER_LIBRARY_ENTRIES; its export list
// (ArchiverLibrary.cmake) keeps everything else hidden. The contracts of the entries are
// those of outside/include/archiver_api.h. Nothing leaves an entry as an exception.

#include "commandline.h"
#include "outside/arccommon/workerjob.h"
#include "outside/include/archiver_api.h"

namespace arc {

struct LibraryProfile
{
    ArchiveKind kind;
    CommandStyle style;
};

int CommandEntry(const LibraryProfile &profile, HWND window, const char *commandLine, char *output,
                 uint32_t outputSize);
HARC OpenArchiveEntry(const LibraryProfile &profile, HWND window, const char *archivePath,
                      uint32_t mode);
int CloseArchiveEntry(HARC archive);
int FindFirstEntry(HARC archive, const char *wildcard, INDIVIDUALINFO *info);
int FindNextEntry(HARC archive, INDIVIDUALINFO *info);
int CheckArchiveEntry(const LibraryProfile &profile, const char *archivePath, int mode);
int SetOwnerWindowExEntry(HWND window, void *callback);
int KillOwnerWindowExEntry(HWND window);
int TarGetArchiveTypeEntry(const char *archivePath);

} // namespace arc

#define ARCHIVER_LIBRARY_ENTRIES(prefix, profile)                                                  \
    extern "C" {                                                                                   \
    ARC_EXPORT int prefix(HWND window, const char *commandLine, char *output, uint32_t outputSize) \
    {                                                                                              \
        return arc::CommandEntry(profile, window, commandLine, output, outputSize);                \
    }                                                                                              \
    ARC_EXPORT HARC prefix##OpenArchive(HWND window, const char *archivePath, uint32_t mode)       \
    {                                                                                              \
        return arc::OpenArchiveEntry(profile, window, archivePath, mode);                          \
    }                                                                                              \
    ARC_EXPORT int prefix##CloseArchive(HARC archive)                                              \
    {                                                                                              \
        return arc::CloseArchiveEntry(archive);                                                    \
    }                                                                                              \
    ARC_EXPORT int prefix##FindFirst(HARC archive, const char *wildcard, INDIVIDUALINFO *info)     \
    {                                                                                              \
        return arc::FindFirstEntry(archive, wildcard, info);                                       \
    }                                                                                              \
    ARC_EXPORT int prefix##FindNext(HARC archive, INDIVIDUALINFO *info)                            \
    {                                                                                              \
        return arc::FindNextEntry(archive, info);                                                  \
    }                                                                                              \
    ARC_EXPORT int prefix##CheckArchive(const char *archivePath, int mode)                         \
    {                                                                                              \
        return arc::CheckArchiveEntry(profile, archivePath, mode);                                 \
    }                                                                                              \
    ARC_EXPORT int prefix##SetOwnerWindowEx(HWND window, void *callback)                           \
    {                                                                                              \
        return arc::SetOwnerWindowExEntry(window, callback);                                       \
    }                                                                                              \
    ARC_EXPORT int prefix##KillOwnerWindowEx(HWND window)                                          \
    {                                                                                              \
        return arc::KillOwnerWindowExEntry(window);                                                \
    }                                                                                              \
    }
