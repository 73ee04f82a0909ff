#include "tar32.h"

#include "arcwindow.h"
#include "earchiver.h"
#include "fullpath.h"
#include "selfextractor.h"

namespace archives {
namespace {

ArchiverUnit &TarUnit()
{
    static ArchiverUnit unit("tar32.dll", "Tar",
                             "tar/tgz/taz/bz2 形式書庫を扱うには tar32.dll が 必要です。");
    return unit;
}

TArchiverType TypeOfTarArchive(int type)
{
    if (type == 1)
        return TArchiverType::atTar;
    if (type >= 2 && type <= 5)
        return TArchiverType::atTgz;
    if (type == 6 || type == 7)
        return TArchiverType::atBZ2;
    return TArchiverType::atNone;
}

} // namespace

TTar32::TTar32()
    : TBoundArchiver(TarUnit())
{
}

void TTar32::UnloadDLL()
{
    TarUnit().FreeDLL();
}

TArchiverType TTar32::ProbeArchive(const std::string &name)
{
    try {
        return TypeOfTarArchive(TarUnit().GetArchiveType(name));
    } catch (...) {
        return TArchiverType::atNone;
    }
}

std::string TTar32::TarRecipe(const TArchiverOptions &o, const std::string &archiveName,
                              const std::string &folder, const TStringList *files) const
{
    TCmdOpt cmd = NewCmdOpt();
    if (o.a > 0)
        cmd.Add("-AH");
    if (o.a == 0)
        cmd.Add("-I");
    if (OwnerWindow() == nullptr && o.n > 0)
        cmd.Add("--display-dialog=0");
    if (o.o > 0)
        cmd.Add("-g");
    cmd.AddNumber("-check-all-path=", o.p);
    cmd.AddNumber("-use-directory=", o.x);
    if (dynamic_cast<const TTgz32 *>(this) != nullptr) {
        if (o.jm > 0)
            cmd.AddNumber("z", o.jm);
        else
            cmd.Add("-z");
    } else if (dynamic_cast<const TBZ232 *>(this) != nullptr) {
        if (o.jm > 0)
            cmd.AddNumber("B", o.jm);
        else
            cmd.Add("-B");
    }
    cmd.Add(o.UserOptions);
    if (!archiveName.empty()) {
        cmd.Add("-f");
        cmd.AddPath("", archiveName);
    }
    if (!folder.empty()) {
        cmd.Add("-o");
        cmd.AddDir("", folder);
    }
    if (files != nullptr)
        cmd.AddList("", *files);
    cmd.Add(o.UserFileList);
    return cmd.Text();
}

int TTar32::RunTarCommand(HWND window, const std::string &commandLine, std::string &output)
{
    const int result = RunCommand(TarUnit(), window, commandLine, output);
    if (window != nullptr)
        SetForegroundWindow(window);
    return result;
}

int TTar32::Extract(HWND window, const std::string &archiveName, std::string &output,
                    const TStringList *files, const std::string &folder,
                    const TArchiverOptions &options)
{
    return RunTarCommand(window, "x" + TarRecipe(options, archiveName, folder, files), output);
}

int TTar32::Pack(HWND window, const std::string &archiveName, std::string &output,
                 const TStringList *files, const std::string &folder,
                 const TArchiverOptions &options)
{
    return RunTarCommand(window, "c" + TarRecipe(options, archiveName, folder, files), output);
}

int TTar32::MakeSFX(HWND, const std::string &archiveName, std::string &, const std::string &folder,
                    const TArchiverOptions &)
{
    if (dynamic_cast<const TBZ232 *>(this) != nullptr)
        throw EArchiver("BZ2 形式書庫は自己解凍形式にできません。");
    const std::string head = SearchFilePath("kmtarsef.exe");
    if (head.empty())
        throw EArchiver("tar/tgz 書庫からの自己解凍書庫の作成には kmtarsef.exe が必要です。");
    WriteSelfExtractor(head, archiveName, folder);
    return 0;
}

} // namespace archives
