#include "lha32.h"

#include <initializer_list>
#include <utility>

namespace archives {
namespace {

ArchiverUnit &LhaUnit()
{
    static ArchiverUnit unit("UNLHA32.DLL", "Unlha",
                             "Lha 形式書庫を扱うには UNLHA32.DLL が 必要です。");
    return unit;
}

void AddNumbers(TCmdOpt &cmd, std::initializer_list<std::pair<const char *, int>> numbers)
{
    for (const auto &[name, value] : numbers)
        cmd.AddNumber(name, value);
}

} // namespace

TLha32::TLha32()
    : TBoundArchiver(LhaUnit())
{
}

TLha32::TLha32(ArchiverUnit &unit)
    : TBoundArchiver(unit)
{
}

void TLha32::UnloadDLL()
{
    LhaUnit().FreeDLL();
}

bool TLha32::ProbeArchive(const std::string &name)
{
    return LhaUnit().Probe(name);
}

std::string TLha32::LhaRecipe(const TArchiverOptions &o, const std::string &archiveName,
                              const std::string &folder, const TStringList *files) const
{
    TCmdOpt cmd = NewCmdOpt();
    cmd.Add("-+");
    // While an owner window receives progress, the library's own display stays off.
    const int n = OwnerWindow() != nullptr ? 1 : o.n;
    AddNumbers(cmd, {{"a", o.a},
                     {"c", o.c},
                     {"e", o.e},
                     {"f", o.f},
                     {"h", o.h},
                     {"i", o.i},
                     {"l", o.l},
                     {"m", o.m},
                     {"n", n},
                     {"o", o.o},
                     {"p", o.p},
                     {"r", o.r},
                     {"s", o.s},
                     {"t", o.t},
                     {"u", o.u}});
    cmd.AddDir("w", o.w);
    AddNumbers(cmd, {{"x", o.x},
                     {"y", o.y},
                     {"z", o.z},
                     {"jc", o.jc},
                     {"jd", o.jd},
                     {"je", o.je},
                     {"jf", o.jf},
                     {"jh", o.jh},
                     {"ji", o.ji},
                     {"jm", o.jm},
                     {"jn", o.jn}});
    cmd.AddString("jo", o.jo);
    cmd.AddString("job", o.job);
    AddNumbers(cmd, {{"jp", o.jp}, {"jr", o.jr}, {"jss", o.jss}, {"jw", o.jw}});
    cmd.AddList("jx", o.jx);
    AddNumbers(cmd,
               {{"jyc", o.jyc}, {"jyd", o.jyd}, {"jyk", o.jyk}, {"jyn", o.jyn}, {"jyo", o.jyo}});
    cmd.AddString("jz", o.jz);
    AddNumbers(cmd, {{"ga", o.ga},
                     {"gd", o.gd},
                     {"ge", o.ge},
                     {"gf", o.gf},
                     {"gj", o.gj},
                     {"gm", o.gm},
                     {"gn", o.gn},
                     {"go", o.go},
                     {"gp", o.gp}});
    cmd.AddString("gr", o.gr);
    AddNumbers(cmd, {{"gs", o.gs}, {"gu", o.gu}, {"gw", o.gw}});
    AddArchiveAndFiles(cmd, o, archiveName, folder, files);
    return cmd.Text();
}

int TLha32::Extract(HWND window, const std::string &archiveName, std::string &output,
                    const TStringList *files, const std::string &folder,
                    const TArchiverOptions &options)
{
    return RunCommand(Unit(), window, "x" + LhaRecipe(options, archiveName, folder, files), output);
}

int TLha32::Pack(HWND window, const std::string &archiveName, std::string &output,
                 const TStringList *files, const std::string &folder,
                 const TArchiverOptions &options)
{
    return RunCommand(LhaUnit(), window, "u" + LhaRecipe(options, archiveName, folder, files),
                      output);
}

int TLha32::Delete(HWND window, const std::string &archiveName, std::string &output,
                   const TStringList *files, const std::string &, const TArchiverOptions &options)
{
    return RunCommand(LhaUnit(), window, "d" + LhaRecipe(options, archiveName, "", files), output);
}

int TLha32::Update(HWND window, const std::string &archiveName, std::string &output,
                   const TStringList *files, const std::string &folder,
                   const TArchiverOptions &options)
{
    return RunCommand(LhaUnit(), window, "f" + LhaRecipe(options, archiveName, folder, files),
                      output);
}

int TLha32::MakeSFX(HWND window, const std::string &archiveName, std::string &output,
                    const std::string &folder, const TArchiverOptions &options)
{
    return RunCommand(LhaUnit(), window, "s" + LhaRecipe(options, archiveName, folder, nullptr),
                      output);
}

} // namespace archives
