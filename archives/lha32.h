#pragma once
// The LHA back-end over "UNLHA32.DLL" (entries "Unlha..."). Its recipe passes every option
// under its own switch letters.

#include "boundarchiver.h"

namespace archives {

class TLha32 : public TBoundArchiver
{
public:
    // Loads "UNLHA32.DLL"; raises "Lha 形式書庫を扱うには UNLHA32.DLL が 必要です。".
    TLha32();

    // Unloads the unit's library and forgets its entries.
    static void UnloadDLL();
    // Whether "UNLHA32.DLL" opens name as an archive; false when it is missing.
    static bool ProbeArchive(const std::string &name);

    // "x" + recipe through this back-end's command entry.
    int Extract(HWND window, const std::string &archiveName, std::string &output,
                const TStringList *files, const std::string &folder,
                const TArchiverOptions &options) override;
    // The remaining commands always run through "Unlha": "u" (pack), "d" (delete, no
    // folder), "f" (update) and "s" (self-extractor, no files).
    int Pack(HWND window, const std::string &archiveName, std::string &output,
             const TStringList *files, const std::string &folder,
             const TArchiverOptions &options) override;
    int Delete(HWND window, const std::string &archiveName, std::string &output,
               const TStringList *files, const std::string &folder,
               const TArchiverOptions &options) override;
    int Update(HWND window, const std::string &archiveName, std::string &output,
               const TStringList *files, const std::string &folder,
               const TArchiverOptions &options) override;
    int MakeSFX(HWND window, const std::string &archiveName, std::string &output,
                const std::string &folder, const TArchiverOptions &options) override;

protected:
    // A back-end that shares the LHA recipe but extracts, lists and checks through unit.
    explicit TLha32(ArchiverUnit &unit);

    // The switches and items after the command text (begins with a blank).
    std::string LhaRecipe(const TArchiverOptions &options, const std::string &archiveName,
                          const std::string &folder, const TStringList *files) const;
};

} // namespace archives
