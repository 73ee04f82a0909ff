#pragma once
// The ZIP back-end over up to three libraries (see ZipUnit). Paths in its command lines are
// written with "/".

#include "archiver.h"

namespace archives {

class TZip32 : public TArchiver
{
public:
    // Loads every ZIP library present; raises
    // "ZIP 形式書庫を解凍するには UNZIP32.DLL が、作成するには ZIP32J.DLL が必要です。"
    // when there is none.
    TZip32();

    static void UnloadDLL();
    static bool ProbeArchive(const std::string &name);

    void LoadDLL() override;
    void FreeDLL() override;

    HARC OpenArchive(HWND window, const std::string &archiveName, std::uint32_t mode) override;
    int FindFirst(HARC handle, INDIVIDUALINFO &info, const std::string &wildcard) override;
    int FindNext(HARC handle, INDIVIDUALINFO &info) override;
    int CloseArchive(HARC handle) override;

    // "-x" + extract recipe through "UnZip".
    int Extract(HWND window, const std::string &archiveName, std::string &output,
                const TStringList *files, const std::string &folder,
                const TArchiverOptions &options) override;
    // With "ZIP32J.DLL": the create recipe alone through "Zip". Else with "LMZIP32.DLL":
    // "-ru" + its short recipe (no folder) through "Zip", the existing archive moved out of
    // the way for the call and put back when the library fails. Else raises.
    int Pack(HWND window, const std::string &archiveName, std::string &output,
             const TStringList *files, const std::string &folder,
             const TArchiverOptions &options) override;
    // "-d" + create recipe without folder, through "Zip".
    int Delete(HWND window, const std::string &archiveName, std::string &output,
               const TStringList *files, const std::string &folder,
               const TArchiverOptions &options) override;
    // "-f" + create recipe, through "Zip".
    int Update(HWND window, const std::string &archiveName, std::string &output,
               const TStringList *files, const std::string &folder,
               const TArchiverOptions &options) override;
    // Needs "ZIP32J.DLL" and the head program "sfx32gui.dat" (option gw above 0) or "sfx16.dat"
    // along the search path; writes head + archive as SelfExtractorName(archiveName,
    // folder) and runs "-A <executable>" through "Zip".
    int MakeSFX(HWND window, const std::string &archiveName, std::string &output,
                const std::string &folder, const TArchiverOptions &options) override;
    // "UnZipCheckArchive"(name, mode); flags are not passed.
    int CheckArchive(const std::string &archiveName, int mode, int flags) override;
    // Through "UNZIP32.DLL"; always true once the library was called.
    bool SetOwnerWindow(HWND window, void *callback) override;
    bool KillOwnerWindow(HWND window) override;

private:
    std::string CreateRecipe(const TArchiverOptions &options, const std::string &archiveName,
                             const std::string &folder, const TStringList *files) const;
    int RunZip(HWND window, const std::string &commandLine, std::string &output);
    int PackWithLmzip(HWND window, const std::string &archiveName, std::string &output,
                      const TStringList *files, const TArchiverOptions &options);
};

} // namespace archives
