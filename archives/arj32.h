#pragma once
// The ARJ back-end over "UNARJ32J.DLL" (entries "Unarj..."). It extracts with the LHA recipe
// and never hands the library a window; packing, deleting, updating and self-extractors are
// LHA's, run through "UNLHA32.DLL".

#include "lha32.h"

namespace archives {

class TArj32 : public TLha32
{
public:
    // Loads "UNARJ32J.DLL"; raises "ARJ 形式書庫を扱うには UNARJ32J.DLL が 必要です。".
    TArj32();

    static void UnloadDLL();
    static bool ProbeArchive(const std::string &name);

    // "x" + LHA recipe through "Unarj", with no window.
    int Extract(HWND window, const std::string &archiveName, std::string &output,
                const TStringList *files, const std::string &folder,
                const TArchiverOptions &options) override;
};

} // namespace archives
