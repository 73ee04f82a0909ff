#pragma once
// The RAR back-end over "UNRAR32.DLL" (entries "Unrar..."): extraction only.

#include "boundarchiver.h"

namespace archives {

class TRar32 : public TBoundArchiver
{
public:
    // Loads "UNRAR32.DLL"; raises "この機能の使用には UNRAR32.DLL が 必要です。".
    TRar32();

    static void UnloadDLL();
    static bool ProbeArchive(const std::string &name);

    // "-x" + recipe, or "-e" + recipe (members without their folders) when option x is 0.
    int Extract(HWND window, const std::string &archiveName, std::string &output,
                const TStringList *files, const std::string &folder,
                const TArchiverOptions &options) override;
};

} // namespace archives
