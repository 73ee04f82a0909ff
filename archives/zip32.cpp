#include "zip32.h"

#include "earchiver.h"
#include "fullpath.h"
#include "selfextractor.h"
#include "setaside.h"
#include "zip32unit.h"

namespace archives {
namespace {

ZipUnit &Unit()
{
    return ZipUnit::Instance();
}

} // namespace

TZip32::TZip32()
    : TArchiver('/')
{
    Unit().LoadDLL();
}

void TZip32::UnloadDLL()
{
    Unit().FreeDLL();
}

bool TZip32::ProbeArchive(const std::string &name)
{
    return Unit().Probe(name);
}

void TZip32::LoadDLL()
{
    Unit().LoadDLL();
}

void TZip32::FreeDLL()
{
    Unit().FreeDLL();
}

HARC TZip32::OpenArchive(HWND window, const std::string &archiveName, std::uint32_t mode)
{
    return Unit().OpenArchive(window, ExpandFileName(archiveName), mode);
}

int TZip32::FindFirst(HARC handle, INDIVIDUALINFO &info, const std::string &wildcard)
{
    return Unit().FindFirst(handle, wildcard, info);
}

int TZip32::FindNext(HARC handle, INDIVIDUALINFO &info)
{
    return Unit().FindNext(handle, info);
}

int TZip32::CloseArchive(HARC handle)
{
    return Unit().CloseArchive(handle);
}

int TZip32::Extract(HWND window, const std::string &archiveName, std::string &output,
                    const TStringList *files, const std::string &folder, const TArchiverOptions &o)
{
    TCmdOpt cmd = NewCmdOpt();
    if (o.c == 1)
        cmd.Add("-o");
    if (o.n > 0 || OwnerWindow() != nullptr)
        cmd.Add("--i");
    if (o.x == 0)
        cmd.Add("-j");
    AddArchiveAndFiles(cmd, o, archiveName, folder, files);
    SetCommandLine("-x" + cmd.Text());
    return Unit().UnZip(window, CommandLine(), output);
}

std::string TZip32::CreateRecipe(const TArchiverOptions &o, const std::string &archiveName,
                                 const std::string &folder, const TStringList *files) const
{
    TCmdOpt cmd = NewCmdOpt();
    if (o.a > 0)
        cmd.Add("-S");
    if (o.a < 2)
        cmd.Add("-D");
    if (o.l > 0)
        cmd.Add("-v");
    if (o.n > 0)
        cmd.Add("-q");
    if (o.r > 0)
        cmd.Add("-r");
    if (o.n > 0)
        cmd.Add("-o");
    if (o.u > 0)
        cmd.Add("-u");
    if (o.x == 0)
        cmd.Add("-j");
    if (o.jc > 0)
        cmd.Add("-FF");
    if (o.ji > 0)
        cmd.Add("-k");
    cmd.AddNumber("", o.jm);
    if (o.gd > 0)
        cmd.Add("-J");
    AddArchiveAndFiles(cmd, o, archiveName, folder, files);
    return cmd.Text();
}

int TZip32::RunZip(HWND window, const std::string &commandLine, std::string &output)
{
    SetCommandLine(commandLine);
    return Unit().Zip(window, CommandLine(), output);
}

int TZip32::Pack(HWND window, const std::string &archiveName, std::string &output,
                 const TStringList *files, const std::string &folder,
                 const TArchiverOptions &options)
{
    if (Unit().Zip32jLoaded())
        return RunZip(window, CreateRecipe(options, archiveName, folder, files), output);
    if (Unit().Lmzip32Loaded())
        return PackWithLmzip(window, archiveName, output, files, options);
    throw EArchiver("ZIP 形式書庫の作成には ZIP32J.DLL または LMZIP32.DLL が必要です。");
}

int TZip32::PackWithLmzip(HWND window, const std::string &archiveName, std::string &output,
                          const TStringList *files, const TArchiverOptions &o)
{
    TCmdOpt cmd = NewCmdOpt();
    if (o.c == 1)
        cmd.Add("-o");
    if (o.x == 0)
        cmd.Add("-j");
    AddArchiveAndFiles(cmd, o, archiveName, "", files);
    SetCommandLine("-ru" + cmd.Text());
    // The library builds the archive afresh; the old one is kept until it has succeeded.
    SetAside existing(archiveName);
    const int result = Unit().Zip(window, CommandLine(), output);
    if (result == 0)
        existing.Commit();
    return result;
}

int TZip32::Delete(HWND window, const std::string &archiveName, std::string &output,
                   const TStringList *files, const std::string &, const TArchiverOptions &options)
{
    return RunZip(window, "-d" + CreateRecipe(options, archiveName, "", files), output);
}

int TZip32::Update(HWND window, const std::string &archiveName, std::string &output,
                   const TStringList *files, const std::string &folder,
                   const TArchiverOptions &options)
{
    return RunZip(window, "-f" + CreateRecipe(options, archiveName, folder, files), output);
}

int TZip32::MakeSFX(HWND window, const std::string &archiveName, std::string &output,
                    const std::string &folder, const TArchiverOptions &options)
{
    if (!Unit().Zip32jLoaded())
        throw EArchiver("ZIP 形式書庫からの自己解凍書庫作成には ZIP32J.DLL が必要です。");
    const bool win32 = options.gw > 0;
    const std::string head = SearchFilePath(win32 ? "sfx32gui.dat" : "sfx16.dat");
    if (head.empty())
        throw EArchiver(win32
                            ? "zip 書庫からのWin32自己解凍書庫の作成には sfx32gui.dat が必要です。"
                            : "zip 書庫からのDOS自己解凍書庫の作成には sfx16.dat が必要です。");
    const std::string executable = WriteSelfExtractor(head, archiveName, folder);
    return RunZip(window, "-A " + executable, output);
}

int TZip32::CheckArchive(const std::string &archiveName, int mode, int)
{
    return Unit().CheckArchive(archiveName, mode);
}

bool TZip32::SetOwnerWindow(HWND window, void *callback)
{
    Unit().SetOwnerWindowEx(window, callback);
    SetOwnerWindowHandle(window);
    return true;
}

bool TZip32::KillOwnerWindow(HWND window)
{
    Unit().KillOwnerWindowEx(window);
    SetOwnerWindowHandle(nullptr);
    return true;
}

} // namespace archives
