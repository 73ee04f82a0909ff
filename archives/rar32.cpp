#include "rar32.h"

namespace archives {
namespace {

ArchiverUnit &RarUnit()
{
    static ArchiverUnit unit("UNRAR32.DLL", "Unrar",
                             "この機能の使用には UNRAR32.DLL が 必要です。");
    return unit;
}

} // namespace

TRar32::TRar32()
    : TBoundArchiver(RarUnit())
{
}

void TRar32::UnloadDLL()
{
    RarUnit().FreeDLL();
}

bool TRar32::ProbeArchive(const std::string &name)
{
    return RarUnit().Probe(name);
}

int TRar32::Extract(HWND window, const std::string &archiveName, std::string &output,
                    const TStringList *files, const std::string &folder, const TArchiverOptions &o)
{
    TCmdOpt cmd = NewCmdOpt();
    if (o.c < 1)
        cmd.Add("-u");
    if (o.m > 0)
        cmd.Add("-y");
    if (o.p > 0)
        cmd.Add("-s");
    AddArchiveAndFiles(cmd, o, archiveName, folder, files);
    const std::string command = o.x == 0 ? "-e" : "-x";
    return RunCommand(RarUnit(), window, command + cmd.Text(), output);
}

} // namespace archives
