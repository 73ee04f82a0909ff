#pragma once
// The CAB back-end over "CAB32.DLL" (entries "Cab...").

#include "boundarchiver.h"

namespace archives {

class TCab32 : public TBoundArchiver
{
public:
    // Loads "CAB32.DLL"; raises "CAB 形式書庫を扱うには CAB32.DLL が 必要です。".
    TCab32();

    static void UnloadDLL();
    static bool ProbeArchive(const std::string &name);

    // "-x" + recipe, the archive name made a full path first.
    int Extract(HWND window, const std::string &archiveName, std::string &output,
                const TStringList *files, const std::string &folder,
                const TArchiverOptions &options) override;
    // "-a" + recipe.
    int Pack(HWND window, const std::string &archiveName, std::string &output,
             const TStringList *files, const std::string &folder,
             const TArchiverOptions &options) override;
    // "-f" + recipe without files.
    int MakeSFX(HWND window, const std::string &archiveName, std::string &output,
                const std::string &folder, const TArchiverOptions &options) override;

private:
    std::string CabRecipe(const TArchiverOptions &options, const std::string &archiveName,
                          const std::string &folder, const TStringList *files) const;
};

} // namespace archives
