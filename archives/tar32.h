#pragma once
// The TAR family over "tar32.dll" (entries "Tar..."): plain tar, the gzip and compress
// family (TTgz32) and bzip2 (TBZ232), which differ only in their compression switch.

#include "archivertype.h"
#include "boundarchiver.h"

namespace archives {

class TTar32 : public TBoundArchiver
{
public:
    // Loads "tar32.dll"; raises "tar/tgz/taz/bz2 形式書庫を扱うには tar32.dll が 必要です。".
    TTar32();

    static void UnloadDLL();
    // The kind of tar archive "TarGetArchiveType" reports for name (passed as given): atTar,
    // atTgz, atBZ2, or atNone for anything else and for any failure. Never raises.
    static TArchiverType ProbeArchive(const std::string &name);

    // "x" + recipe; a non-null window is brought to the foreground after the library returns.
    int Extract(HWND window, const std::string &archiveName, std::string &output,
                const TStringList *files, const std::string &folder,
                const TArchiverOptions &options) override;
    // "c" + recipe, likewise.
    int Pack(HWND window, const std::string &archiveName, std::string &output,
             const TStringList *files, const std::string &folder,
             const TArchiverOptions &options) override;
    // Writes "kmtarsef.exe" (found along the search path) followed by the archive as
    // SelfExtractorName(archiveName, folder) and returns 0 without calling the library.
    // Raises for bzip2 archives and when the head program is missing.
    int MakeSFX(HWND window, const std::string &archiveName, std::string &output,
                const std::string &folder, const TArchiverOptions &options) override;

private:
    std::string TarRecipe(const TArchiverOptions &options, const std::string &archiveName,
                          const std::string &folder, const TStringList *files) const;
    int RunTarCommand(HWND window, const std::string &commandLine, std::string &output);
};

class TTgz32 : public TTar32
{
};

class TBZ232 : public TTar32
{
};

} // namespace archives
