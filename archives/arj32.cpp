#include "arj32.h"

namespace archives {
namespace {

ArchiverUnit &ArjUnit()
{
    static ArchiverUnit unit("UNARJ32J.DLL", "Unarj",
                             "ARJ 形式書庫を扱うには UNARJ32J.DLL が 必要です。");
    return unit;
}

} // namespace

TArj32::TArj32()
    : TLha32(ArjUnit())
{
}

void TArj32::UnloadDLL()
{
    ArjUnit().FreeDLL();
}

bool TArj32::ProbeArchive(const std::string &name)
{
    return ArjUnit().Probe(name);
}

int TArj32::Extract(HWND, const std::string &archiveName, std::string &output,
                    const TStringList *files, const std::string &folder,
                    const TArchiverOptions &options)
{
    return TLha32::Extract(nullptr, archiveName, output, files, folder, options);
}

} // namespace archives
