#include "cab32.h"

#include "fullpath.h"

namespace archives {
namespace {

ArchiverUnit &CabUnit()
{
    static ArchiverUnit unit("CAB32.DLL", "Cab", "CAB 形式書庫を扱うには CAB32.DLL が 必要です。");
    return unit;
}

} // namespace

TCab32::TCab32()
    : TBoundArchiver(CabUnit())
{
}

void TCab32::UnloadDLL()
{
    CabUnit().FreeDLL();
}

bool TCab32::ProbeArchive(const std::string &name)
{
    return CabUnit().Probe(name);
}

std::string TCab32::CabRecipe(const TArchiverOptions &o, const std::string &archiveName,
                              const std::string &folder, const TStringList *files) const
{
    TCmdOpt cmd = NewCmdOpt();
    if (o.c == 1)
        cmd.Add("-o");
    if (o.n > 0 || OwnerWindow() != nullptr)
        cmd.Add("-i");
    if (o.r > 0)
        cmd.Add("-r");
    if (o.x == 0)
        cmd.Add("-j");
    AddArchiveAndFiles(cmd, o, archiveName, folder, files);
    return cmd.Text();
}

int TCab32::Extract(HWND window, const std::string &archiveName, std::string &output,
                    const TStringList *files, const std::string &folder,
                    const TArchiverOptions &options)
{
    const std::string recipe = CabRecipe(options, ExpandFileName(archiveName), folder, files);
    return RunCommand(CabUnit(), window, "-x" + recipe, output);
}

int TCab32::Pack(HWND window, const std::string &archiveName, std::string &output,
                 const TStringList *files, const std::string &folder,
                 const TArchiverOptions &options)
{
    return RunCommand(CabUnit(), window, "-a" + CabRecipe(options, archiveName, folder, files),
                      output);
}

int TCab32::MakeSFX(HWND window, const std::string &archiveName, std::string &output,
                    const std::string &folder, const TArchiverOptions &options)
{
    return RunCommand(CabUnit(), window, "-f" + CabRecipe(options, archiveName, folder, nullptr),
                      output);
}

} // namespace archives
